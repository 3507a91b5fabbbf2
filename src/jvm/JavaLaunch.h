#pragma once
// What the Java side of a start works with: filled from the settings before the run step, then by the option
// assembly, the loading of the runtime library and the creation of the VM. Its fields are written before the
// threads that read them start; only the Java main thread changes javaMainThreadAttached.
#include "JavaRuntime.h"
#include "support/TextSplit.h"
#include "support/UniqueResource.h"

#include <cstdint>
#include <string>
#include <vector>

struct JavaLaunch {
    // The arguments main receives: the command line without the program path, then the "Cmd" tokens.
    StringList appArguments;

    // From the settings.
    std::wstring mainClass; // dots already turned into slashes
    bool failureCheck = false;
    // With IBM runtimes admitted ("VM Provider"), a thread that has called into Java is never detached, and the
    // Java main thread stays after main returns: the process ends only from Java.
    bool keepAlive = false;
    std::wstring systemPath;
    std::wstring libraryPath;

    // The option assembly.
    std::vector<std::string> vmOptions;
    uint64_t threadStackSize = 0;
    std::wstring outputFile;
    std::wstring errorFile;

    // The loaded runtime library and the VM created from it.
    CreateJavaVmProc createJavaVmProc = nullptr;
    GetDefaultInitArgsProc getDefaultInitArgsProc = nullptr;
    JavaVM* javaVm = nullptr;
    JNIEnv* jniEnv = nullptr; // the Java main thread's own
    // Set while the Java main thread that created the VM is attached to it. When that thread ends without
    // detaching, DestroyJavaVM would wait for it for ever, so shutdown leaves the VM alone.
    bool javaMainThreadAttached = false;

    // Single instance: set just before main is called, so that forwarded starts reach Java only after it.
    UniqueHandle readyEvent;
};
