// Helper of the JNI tests for what ends, blocks or redirects a process:
//   koru_jni_child start OPTIONS CLASS FLAGS [ARGUMENT...]
//       a start as the launcher makes it: the VM created (with the options, separated by ",") on a thread that then
//       runs invokeMain, and destroyed from the first thread once that one has detached. Exits with 0, or 255 when
//       the start failed. "-" stands for no options or no flags; the flags: f "Failure Check", s the exception
//       dialog answers Stop, k keep-alive, o one more argument too large for a heap of a few MiB. The messages and
//       the dialog are printed instead: "message CLASS", "dialog TRACE", and an aborted creation "aborted: [TEXT]"
//       with the VM's text on one line ("|" for line ends).
//   koru_jni_child redirect OUT ERR    both streams redirected, then "out " and "err " printed twice; exits with 0
#include "JvmSupport.h"

#include "jvm/JavaMain.h"
#include "jvm/JavaStreams.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <thread>

namespace {

// Exit statuses that tell the test the child came back where it should not have.
constexpr int cameBack = 100;
constexpr int setupFailed = 101;

struct PrintingHost final : MainThreadHost {
    void reportMainLookupFailure(MainLookup, const std::wstring& className) override {
        std::printf("message %ls\n", className.c_str());
    }
    bool stopAfterException(const std::wstring& trace) override {
        std::printf("dialog %ls", trace.c_str());
        return stop;
    }
    bool stop = false;
};

// As the launcher reports an aborted creation, with the VM's text on one line, then the start's failure.
void reportAbort(const std::string& printed) {
    std::string text = printed;
    std::replace(text.begin(), text.end(), '\n', '|');
    std::printf("aborted: [%s]\n", text.c_str());
    std::_Exit(255);
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> pieces;
    std::istringstream stream(text);
    for (std::string piece; std::getline(stream, piece, separator);)
        pieces.push_back(piece);
    return pieces;
}

int runStart(const std::vector<std::string>& arguments) {
    auto has = [&flags = arguments[2]](char flag) { return flags.find(flag) != std::string::npos; };
    JavaMain java;
    java.mainClass = widen(arguments[1]);
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
        std::vector<std::string> options = arguments[0] == "-" ? std::vector<std::string>() : split(arguments[0], ',');
        options.push_back("-Xcheck:jni");
        if (createTestVm(options, &java.javaVm, &java.jniEnv, reportAbort) != JNI_OK)
            return;
        java.javaMainThreadAttached = true;
        succeeded = invokeMain(java, host);
    });
    javaMain.join();
    if (java.javaVm != nullptr && !java.javaMainThreadAttached)
        java.javaVm->DestroyJavaVM();
    return succeeded ? 0 : 255;
}

int runApp(JNIEnv* env, const std::vector<std::wstring>& arguments) {
    MainMethod main;
    if (findMainMethod(env, L"koru/test/App", main) != MainLookup::Found)
        return setupFailed;
    jthrowable exception = nullptr;
    return callMain(env, main, arguments, nullptr, exception) == MainOutcome::Returned ? 0 : cameBack;
}

int runRedirected(const std::string& output, const std::string& error) {
    JavaVM* vm = nullptr;
    JNIEnv* env = nullptr;
    if (createTestVm({"-Xcheck:jni"}, &vm, &env) != JNI_OK)
        return setupFailed;
    redirectStandardStreams(env, widen(output), widen(error));
    if (env->ExceptionCheck())
        return cameBack;
    return runApp(env, {L"print", L"out ", L"err "}) + runApp(env, {L"print", L"out ", L"err "});
}

} // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.size() >= 4 && arguments[0] == "start")
        return runStart({arguments.begin() + 1, arguments.end()});
    if (arguments.size() == 3 && arguments[0] == "redirect")
        return runRedirected(arguments[1], arguments[2]);
    return setupFailed;
}
