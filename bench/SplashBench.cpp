// How long from process start until the launcher's splash window is on screen (stand-in runtime, a 300 × 200
// BMP), beside an empty GUI program that shows a window of the same size, started and watched the same way.
// Prints medians over repeated runs.
#include "Installation.h"
#include "RuntimeFixtures.h"
#include "TestFiles.h"
#include "TestImages.h"
#include "TestProcess.h"
#include "UiAutomation.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

double preciseMilliseconds() {
    FILETIME now;
    GetSystemTimePreciseAsFileTime(&now);
    return static_cast<double>((static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime) /
           10000.0;
}

// Milliseconds from just before CreateProcessW until a visible window of the class belongs to the process; the
// process is ended once it is seen.
double timeToWindow(const std::wstring& program, const std::wstring& commandLine, const std::wstring& className) {
    double start = preciseMilliseconds();
    TestProcess process(program, commandLine);
    while (process.exitCode() == STILL_ACTIVE && preciseMilliseconds() - start < 10000) {
        if (waitForWindow(process.id(), className.c_str(), 0))
            return preciseMilliseconds() - start;
        Sleep(1);
    }
    return -1;
}

struct Program {
    std::wstring path;
    std::wstring commandLine;
    std::wstring className;
    std::vector<double> times;
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// The programs take turns, so that whatever else the machine does weighs on both alike.
void measureInTurns(int runs, std::vector<Program>& programs) {
    for (Program& program : programs)
        timeToWindow(program.path, program.commandLine, program.className); // warm the file cache
    for (int i = 0; i < runs; ++i)
        for (Program& program : programs)
            program.times.push_back(timeToWindow(program.path, program.commandLine, program.className));
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    int runs = argc > 1 ? _wtoi(argv[1]) : 20;
    TempFolder work;
    ScopedEnvironment script(L"KORU_STANDIN_SCRIPT", L"main=sleep:20000");

    Installation app(work / L"app", L"bench.exe");
    std::wstring home = work / L"jre";
    installJvmLibrary(home, L"server", standInJvmPath());
    writeBytes(app.file(L"splash.bmp"), bmpFile(opaqueTestImage(300, 200)));
    app.set(L"Java Runtime Environment", L"Main Class", L"bench.Main");
    app.set(L"Java Runtime Environment", L"JRE Path", home);
    app.set(L"Class Path", L"Class Path", L"C:\\app.jar");
    app.set(L"Display", L"Splash Screen", app.file(L"splash.bmp"));
    std::wstring empty = testProgramFolder() + L"\\empty_gui.exe";
    std::vector<Program> programs = {
        {empty, quoted(empty) + L" --window=300x200", L"EmptyGuiWindow", {}},
        {app.exePath(), quoted(app.exePath()), L"SplashScreenWindow", {}},
    };
    measureInTurns(runs, programs);
    double baseline = median(programs[0].times);
    double launcher = median(programs[1].times);

    printf("runs per figure: %d (medians)\n", runs);
    printf("empty GUI program, start to its 300x200 window:   %8.2f ms\n", baseline);
    printf("launcher, start to its 300x200 splash window:     %8.2f ms\n", launcher);
    printf("launcher's own work before the splash shows:      %+8.2f ms\n", launcher - baseline);
    printf("ratio launcher / empty program:                   %8.2f\n", baseline > 0 ? launcher / baseline : 0.0);
    return 0;
}
