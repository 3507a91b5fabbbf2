#include "LaunchSteps.h"

#include "support/ModulePath.h"
#include "support/Paths.h"

void captureCommandLine(Launcher& launcher) {
    launcher.java.appArguments = argumentsFromCommandLine(GetCommandLineW());
}

void overrideWorkingDirectory() {
    std::wstring folder = folderAsCurrentDirectory(executablePath());
    if (!folder.empty())
        SetCurrentDirectoryW(folder.c_str());
}
