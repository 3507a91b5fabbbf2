#include "Companion.h"

#include "support/Console.h"
#include "support/Environment.h"
#include "support/ModulePath.h"
#include "support/TextFormat.h"
#include "support/Trace.h"

namespace {

// The companion shares the console and gets Ctrl+C and Ctrl+Break as well: it decides how it ends, and the launcher
// waits for it to pass its exit code on.
BOOL WINAPI leaveBreaksToCompanion(DWORD event) { return event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT; }

// Set for the companion by the launcher that starts it. A started companion never hands the start on: two launchers
// whose settings send each one's runtime to the other (a "JRE Path" of the other width in each) would otherwise
// start each other in turn for ever.
constexpr const wchar_t* handOffVariable = L"KORU_HANDED_OFF_BY";

} // namespace

// A companion that cannot be started is a failed start (-1), whether or not its exit code was asked for:
// reporting success for a launch that never happened would hide the failure from whoever started us.
uint32_t startCompanion(const Launcher& launcher) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    SetEnvironmentVariableW(handOffVariable, executablePath().c_str());
    if (!CreateProcessW(launcher.pairProduct.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info)) {
        DWORD error = GetLastError();
        trace([&] { return L"companion: " + launcher.pairProduct + L" not started, error " + decimalText(error); });
        return static_cast<uint32_t>(-1);
    }
    trace([&] { return L"companion: started " + launcher.pairProduct; });
    UniqueHandle process(info.hProcess);
    UniqueHandle thread(info.hThread);
    if (!launcher.pairReturnCode)
        return 0;
    DWORD exitCode = 0;
    if (isConsoleLauncher())
        SetConsoleCtrlHandler(leaveBreaksToCompanion, TRUE);
    WaitForSingleObject(process.get(), INFINITE);
    GetExitCodeProcess(process.get(), &exitCode);
    return exitCode;
}

bool takeHandOffMark() {
    std::wstring handedOffBy = environmentVariable(handOffVariable);
    if (handedOffBy.empty())
        return false;
    SetEnvironmentVariableW(handOffVariable, nullptr);
    trace([&] { return L"companion: started by " + handedOffBy + L", so no runtime is handed off again"; });
    return true;
}
