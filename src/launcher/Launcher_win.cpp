#include "Launcher.h"

#include "Companion.h"
#include "LaunchSteps.h"
#include "Settings.h"
#include "SingleInstance.h"
#include "jvm/JavaMainThread.h"
#include "jvm/VmLoading.h"
#include "jvm/VmOptions.h"
#include "runtime/RuntimeSelection.h"
#include "splash/Splash.h"

Launcher::Launcher() = default;
Launcher::~Launcher() = default;

bool initialize(Launcher& launcher) {
    captureCommandLine(launcher);
    if (!loadSettings(launcher))
        return false;
    if (!setupSingleInstance(launcher))
        return false;
    if (launcher.singleInstance && !launcher.isFirstInstance)
        return true;
    if (launcher.overrideWorkingDir)
        overrideWorkingDirectory();
    return resolveRuntime(launcher);
}

int32_t run(Launcher& launcher) {
    if (launcher.handOff)
        return static_cast<int32_t>(startCompanion(launcher));
    if (launcher.singleInstance && !launcher.isFirstInstance)
        return static_cast<int32_t>(waitForFirstInstance(launcher));
    prepareLibraryPaths(launcher);
    if (!hasNoSplashSwitch(launcher.appArguments) && !startSplash(launcher))
        return 0;
    if (!loadJavaVmLibrary(launcher))
        return -1;
    // A failure here (an empty class path) has been reported already; the start goes on and fails in Java.
    assembleVmOptions(launcher);
    if (runJavaMainThread(launcher) == 0)
        return 0;
    if (launcher.splashCloseRoutine) {
        launcher.splashCloseRoutine();
        launcher.splashCloseRoutine = nullptr;
    }
    return -1;
}

void shutdown(Launcher& launcher) {
    closeSplash(launcher);
    if (launcher.javaVm && !launcher.javaMainThreadAttached)
        launcher.javaVm->DestroyJavaVM();
    stopSingleInstance(launcher);
    launcher.readyEvent.reset();
    if (launcher.splashCloseRoutine) {
        launcher.splashCloseRoutine();
        launcher.splashCloseRoutine = nullptr;
    }
}
