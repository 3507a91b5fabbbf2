// Helper of the JNI tests for what ends, blocks or redirects a process:
//   koru_jni_child start OPTIONS CLASS FLAGS [ARGUMENT...]
// A start as the launcher makes it: the VM created (with the options, separated by ",") on a thread that redirects
// the standard streams and then runs invokeMain, and destroyed from the first thread once that one has detached.
// Exits with 0, or 255 when the start failed. "-" stands for no options or no flags. The options "out=FILE" and
// "err=FILE" are the redirection's files rather than VM options; the others are words of "Virtual Machine
// Parameters". CLASS may also be "m:" and a "Main Module" setting (its class with slashes). The flags: f "Failure
// Check", s the exception dialog answers Stop, k keep-alive, o one more argument too large for a heap of a few MiB. The
// messages and the dialog are printed instead: "message FAILURE NAME", "dialog TRACE", and an aborted creation
// "aborted: [TEXT]" (" in the boot layer" after "aborted" when the VM's text tells so) with the VM's text on one line
// ("|" for line ends). The option "publish=WRITTEN>ARCHIVE" renames the archive the VM writes when the VM has
// finished, as the launcher does, and prints "published SIZE".
#include "JvmSupport.h"

#include "jvm/JavaCommandLine.h"
#include "jvm/JavaMain.h"
#include "jvm/JavaStreams.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

namespace {

struct PrintingHost final : MainThreadHost {
    void reportMainLookupFailure(MainLookup failure, const std::wstring& name) override {
        std::printf("message %d %ls\n", int(failure), name.c_str());
    }
    bool stopAfterException(const std::wstring& trace) override {
        std::printf("dialog %ls", trace.c_str());
        return stop;
    }
    [[noreturn]] void waitForever() override {
        for (;;)
            std::this_thread::sleep_for(std::chrono::hours(24));
    }
    bool stop = false;
};

// As the launcher reports an aborted creation, with the VM's text on one line, then the start's failure.
void reportAbort(const std::string& printed) {
    std::string text = printed;
    std::replace(text.begin(), text.end(), '\n', '|');
    std::printf("aborted%s: [%s]\n", abortedInBootLayer(printed) ? " in the boot layer" : "", text.c_str());
    std::_Exit(255);
}

std::string written;
std::string archive;

void publish() {
    std::rename(written.c_str(), archive.c_str());
    std::error_code error;
    std::printf("published %lld\n", static_cast<long long>(std::filesystem::file_size(archive, error)));
}

struct Start {
    std::vector<std::string> options{"-Xcheck:jni"};
    std::wstring outputFile;
    std::wstring errorFile;
};

Start startOptions(const std::string& text) {
    Start start;
    StringList words;
    for (size_t begin = 0, end = 0; text != "-" && begin < text.size(); begin = end + 1) {
        end = std::min(text.find(',', begin), text.size());
        std::string option = text.substr(begin, end - begin);
        if (option.compare(0, 8, "publish=") == 0) {
            written = option.substr(8, option.find('>') - 8);
            archive = option.substr(option.find('>') + 1);
            setVmEndHandlers({publish, nullptr});
        } else if (option.compare(0, 4, "out=") == 0 || option.compare(0, 4, "err=") == 0)
            (option[0] == 'o' ? start.outputFile : start.errorFile) = widen(option.substr(4));
        else
            words.push_back(widen(option));
    }
    for (const std::wstring& option : sortVmParameters(words).options)
        start.options.emplace_back(option.begin(), option.end());
    return start;
}

int runStart(const std::vector<std::string>& arguments) {
    auto has = [&flags = arguments[2]](char flag) { return flags.find(flag) != std::string::npos; };
    Start start = startOptions(arguments[0]);
    JavaMain java;
    java.mainClass = widen(arguments[1]);
    if (arguments[1].compare(0, 2, "m:") == 0) {
        MainModule mainModule = parseMainModule(java.mainClass.substr(2));
        java.mainModule = mainModule.module;
        java.mainClass = mainModule.mainClass;
    }
    for (size_t i = 3; i < arguments.size(); ++i)
        java.appArguments.push_back(widen(arguments[i]));
    if (has('o'))
        java.appArguments.emplace_back(size_t(8) << 20, L'x');
    java.failureCheck = has('f');
    java.keepAlive = has('k');
    PrintingHost host;
    host.stop = has('s');
    bool succeeded = false;
    std::thread javaMain([&] {
        if (createTestVm(start.options, &java.javaVm, &java.jniEnv, reportAbort) != JNI_OK)
            return;
        java.javaMainThreadAttached = true;
        redirectStandardStreams(java.jniEnv, start.outputFile, start.errorFile);
        succeeded = invokeMain(java, host);
    });
    javaMain.join();
    destroyJavaVm(java);
    return succeeded ? 0 : 255;
}

} // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.size() < 4 || arguments[0] != "start")
        return 101;
    return runStart({arguments.begin() + 1, arguments.end()});
}
