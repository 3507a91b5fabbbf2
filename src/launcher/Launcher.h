#pragma once
// The one object of the process: every setting, handle and thread of a start, from the entry point to exit.
#include <windows.h>

#include "CommandLine.h"
#include "jvm/JavaRuntime.h"
#include "runtime/JavaVersion.h"
#include "runtime/RuntimePolicy.h"
#include "support/UniqueResource.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class SplashWindow;
using SplashCloseRoutine = void(__cdecl*)();

struct Launcher {
    Launcher();
    ~Launcher();
    Launcher(const Launcher&) = delete;
    Launcher& operator=(const Launcher&) = delete;

    // arguments
    StringList appArguments;

    // product
    std::wstring productName;
    std::wstring productCode;

    // runtime policy
    RuntimePolicy policy;

    // application
    std::wstring mainClass; // dots already turned into slashes
    bool serviceMode = false;
    bool failureCheck = false;
    bool overrideWorkingDir = false;
    std::wstring systemPath;
    std::wstring libraryPath;
    std::wstring outputFile;
    std::wstring errorFile;
    std::wstring cmdArguments;

    // companion
    std::wstring pairProduct;
    bool pairReturnCode = false;

    // runtime
    std::wstring jvmPath;
    JavaVersion chosenVersion;
    bool handOff = false;

    // virtual machine
    JavaVM* javaVm = nullptr;
    JNIEnv* jniEnv = nullptr;
    // Set while the Java main thread that created the VM is attached to it. When that thread ends without detaching,
    // DestroyJavaVM would wait for it for ever, so shutdown leaves the VM alone.
    bool javaMainThreadAttached = false;
    std::vector<std::string> vmOptions;
    uint64_t threadStackSize = 0;
    CreateJavaVmProc createJavaVmProc = nullptr;
    GetDefaultInitArgsProc getDefaultInitArgsProc = nullptr;

    // splash
    std::wstring splashImagePath;
    std::wstring splashShadowValue;
    UniqueHandle splashThread;
    DWORD splashThreadId = 0;
    std::unique_ptr<SplashWindow> splashWindow;
    SplashCloseRoutine splashCloseRoutine = nullptr;

    // single instance
    bool singleInstance = false;
    bool isFirstInstance = false;
    UniqueHandle instanceMapping;
    UniqueMappedView instanceBlock;
    UniqueHandle listenerThread;
    UniqueHandle readyEvent;
};

// The three phases. initialize false means the application is not started (exit code -1); shutdown always runs.
bool initialize(Launcher& launcher);
int32_t run(Launcher& launcher);
void shutdown(Launcher& launcher);
