#include "Companion.h"

#include "support/Trace.h"

// A companion that cannot be started is a failed start (-1), whether or not its exit code was asked for:
// reporting success for a launch that never happened would hide the failure from whoever started us.
uint32_t startCompanion(const Launcher& launcher) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(launcher.pairProduct.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info)) {
        DWORD error = GetLastError();
        trace([&] { return L"companion: " + launcher.pairProduct + L" not started, error " + std::to_wstring(error); });
        return static_cast<uint32_t>(-1);
    }
    trace([&] { return L"companion: started " + launcher.pairProduct; });
    UniqueHandle process(info.hProcess);
    UniqueHandle thread(info.hThread);
    if (!launcher.pairReturnCode)
        return 0;
    DWORD exitCode = 0;
    WaitForSingleObject(process.get(), INFINITE);
    GetExitCodeProcess(process.get(), &exitCode);
    return exitCode;
}
