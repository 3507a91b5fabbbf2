#pragma once
// What the Java side of a start works with: filled from the settings before the run step, then by the option
// assembly, the loading of the runtime library and the creation of the VM. Its fields are written before the
// threads that read them start; only the Java main thread changes javaMainThreadAttached.
#include "JavaMain.h"
#include "JavaRuntime.h"
#include "support/UniqueResource.h"

#include <cstdint>
#include <string>
#include <vector>

struct JavaLaunch : JavaMain {
    // From the settings.
    std::wstring systemPath;
    std::wstring libraryPath;

    // The option assembly.
    std::vector<std::string> vmOptions;
    uint64_t threadStackSize = 0;
    std::wstring outputFile;
    std::wstring errorFile;

    // The loaded runtime library.
    CreateJavaVmProc createJavaVmProc = nullptr;
    GetDefaultInitArgsProc getDefaultInitArgsProc = nullptr;

    // Single instance: set just before main is called, so that forwarded starts reach Java only after it.
    UniqueHandle readyEvent;
};
