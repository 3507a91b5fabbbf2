#include "JavaMain.h"

#include "ExceptionText.h"
#include "JavaThreadAttachment.h"
#include "support/Trace.h"

#include <jni.h>

namespace {

// The VM describes the other failures itself on its standard error stream.
bool hasMessage(MainLookup failure) {
    return failure != MainLookup::NameUnreadable && failure != MainLookup::MainLookupFailed;
}

// A main module without a class: the one its descriptor names.
bool settleMainClass(JavaMain& java, MainThreadHost& host) {
    if (!java.mainClass.empty())
        return true;
    MainLookup lookup = findModuleMainClass(java.jniEnv, java.mainModule, java.mainClass);
    if (lookup == MainLookup::Found)
        return true;
    if (hasMessage(lookup))
        host.reportMainLookupFailure(lookup, java.mainModule);
    return false;
}

void handleUncaughtException(JavaMain& java, MainThreadHost& host, jthrowable exception) {
    host.mainEnded();
    // Left pending, the VM prints it when the thread detaches; a thread kept alive never does, so it is printed now.
    if (!java.failureCheck) {
        if (java.keepAlive)
            java.jniEnv->ExceptionDescribe();
        return;
    }
    java.jniEnv->ExceptionClear();
    if (host.stopAfterException(exceptionText(java.jniEnv, exception)))
        callSystemExit(java.jniEnv);
}

// Finds the main class and calls main; false when it could not be called (after the message the failure needs).
bool callMainMethod(JavaMain& java, MainThreadHost& host) {
    if (!settleMainClass(java, host))
        return false;
    trace([&] { return L"main class: " + java.mainClass + L", main module " + quotedForTrace(java.mainModule); });
    MainMethod main;
    MainLookup lookup = findMainMethod(java.jniEnv, java.mainClass, main);
    if (lookup != MainLookup::Found) {
        if (hasMessage(lookup))
            host.reportMainLookupFailure(lookup,
                                         lookup == MainLookup::ClassNotFound ? main.classNameAsPassed : java.mainClass);
        return false;
    }
    jthrowable exception = nullptr;
    MainOutcome outcome = callMain(
        java.jniEnv, main, java.appArguments, [&host] { host.mainStarting(); }, exception);
    if (outcome == MainOutcome::ArgumentsFailed)
        return false;
    if (outcome == MainOutcome::Threw)
        handleUncaughtException(java, host, exception);
    return true;
}

} // namespace

bool invokeMain(JavaMain& java, MainThreadHost& host) {
    JavaThreadAttachment attachment(java.javaVm, java.javaMainThreadAttached);
    bool called = callMainMethod(java, host);
    // The splash goes once main has returned, also from a thread kept alive: it must not lie over the application.
    host.mainEnded();
    if (called && java.keepAlive)
        host.waitForever();
    return attachment.detach() && called;
}
