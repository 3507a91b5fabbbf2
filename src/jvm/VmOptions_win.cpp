#include "VmOptions.h"

#include "VmParameters.h"
#include "launcher/SettingsFile.h"
#include "resource.h"
#include "runtime/RuntimeSelection.h"
#include "support/ErrorMessages.h"
#include "support/ErrorOwner.h"
#include "support/ModulePath.h"
#include "support/Paths.h"
#include "support/TextCompare.h"
#include "support/UniqueResource.h"

namespace {

const wchar_t* const application = L"Application";
const wchar_t* const javaRuntime = L"Java Runtime Environment";

// Characters the code page cannot represent become its default character.
std::string toAnsi(const std::wstring& text) {
    if (text.empty())
        return std::string();
    int size = WideCharToMultiByte(CP_THREAD_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                   nullptr);
    std::string result(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_THREAD_ACP, 0, text.data(), static_cast<int>(text.size()), result.data(), size, nullptr,
                        nullptr);
    return result;
}

MemoryBases machineMemory() {
    MEMORYSTATUS status = {};
    status.dwLength = sizeof(status);
    GlobalMemoryStatus(&status);
    return MemoryBases{status.dwTotalPhys, status.dwAvailVirtual};
}

// Appends every file system entry the pattern matches, in the order the file system returns them.
void appendMatches(const std::wstring& pattern, std::wstring& classPath) {
    WIN32_FIND_DATAW data;
    UniqueFindHandle search(FindFirstFileW(pattern.c_str(), &data));
    if (!search)
        return;
    std::wstring folder = folderWithBackslash(pattern);
    do {
        classPath += folder + data.cFileName + L";";
    } while (FindNextFileW(search.get(), &data));
}

void resolveClassPathEntry(const std::wstring& entry, const std::wstring& launcherFolder, std::wstring& classPath) {
    if (!isAbsoluteClassPathEntry(entry)) {
        appendMatches(parentFolder(launcherFolder, 1) + entry, classPath);
        return;
    }
    if (entry.find(L'*') == std::wstring::npos) {
        classPath += entry + L";";
        return;
    }
    appendMatches(entry, classPath);
}

std::wstring assembleClassPath(const SettingsReader& settings, const std::wstring& launcher) {
    std::wstring classPath;
    for (const std::wstring& entry : splitList(settings.read(L"Class Path", L"Class Path"), L";"))
        resolveClassPathEntry(expandEnvironment(entry), folderWithBackslash(launcher), classPath);
    if (isYes(settings.read(application, L"Embedded Jar"))) {
        if (!classPath.empty() && classPath.back() != L';')
            classPath += L';';
        classPath += launcher;
    }
    return classPath;
}

void appendCmdArguments(Launcher& launcher, const std::wstring& cmd) {
    if (cmd.empty())
        return;
    for (const std::wstring& token : splitArguments(expandEnvironment(cmd))) {
        if (!token.empty())
            launcher.appArguments.push_back(token);
    }
}

} // namespace

std::wstring expandEnvironment(const std::wstring& text) {
    DWORD needed = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    if (needed == 0)
        return text;
    std::wstring expanded(needed, L'\0');
    DWORD written = ExpandEnvironmentStringsW(text.c_str(), expanded.data(), needed);
    if (written == 0 || written > needed)
        return text;
    expanded.resize(wcslen(expanded.c_str()));
    return expanded;
}

void prepareLibraryPaths(Launcher& launcher) {
    publishRuntime(launcher.jvmPath);
    if (!launcher.libraryPath.empty()) {
        std::wstring launcherFolder = folderWithBackslash(executablePath());
        std::wstring list = composeLibraryPath(launcher.libraryPath, launcherFolder, launcher.jvmPath);
        launcher.vmOptions.push_back(toAnsi(L"-Djava.library.path=" + expandEnvironment(list)));
    }
    std::wstring path = expandEnvironment(composeSystemPath(launcher.systemPath, launcher.jvmPath));
    SetEnvironmentVariableW(L"Path", path.c_str());
}

bool assembleVmOptions(Launcher& launcher) {
    std::wstring launcherPath = executablePath();
    std::wstring settingsPath = settingsFilePathFor(launcherPath);
    if (launcherPath.empty() || settingsPath.empty())
        return false;
    LayeredSettingsReader settings = layeredSettingsReader(settingsPath);

    std::wstring classPath = assembleClassPath(settings, launcherPath);
    if (classPath.empty()) {
        reportError(errorOwner(), loadResourceString(IDS_NO_CLASS_PATH));
        return false;
    }

    std::vector<std::wstring> options{L"-Djava.class.path=" + classPath};
    MemoryBases memory = machineMemory();
    for (const std::wstring& token : splitVmParameters(settings.read(javaRuntime, L"Virtual Machine Parameters")))
        options.push_back(normalizeVmParameter(token, memory, launcher.threadStackSize));
    for (const std::wstring& option : options)
        launcher.vmOptions.push_back(toAnsi(expandEnvironment(option)));

    launcher.outputFile = settings.read(application, L"Output File");
    launcher.errorFile = settings.read(application, L"Error File");
    if (!launcher.outputFile.empty())
        launcher.outputFile = expandEnvironment(launcher.outputFile);
    if (!launcher.errorFile.empty())
        launcher.errorFile = expandEnvironment(launcher.errorFile);
    appendCmdArguments(launcher, settings.read(application, L"Cmd"));
    return true;
}
