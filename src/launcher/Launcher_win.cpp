#include "Launcher.h"

#include "Companion.h"
#include "LaunchSteps.h"
#include "Settings.h"
#include "SingleInstance.h"
#include "jvm/JavaMainThread.h"
#include "jvm/VmCreation.h"
#include "jvm/VmLoading.h"
#include "jvm/VmOptions.h"

namespace {

bool isLaterStart(const Launcher& launcher) { return launcher.singleInstance && !launcher.isFirstInstance; }

// What a start that runs the application itself settles before its run step: the working folder and the runtime.
bool prepareRuntime(Launcher& launcher) {
    if (launcher.overrideWorkingDir)
        overrideWorkingDirectory();
    auto askUser = [jvmType = launcher.policy.jvmType](const std::wstring& message, RuntimePick& pick) {
        return askUserForRuntime(jvmType, message, pick);
    };
    const std::wstring& companion = launcher.startedByHandOff ? std::wstring() : launcher.pairProduct;
    if (!resolveRuntime(launcher.policy, companion, askUser, launcher.runtime))
        return false;
    // The folder the user picked is found at the next start without asking again.
    if (!launcher.runtime.pickedHome.empty())
        rememberRuntime(launcher, launcher.runtime.pickedHome);
    return true;
}

int32_t runJava(Launcher& launcher) {
    JavaLaunch& java = launcher.java;
    const std::wstring& jvmPath = launcher.runtime.jvmPath;
    prepareLibraryPaths(java, jvmPath);
    // The settings file's path could not be formed (and was reported): the start has failed.
    if (!hasNoSplashSwitch(java.appArguments) && !startSplash(launcher.splash, jvmPath))
        return -1;
    if (!loadJavaVmLibrary(java, jvmPath))
        return -1;
    // An empty class path has been reported already and the start goes on to fail in Java; a refused option ends it.
    VmOptionsAssembly assembly = assembleVmOptions(java);
    if (assembly == VmOptionsAssembly::Refused)
        return -1;
    if (assembly == VmOptionsAssembly::Assembled)
        prepareClassDataSharing(launcher);
    if (runJavaMainThread(java, launcher.splash) == 0)
        return 0;
    closeNativeSplash(launcher.splash);
    return -1;
}

// A first instance that ends before this start's request reached Java leaves the role to be settled again: this
// start then forwards to the next first instance, or becomes it.
int32_t runLaterStart(Launcher& launcher) {
    uint32_t result = 0;
    while (!waitForFirstInstance(launcher, result)) {
        if (!setupSingleInstance(launcher))
            return -1;
        if (!isLaterStart(launcher))
            return prepareRuntime(launcher) ? run(launcher) : -1;
    }
    return static_cast<int32_t>(result);
}

} // namespace

bool initialize(Launcher& launcher) {
    launcher.startedByHandOff = takeHandOffMark();
    captureCommandLine(launcher);
    if (!loadSettings(launcher))
        return false;
    if (!setupSingleInstance(launcher))
        return false;
    return isLaterStart(launcher) || prepareRuntime(launcher);
}

int32_t run(Launcher& launcher) {
    if (launcher.runtime.handOff)
        return static_cast<int32_t>(startCompanion(launcher));
    if (isLaterStart(launcher))
        return runLaterStart(launcher);
    return runJava(launcher);
}

void shutdown(Launcher& launcher) {
    closeSplash(launcher.splash);
    destroyJavaVm(launcher.java);
    stopSingleInstance(launcher);
    launcher.java.readyEvent.reset();
    closeNativeSplash(launcher.splash);
}
