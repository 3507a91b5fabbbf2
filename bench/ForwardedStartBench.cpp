// How long a later start of a single-instance application takes from its process start to its exit with the
// running instance's reply (stand-in runtime, int form of secondaryMain), beside an empty GUI program started and
// ended the same way. Prints medians over repeated runs.
#include "StandInRecord.h"
#include "TestFiles.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// Milliseconds from just before CreateProcessW to the end of the process; -1 when it did not end as expected.
double timeToExit(const std::wstring& program, const std::wstring& commandLine, DWORD expectedCode) {
    auto start = std::chrono::steady_clock::now();
    TestProcess process(program, commandLine);
    if (!process.waitForExit(30000) || process.exitCode() != expectedCode)
        return -1;
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

bool waitForMain(const StandInLaunch& launch) {
    for (int i = 0; i < 300; ++i) {
        if (launch.record().has("main.argc"))
            return true;
        Sleep(100);
    }
    return false;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 20;
    TempFolder work;
    ScopedEnvironment stampVariable(L"KORU_BENCH_STAMP", work / L"stamp.txt");
    StandInLaunch launch(L"main=sleep:600000;secondary=7");
    launch.app().set(L"Application", L"Single Instance", L"yes");
    auto first = launch.start();
    if (!waitForMain(launch)) {
        printf("the first instance never reached main\n");
        return 1;
    }

    // The two are taken in turn, so that a change in the machine's load touches both alike.
    std::wstring empty = testProgramFolder() + L"\\empty_gui.exe";
    std::vector<double> baseline;
    std::vector<double> forwarded;
    for (int i = 0; i <= runs; ++i) {
        double plain = timeToExit(empty, quoted(empty) + L" --queue", 0);
        std::wstring exe = launch.app().exePath();
        double later = timeToExit(exe, quoted(exe) + L" document.txt", 7);
        if (i > 0) { // the first round warms the file cache
            baseline.push_back(plain);
            forwarded.push_back(later);
        }
    }
    double plainMedian = median(baseline);
    double laterMedian = median(forwarded);
    printf("runs per figure: %d (medians)\n", runs);
    printf("empty GUI program, start to exit:              %8.2f ms\n", plainMedian);
    printf("later start, start to exit with the reply:     %8.2f ms\n", laterMedian);
    printf("ratio later start / empty program:             %8.2f\n", plainMedian > 0 ? laterMedian / plainMedian : 0.0);
    return 0;
}
