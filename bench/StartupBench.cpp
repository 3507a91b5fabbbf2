// How long the launcher takes to start an application whose main returns at once (with the stand-in runtime),
// beside two floors started the same way: an empty GUI program, and a bare JNI host that loads the same runtime,
// creates the VM with the same options on a thread, calls main with the same arguments and destroys the VM; and the
// launcher once more with its trace on (KORU_TRACE).
// Each figure is taken twice: to the call of main, and to the end of the process. The programs take turns run by
// run, so that whatever else the machine does falls on all of them alike; medians and quartiles are printed.
// Last, the class path wildcard over a folder of 5,000 jars.
#include "Installation.h"
#include "RuntimeFixtures.h"
#include "StandInRecord.h"
#include "TestFiles.h"
#include "TestProcess.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

unsigned long long preciseNow() {
    FILETIME now;
    GetSystemTimePreciseAsFileTime(&now);
    return (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

unsigned long long stampIn(const std::wstring& file) {
    std::string text = readBytes(file);
    size_t at = text.find("main.time=");
    return at == std::string::npos ? 0 : std::stoull(text.substr(at + 10));
}

struct Program {
    const char* name;
    std::wstring path;
    std::wstring commandLine;
    std::vector<double> toMain; // ms from just before CreateProcessW to the stamp at main
    std::vector<double> toEnd;  // ms to the end of the process
    std::wstring tracePath;     // KORU_TRACE for this program's starts; empty for none
};

void runOnce(Program& program, const std::wstring& stampFile, bool keep) {
    DeleteFileW(stampFile.c_str());
    ScopedEnvironment trace(L"KORU_TRACE", program.tracePath);
    unsigned long long start = preciseNow();
    TestProcess process(program.path, program.commandLine);
    if (!process.waitForExit(30000) || process.exitCode() != 0) {
        std::printf("%s did not run to its end\n", program.name);
        return;
    }
    unsigned long long end = preciseNow();
    unsigned long long stamp = stampIn(stampFile);
    if (!keep || stamp <= start)
        return;
    program.toMain.push_back((stamp - start) / 10000.0);
    program.toEnd.push_back((end - start) / 10000.0);
}

double quantile(std::vector<double> values, double q) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[static_cast<size_t>(q * (values.size() - 1) + 0.5)];
}

void printFigures(const Program& program) {
    std::printf("%-34s to main %7.2f ms (quartiles %6.2f-%6.2f)   to end %7.2f ms (quartiles %6.2f-%6.2f)\n",
                program.name, quantile(program.toMain, 0.5), quantile(program.toMain, 0.25),
                quantile(program.toMain, 0.75), quantile(program.toEnd, 0.5), quantile(program.toEnd, 0.25),
                quantile(program.toEnd, 0.75));
}

void printRatio(const char* what, const Program& launcher, const Program& floor) {
    std::printf("ratio launcher / %-16s to main %5.3f   to end %5.3f\n", what,
                quantile(launcher.toMain, 0.5) / quantile(floor.toMain, 0.5),
                quantile(launcher.toEnd, 0.5) / quantile(floor.toEnd, 0.5));
}

// The options the launcher handed the runtime, as the bare host is to hand them too (the hooks it adds itself).
std::wstring recordedOptions(const std::wstring& record) {
    std::wstring options;
    for (const std::string& option : StandInRecord(record).values("option")) {
        if (option == "abort" || option == "exit")
            continue;
        std::wstring text(option.size(), L'\0');
        text.resize(MultiByteToWideChar(CP_UTF8, 0, option.data(), static_cast<int>(option.size()), text.data(),
                                        static_cast<int>(text.size())));
        options += text + L"\n";
    }
    return options;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    int runs = argc > 1 ? _wtoi(argv[1]) : 20;
    TempFolder work;
    std::wstring stamp = work / L"stamp.txt";
    ScopedEnvironment stampVariable(L"KORU_BENCH_STAMP", stamp);
    ScopedEnvironment record(L"KORU_STANDIN_RECORD", stamp);
    ScopedEnvironment script(L"KORU_STANDIN_SCRIPT", L"main=return");

    Installation app(work / L"app", L"bench.exe");
    std::wstring home = work / L"jre";
    std::wstring jvm = installJvmLibrary(home, L"server", standInJvmPath());
    createFolders(app.folder() + L"\\lib");
    writeBytes(app.folder() + L"\\lib\\app.jar", "");
    app.set(L"Java Runtime Environment", L"Main Class", L"bench.Main");
    app.set(L"Java Runtime Environment", L"JRE Path", home);
    app.set(L"Java Runtime Environment", L"Virtual Machine Parameters", L"-Xmx50P -Dx=\"a b\"");
    app.set(L"Class Path", L"Class Path", L"\\lib\\*.jar");

    std::wstring empty = testProgramFolder() + L"\\empty_gui.exe";
    std::wstring host = testProgramFolder() + L"\\bare_jni_host.exe";
    Program programs[] = {
        {"empty GUI program", empty, quoted(empty), {}, {}, L""},
        {"empty GUI program with its queue", empty, quoted(empty) + L" --queue", {}, {}, L""},
        {"bare JNI host", host, quoted(host), {}, {}, L""},
        {"launcher", app.exePath(), quoted(app.exePath()) + L" -nosplash", {}, {}, L""},
        {"launcher with the trace on", app.exePath(), quoted(app.exePath()) + L" -nosplash", {}, {}, work / L"t.log"},
    };
    Program& launcher = programs[3];
    runOnce(launcher, stamp, false);
    ScopedEnvironment hostJvm(L"KORU_BENCH_JVM", jvm);
    ScopedEnvironment hostMain(L"KORU_BENCH_MAIN", L"bench/Main");
    ScopedEnvironment hostOptions(L"KORU_BENCH_OPTIONS", recordedOptions(stamp));
    ScopedEnvironment hostArguments(L"KORU_BENCH_ARGUMENTS", L"-nosplash");

    for (Program& program : programs)
        runOnce(program, stamp, false); // warm the file cache
    for (int i = 0; i < runs; ++i) {
        for (Program& program : programs)
            runOnce(program, stamp, true);
    }

    std::printf("runs per figure: %d (medians, with the quartiles around them)\n", runs);
    for (const Program& program : programs)
        printFigures(program);
    printRatio("bare JNI host", launcher, programs[2]);
    printRatio("empty program", launcher, programs[1]);

    for (int i = 0; i < 5000; ++i)
        writeBytes(app.folder() + L"\\lib\\library-" + std::to_wstring(i) + L".jar", "");
    Program wildcard{"launcher, \\lib\\*.jar over 5,000 jars", launcher.path, launcher.commandLine, {}, {}, L""};
    runOnce(wildcard, stamp, false);
    for (int i = 0; i < runs; ++i)
        runOnce(wildcard, stamp, true);
    printFigures(wildcard);
    return 0;
}
