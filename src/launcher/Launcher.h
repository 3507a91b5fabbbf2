#pragma once
// The one object of the process: every setting, handle and thread of a start, from the entry point to exit.
// The rooms below keep the state they work with in records of their own, which the launcher holds and hands to
// them: RuntimeChoice (runtime/: jvmPath, handOff), JavaLaunch (jvm/: the arguments, the main class, the options,
// the VM, the ready event and the keep-alive rule, all that the Java threads read), SplashState (splash/); the
// single-instance objects are the launcher's own (SingleInstanceState). What a room needs of another is passed in
// (jvmPath to the splash, the RuntimePolicy to a dialog); the settings file path and readers, and the owner of
// error boxes, live in support/.
#include "SingleInstanceState.h"
#include "jvm/JavaLaunch.h"
#include "runtime/RuntimePolicy.h"
#include "runtime/RuntimeSelection.h"
#include "splash/Splash.h"

#include <cstdint>
#include <string>

struct Launcher {
    Launcher() = default;
    Launcher(const Launcher&) = delete;
    Launcher& operator=(const Launcher&) = delete;

    // product
    std::wstring productName;
    std::wstring productCode;

    // application
    bool serviceMode = false;
    bool overrideWorkingDir = false;
    // "Class Data Sharing": an archive of the application's classes makes later starts faster.
    bool classDataSharing = false;

    // companion
    std::wstring pairProduct;
    bool pairReturnCode = false;
    bool startedByHandOff = false; // this process is a companion: it hosts what it finds or fails, never hands on

    // runtime: the settings' constraints, and what the search settled
    RuntimePolicy policy;
    RuntimeChoice runtime;

    // the Java side: arguments, main class, options, the VM
    JavaLaunch java;

    SplashState splash;

    // single instance: asked for by the settings, kept while the shared objects work
    bool singleInstance = false;
    bool isFirstInstance = false;
    SingleInstanceState instance;
};

// The three phases. initialize false means the application is not started (exit code -1); shutdown always runs.
bool initialize(Launcher& launcher);
int32_t run(Launcher& launcher);
void shutdown(Launcher& launcher);
