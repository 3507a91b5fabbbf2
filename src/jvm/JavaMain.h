#pragma once
// The work of the Java main thread once the VM exists: the main class found, main called with the application's
// arguments, an exception that escapes it dealt with, and the thread detached. Portable: no Windows headers; what
// the user sees (the messages, the exception dialog, the splash) belongs to the launcher, behind MainThreadHost.
#include "MainClass.h"
#include "support/TextSplit.h"

#include <string>

// What the Java main thread works with. Written before that thread starts; only that thread changes
// javaMainThreadAttached afterwards, and mainClass when the main module's descriptor names it.
struct JavaMain {
    // The arguments main receives: the command line without the program path, then the "Cmd" tokens.
    StringList appArguments;
    std::wstring mainClass;  // dots already turned into slashes; empty: the main module's descriptor names it
    std::wstring mainModule; // empty: the application is started from the class path alone
    bool failureCheck = false;
    // With IBM runtimes admitted ("VM Provider"), a thread that has called into Java is never detached, and the
    // Java main thread stays after main returns: the process ends only from Java.
    bool keepAlive = false;

    JavaVM* javaVm = nullptr;
    JNIEnv* jniEnv = nullptr; // the Java main thread's own
    // Set while the Java main thread that created the VM is attached to it. When that thread ends without
    // detaching, DestroyJavaVM would wait for it for ever, so shutdown leaves the VM alone.
    bool javaMainThreadAttached = false;
};

// The launcher's part around main, called on the Java main thread.
class MainThreadHost {
public:
    // The main class or its main could not be had and the VM has not described why: the user is told.
    // `name` is what the message names: the class, or the main module when that failed.
    virtual void reportMainLookupFailure(MainLookup failure, const std::wstring& name) = 0;
    // Just before main is called.
    virtual void mainStarting() {}
    // main has returned or thrown (called again on the way out): the splash goes before anything else is shown.
    virtual void mainEnded() {}
    // The exception dialog over the printed trace of what escaped main; true when the user chose Stop.
    virtual bool stopAfterException(const std::wstring& trace) = 0;
    // Keeps the thread, attached, until the process ends.
    [[noreturn]] virtual void waitForever() = 0;

protected:
    ~MainThreadHost() = default;
};

// Finds the main class, calls main, deals with an exception that escapes it and detaches; false when main could
// not be called or the thread could not detach. With keepAlive the thread never comes back once main was called.
bool invokeMain(JavaMain& java, MainThreadHost& host);
