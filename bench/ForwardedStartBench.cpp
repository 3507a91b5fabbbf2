// How long a later start of a single-instance application takes from its process start to its exit with the
// running instance's reply (stand-in runtime, int form of secondaryMain), beside an empty GUI program started and
// ended the same way, and beside another build of the launcher when one is given. Prints medians over repeated runs.
// Usage: forwarded_start_bench.exe [runs] [other koru.exe]
#include "StandInRecord.h"
#include "TestFiles.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
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
    // The other build, when given, gets an installation and a first instance of its own.
    std::vector<std::unique_ptr<StandInLaunch>> launches;
    std::vector<std::unique_ptr<TestProcess>> firsts;
    for (int i = 0; i < (argc > 2 ? 2 : 1); ++i) {
        launches.push_back(std::make_unique<StandInLaunch>(L"main=sleep:600000;secondary=7"));
        launches.back()->app().set(L"Application", L"Single Instance", L"yes");
        if (i == 1 && !CopyFileW(argv[2], launches.back()->app().exePath().c_str(), FALSE)) {
            printf("cannot copy the other launcher\n");
            return 1;
        }
        firsts.push_back(launches.back()->start());
        if (!waitForMain(*launches.back())) {
            printf("the first instance never reached main\n");
            return 1;
        }
    }

    // The two are taken in turn, so that a change in the machine's load touches both alike.
    std::wstring empty = testProgramFolder() + L"\\empty_gui.exe";
    std::vector<double> baseline;
    std::vector<std::vector<double>> forwarded(launches.size());
    for (int i = 0; i <= runs; ++i) {
        double plain = timeToExit(empty, quoted(empty) + L" --queue", 0);
        std::vector<double> later;
        for (const auto& launch : launches) {
            std::wstring exe = launch->app().exePath();
            later.push_back(timeToExit(exe, quoted(exe) + L" document.txt", 7));
        }
        if (i > 0) { // the first round warms the file cache
            baseline.push_back(plain);
            for (size_t j = 0; j < later.size(); ++j)
                forwarded[j].push_back(later[j]);
        }
    }
    double plainMedian = median(baseline);
    double laterMedian = median(forwarded[0]);
    printf("runs per figure: %d (medians)\n", runs);
    printf("empty GUI program, start to exit:              %8.2f ms\n", plainMedian);
    printf("later start, start to exit with the reply:     %8.2f ms\n", laterMedian);
    printf("ratio later start / empty program:             %8.2f\n", plainMedian > 0 ? laterMedian / plainMedian : 0.0);
    if (launches.size() > 1) {
        double otherMedian = median(forwarded[1]);
        printf("the other launcher's later start:              %8.2f ms\n", otherMedian);
        printf("ratio this launcher / the other:               %8.2f\n",
               otherMedian > 0 ? laterMedian / otherMedian : 0.0);
        // Each round's two starts are made one after the other: their ratio is the least disturbed by load.
        std::vector<double> ratios;
        for (size_t i = 0; i < forwarded[0].size(); ++i)
            ratios.push_back(forwarded[1][i] > 0 ? forwarded[0][i] / forwarded[1][i] : 0.0);
        printf("the same, median of each round's ratio:        %8.2f\n", median(ratios));
    }
    return 0;
}
