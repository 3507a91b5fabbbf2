#include "ConsoleClose.h"

#include <windows.h>

namespace {

using RaiseSignalProc = jboolean(JNICALL*)(jint signal);

// Set once, before the handler is installed.
RaiseSignalProc raiseSignal = nullptr;

constexpr jint terminationSignal = 15; // SIGTERM, which Java answers with its shutdown hooks and exit code 143

// Handlers run last-installed first, so this one comes before the VM's. Ctrl+C and the others go on to the VM's.
BOOL WINAPI onConsoleEvent(DWORD event) {
    if (event != CTRL_CLOSE_EVENT || !raiseSignal(terminationSignal))
        return FALSE;
    for (;;)
        Sleep(INFINITE);
}

} // namespace

void passConsoleCloseToJava(CreateJavaVmProc createJavaVm) {
    HMODULE runtime = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCWSTR>(createJavaVm), &runtime))
        return;
    raiseSignal =
        reinterpret_cast<RaiseSignalProc>(reinterpret_cast<void*>(GetProcAddress(runtime, "JVM_RaiseSignal")));
    if (raiseSignal != nullptr)
        SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}
