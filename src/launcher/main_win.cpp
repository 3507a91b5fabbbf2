// The process entry point: one Launcher, three phases, and their result as the exit code. The console launcher's
// C runtime comes here too, through its wmain.
#include "Launcher.h"
#include "support/TextFormat.h"
#include "support/Trace.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    startTrace();
    Launcher launcher;
    // Every conversion to 8-bit text uses the thread's code page; fix it to the system default.
    SetThreadLocale(GetSystemDefaultLCID());
    int32_t result = initialize(launcher) ? run(launcher) : -1;
    shutdown(launcher);
    trace([&] { return L"end: exit code " + decimalText(result); });
    return result;
}
