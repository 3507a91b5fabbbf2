// The process entry point: one Launcher, three phases, and their result as the exit code.
#include "Launcher.h"
#include "support/ExceptionGuard.h"
#include "support/Trace.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    startTrace();
    Launcher launcher;
    // Every conversion to 8-bit text uses the thread's code page; fix it to the system default.
    SetThreadLocale(GetSystemDefaultLCID());
    int32_t result = guardedStep(-1, [&launcher] { return initialize(launcher) ? run(launcher) : -1; });
    guardedStep(0, [&launcher] {
        shutdown(launcher);
        return 0;
    });
    trace([&] { return L"end: exit code " + std::to_wstring(result); });
    return result;
}
