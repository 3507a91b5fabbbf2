#include "LaunchSteps.h"

#include "resource.h"
#include "support/Console.h"
#include "support/ModulePath.h"
#include "support/Paths.h"
#include "ui/JreNotFoundDialog.h"

void captureCommandLine(Launcher& launcher) {
    launcher.java.appArguments = argumentsFromCommandLine(GetCommandLineW());
}

void overrideWorkingDirectory() {
    std::wstring folder = folderAsCurrentDirectory(executablePath());
    if (!folder.empty())
        SetCurrentDirectoryW(folder.c_str());
}

bool askUserForRuntime(JvmType jvmType, const std::wstring& message, RuntimePick& pick) {
    // A command-line tool has no one to browse for a folder: it says what is needed and where to get it.
    if (isConsoleLauncher()) {
        writeErrorLine(message + L" " + L"" DOWNLOAD_PAGE);
        return false;
    }
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
