#include "JavaMainThread.h"

#include "JavaThreadAttachment.h"
#include "MainClass.h"
#include "VmCreation.h"
#include "VmLoading.h"
#include "resource.h"
#include "splash/Splash.h"
#include "support/ErrorMessages.h"
#include "support/ErrorOwner.h"
#include "ui/ExceptionDialog.h"

namespace {

// With IBM runtimes admitted a thread that has called into Java is never detached, and the Java main thread
// stays after main returns: the process ends only from Java.
bool keepsThreadsAlive(const Launcher& launcher) { return launcher.policy.acceptIbm || launcher.policy.favorIbm; }

void sleepForever() {
    for (;;)
        Sleep(INFINITE);
}

bool reportLookupFailure(const Launcher& launcher, MainLookup result, const MainMethod& main) {
    switch (result) {
    case MainLookup::Found:
        return true;
    case MainLookup::NameNotConvertible:
        reportFormattedError(errorOwner(), IDS_MAIN_CLASS_NOT_LOADED, {launcher.mainClass});
        break;
    case MainLookup::ClassNotFound:
        reportFormattedError(errorOwner(), IDS_MAIN_CLASS_NOT_FOUND, {main.classNameAsPassed});
        break;
    case MainLookup::MainMissing:
        reportError(errorOwner(), loadResourceString(IDS_NO_MAIN_METHOD));
        break;
    case MainLookup::NameUnreadable:
    case MainLookup::MainLookupFailed:
        break; // the VM has described its error on standard error
    }
    return false;
}

void handleUncaughtException(Launcher& launcher, jthrowable exception) {
    closeSplash(launcher);
    if (!launcher.failureCheck)
        return; // left pending: the VM prints it when the thread detaches
    launcher.jniEnv->ExceptionClear();
    if (showExceptionDialog(exception, launcher.jniEnv))
        callSystemExit(launcher.jniEnv);
}

// Finds the main class and calls main; false when it could not be called (after the message the failure needs).
bool callMainMethod(Launcher& launcher) {
    JNIEnv* env = launcher.jniEnv;
    MainMethod main;
    if (!reportLookupFailure(launcher, findMainMethod(env, launcher.mainClass, main), main))
        return false;
    auto signalReady = [&launcher] {
        if (launcher.readyEvent)
            SetEvent(launcher.readyEvent.get());
    };
    jthrowable exception = nullptr;
    MainOutcome outcome = callMain(env, main, launcher.appArguments, signalReady, exception);
    if (outcome == MainOutcome::ArgumentsFailed)
        return false;
    if (outcome == MainOutcome::Threw)
        handleUncaughtException(launcher, exception);
    return true;
}

DWORD WINAPI javaMainThreadProc(void* parameter) {
    auto& launcher = *static_cast<Launcher*>(parameter);
    try {
        if (!createJavaVm(launcher))
            return 1;
        return invokeMain(launcher) ? 0 : 1;
    } catch (...) {
        return 1; // nothing may unwind out of a thread routine
    }
}

} // namespace

bool invokeMain(Launcher& launcher) {
    JavaThreadAttachment attachment(launcher.javaVm, launcher.javaMainThreadAttached);
    bool called = callMainMethod(launcher);
    if (called && keepsThreadsAlive(launcher))
        sleepForever();
    return attachment.detach() && called;
}

uint32_t runJavaMainThread(Launcher& launcher) {
    if (launcher.threadStackSize == 0)
        launcher.threadStackSize = static_cast<uint64_t>(queryDefaultStackSize(launcher.getDefaultInitArgsProc));
    // The size is the stack's commit size (no reservation flag), as the runtime's own launchers pass it.
    DWORD id = 0;
    UniqueHandle thread(CreateThread(nullptr, static_cast<SIZE_T>(launcher.threadStackSize), javaMainThreadProc,
                                     &launcher, 0, &id));
    if (!thread)
        return javaMainThreadProc(&launcher);
    WaitForSingleObject(thread.get(), INFINITE);
    DWORD result = 1;
    GetExitCodeThread(thread.get(), &result);
    return result;
}
