#include "LaunchSteps.h"

#include "Settings.h"
#include "jvm/ClassDataSharing.h"
#include "resource.h"
#include "support/Console.h"
#include "support/Environment.h"
#include "support/ModulePath.h"
#include "support/Paths.h"
#include "support/Trace.h"
#include "ui/JreNotFoundDialog.h"

namespace {

int featureOf(const JavaVersion& version) { return version.parts[0] == 1 ? version.parts[1] : version.parts[0]; }

// From the registry key the runtime was chosen by, else from its release file, whatever its source.
ArchiveRuntime archiveRuntimeOf(const RuntimeChoice& choice) {
    if (choice.chosenVersion.count > 0)
        return {featureOf(choice.chosenVersion), choice.chosenVendor == RuntimeVendor::Ibm};
    ReleaseFacts release = readReleaseFacts(parentFolder(choice.jvmPath, 3) + L"\\");
    JavaVersion version = parseJavaVersion(release.javaVersion, 0);
    return {version.count > 0 ? featureOf(version) : 0, isOpenJ9(release)};
}

} // namespace

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

// Without %LOCALAPPDATA% the folder would lie at the root of the current drive: no archive is made there.
void prepareClassDataSharing(Launcher& launcher) {
    if (!launcher.classDataSharing)
        return;
    std::wstring localAppData = environmentVariable(L"LOCALAPPDATA");
    if (localAppData.empty()) {
        trace([] { return std::wstring(L"class data sharing: none: %LOCALAPPDATA% is not set"); });
        return;
    }
    ArchiveSite site;
    site.folder = perUserFolder(localAppData, launcher.productName, launcher.productCode) + L"\\cds";
    site.executable = executablePath();
    site.jvmPath = launcher.runtime.jvmPath;
    site.runtime = archiveRuntimeOf(launcher.runtime);
    setUpClassDataSharing(launcher.java, site);
}
