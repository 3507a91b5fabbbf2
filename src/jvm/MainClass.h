#pragma once
// Finding the main class and its main(String[]), calling it, and System.exit. Portable: no Windows headers;
// what the user is told about a failure is decided by the caller from the result.
#include <jni.h>

#include <functional>
#include <string>
#include <vector>

enum class MainLookup {
    Found,
    NameNotConvertible, // the class name could not be made a Java string (message 211)
    NameUnreadable,     // GetStringUTFChars failed; the pending error has been described
    ClassNotFound,      // described; message 215 names `classNameAsPassed`
    MainMissing,        // no exception pending (message 216)
    MainLookupFailed,   // the VM's error has been described; no message
    ModuleNotFound,     // the main module is not in the VM's boot layer
    NoModuleMainClass,  // its descriptor names no main class
};

struct MainMethod {
    jclass mainClass = nullptr;
    jmethodID method = nullptr;
    std::wstring classNameAsPassed; // the slash form, decoded from what the VM was given
};

// mainClass is in its slash form (com/example/App). Only the class: Found, NameNotConvertible, NameUnreadable or
// ClassNotFound, with `found.mainClass` a local reference the caller owns.
MainLookup findMainClass(JNIEnv* env, const std::wstring& mainClass, MainMethod& found);

// The main class that the descriptor of `module` in the boot layer names, in its slash form: Found,
// ModuleNotFound, NoModuleMainClass, or MainLookupFailed when a call failed (the VM's error described).
MainLookup findModuleMainClass(JNIEnv* env, const std::wstring& module, std::wstring& mainClass);

// The class, then its main(String[]).
MainLookup findMainMethod(JNIEnv* env, const std::wstring& mainClass, MainMethod& found);

enum class MainOutcome { Returned, Threw, ArgumentsFailed };

// Builds the String[] (ArgumentsFailed, described, when it cannot), runs beforeCall, then calls main.
// On Threw the exception is returned in `exception` and is still pending.
MainOutcome callMain(JNIEnv* env, const MainMethod& main, const std::vector<std::wstring>& arguments,
                     const std::function<void()>& beforeCall, jthrowable& exception);

// System.exit(-1); normally does not come back.
void callSystemExit(JNIEnv* env);
