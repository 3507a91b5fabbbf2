#include "JavaMainThread.h"

#include "ExceptionText.h"
#include "JavaThreadAttachment.h"
#include "MainClass.h"
#include "VmCreation.h"
#include "VmLoading.h"
#include "resource.h"
#include "support/ErrorMessages.h"
#include "support/ErrorOwner.h"
#include "support/ExceptionGuard.h"
#include "ui/ExceptionDialog.h"

namespace {

struct JavaMainThreadWork {
    JavaLaunch& java;
    SplashState& splash;
};

void sleepForever() {
    for (;;)
        Sleep(INFINITE);
}

bool reportLookupFailure(const JavaLaunch& java, MainLookup result, const MainMethod& main) {
    switch (result) {
    case MainLookup::Found:
        return true;
    case MainLookup::NameNotConvertible:
        reportFormattedError(errorOwner(), IDS_MAIN_CLASS_NOT_LOADED, {java.mainClass});
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

void handleUncaughtException(JavaLaunch& java, SplashState& splash, jthrowable exception) {
    closeSplash(splash);
    if (!java.failureCheck)
        return; // left pending: the VM prints it when the thread detaches
    java.jniEnv->ExceptionClear();
    if (showExceptionDialog(exceptionText(java.jniEnv, exception)))
        callSystemExit(java.jniEnv);
}

// Finds the main class and calls main; false when it could not be called (after the message the failure needs).
bool callMainMethod(JavaLaunch& java, SplashState& splash) {
    JNIEnv* env = java.jniEnv;
    MainMethod main;
    if (!reportLookupFailure(java, findMainMethod(env, java.mainClass, main), main))
        return false;
    auto signalReady = [&java] {
        if (java.readyEvent)
            SetEvent(java.readyEvent.get());
    };
    jthrowable exception = nullptr;
    MainOutcome outcome = callMain(env, main, java.appArguments, signalReady, exception);
    if (outcome == MainOutcome::ArgumentsFailed)
        return false;
    if (outcome == MainOutcome::Threw)
        handleUncaughtException(java, splash, exception);
    return true;
}

DWORD WINAPI javaMainThreadProc(void* parameter) {
    auto& work = *static_cast<JavaMainThreadWork*>(parameter);
    return guardedStep<DWORD>(1, [&work]() -> DWORD {
        if (!createJavaVm(work.java))
            return 1;
        return invokeMain(work.java, work.splash) ? 0 : 1;
    });
}

} // namespace

bool invokeMain(JavaLaunch& java, SplashState& splash) {
    JavaThreadAttachment attachment(java.javaVm, java.javaMainThreadAttached);
    bool called = callMainMethod(java, splash);
    // The splash goes once main has returned, also from a thread kept alive: it must not lie over the application.
    closeSplash(splash);
    if (called && java.keepAlive)
        sleepForever();
    return attachment.detach() && called;
}

uint32_t runJavaMainThread(JavaLaunch& java, SplashState& splash) {
    if (java.threadStackSize == 0)
        java.threadStackSize = static_cast<uint64_t>(queryDefaultStackSize(java.getDefaultInitArgsProc));
    JavaMainThreadWork work{java, splash};
    // The size is the stack's commit size (no reservation flag), as the runtime's own launchers pass it.
    DWORD id = 0;
    UniqueHandle thread(
        CreateThread(nullptr, static_cast<SIZE_T>(java.threadStackSize), javaMainThreadProc, &work, 0, &id));
    if (!thread)
        return javaMainThreadProc(&work);
    WaitForSingleObject(thread.get(), INFINITE);
    DWORD result = 1;
    GetExitCodeThread(thread.get(), &result);
    return result;
}
