#include "LaunchSteps.h"

#include "support/ModulePath.h"

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
