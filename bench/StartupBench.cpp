// How long the launcher takes from process start to the call of main (with the stand-in runtime), beside the
// time an empty GUI program takes to reach its own code, started the same way; and the class path wildcard over
// a folder of 5,000 jars. Prints medians over repeated runs.
#include "Installation.h"
#include "RuntimeFixtures.h"
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

// Milliseconds from just before CreateProcessW to the stamp the started program wrote.
double timeToStamp(const std::wstring& program, const std::wstring& commandLine, const std::wstring& stampFile) {
    DeleteFileW(stampFile.c_str());
    unsigned long long start = preciseNow();
    TestProcess process(program, commandLine);
    if (!process.waitForExit(30000))
        return -1;
    unsigned long long stamp = stampIn(stampFile);
    return stamp > start ? (stamp - start) / 10000.0 : -1;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

double medianOf(int runs, const std::wstring& program, const std::wstring& commandLine, const std::wstring& stampFile) {
    std::vector<double> times;
    timeToStamp(program, commandLine, stampFile); // warm the file cache
    for (int i = 0; i < runs; ++i)
        times.push_back(timeToStamp(program, commandLine, stampFile));
    return median(times);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    int runs = argc > 1 ? _wtoi(argv[1]) : 20;
    TempFolder work;
    std::wstring stamp = work / L"stamp.txt";
    ScopedEnvironment stampVariable(L"KORU_BENCH_STAMP", stamp);
    ScopedEnvironment record(L"KORU_STANDIN_RECORD", stamp);
    ScopedEnvironment script(L"KORU_STANDIN_SCRIPT", L"main=return");

    std::wstring empty = testProgramFolder() + L"\\empty_gui.exe";
    double bare = medianOf(runs, empty, quoted(empty), stamp);
    double baseline = medianOf(runs, empty, quoted(empty) + L" --queue", stamp);

    Installation app(work / L"app", L"bench.exe");
    std::wstring home = work / L"jre";
    installJvmLibrary(home, L"server", standInJvmPath());
    createFolders(app.folder() + L"\\lib");
    writeBytes(app.folder() + L"\\lib\\app.jar", "");
    app.set(L"Java Runtime Environment", L"Main Class", L"bench.Main");
    app.set(L"Java Runtime Environment", L"JRE Path", home);
    app.set(L"Java Runtime Environment", L"Virtual Machine Parameters", L"-Xmx50P -Dx=\"a b\"");
    app.set(L"Class Path", L"Class Path", L"\\lib\\*.jar");
    std::wstring line = quoted(app.exePath()) + L" -nosplash";
    double launcher = medianOf(runs, app.exePath(), line, stamp);

    for (int i = 0; i < 5000; ++i)
        writeBytes(app.folder() + L"\\lib\\library-" + std::to_wstring(i) + L".jar", "");
    double wildcard = medianOf(runs, app.exePath(), line, stamp);

    printf("runs per figure: %d (medians)\n", runs);
    printf("empty GUI program, start to its code:          %8.2f ms\n", bare);
    printf("  the same with its message queue:             %8.2f ms\n", baseline);
    printf("launcher, start to main (stand-in runtime):    %8.2f ms\n", launcher);
    printf("ratio launcher / empty program with queue:     %8.2f\n", baseline > 0 ? launcher / baseline : 0.0);
    printf("ratio launcher / bare empty program:           %8.2f\n", bare > 0 ? launcher / bare : 0.0);
    printf("launcher with \\lib\\*.jar over 5,000 jars:      %8.2f ms (%+.2f ms for the wildcard)\n", wildcard,
           wildcard - launcher);
    return 0;
}
