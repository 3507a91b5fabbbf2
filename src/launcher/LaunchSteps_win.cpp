#include "LaunchSteps.h"

#include "support/ModulePath.h"
#include "ui/JreNotFoundDialog.h"

void captureCommandLine(Launcher& launcher) {
    launcher.java.appArguments = argumentsFromCommandLine(GetCommandLineW());
}

void overrideWorkingDirectory() {
    std::wstring executable = executablePath();
    size_t last = executable.rfind(L'\\');
    // A path without a backslash, or with only the one at its start, names no folder to move to.
    if (last == std::wstring::npos || last == 0)
        return;
    SetCurrentDirectoryW(executable.substr(0, last).c_str());
}

bool askUserForRuntime(JvmType jvmType, const std::wstring& message, RuntimePick& pick) {
    JreNotFoundRequest request;
    request.message = message;
    request.findLibrary = [jvmType](const std::wstring& home) { return findJvmLibrary(home, jvmType); };
    RuntimeFolderPick picked;
    if (!showJreNotFoundDialog(GetActiveWindow(), request, picked))
        return false;
    pick.home = picked.chosenHome;
    pick.jvmPath = picked.chosenJvmPath;
    return true;
}
