#include "VmOptions.h"

#include "VmParameters.h"
#include "resource.h"
#include "runtime/RuntimeSelection.h"
#include "support/Environment.h"
#include "support/ErrorMessages.h"
#include "support/ErrorOwner.h"
#include "support/ModulePath.h"
#include "support/Paths.h"
#include "support/SettingsFile.h"
#include "support/SettingsNames.h"
#include "support/TextCompare.h"
#include "support/UniqueResource.h"

namespace {

// Characters the code page cannot represent become its default character.
std::string toAnsi(const std::wstring& text) {
    if (text.empty())
        return std::string();
    int size =
        WideCharToMultiByte(CP_THREAD_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
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
    std::wstring folder = patternFolder(pattern);
    do {
        classPath += folder + data.cFileName + L";";
    } while (FindNextFileW(search.get(), &data));
}

void resolveClassPathEntry(const std::wstring& entry, const std::wstring& launcherFolder, std::wstring& classPath) {
    if (!isAbsoluteClassPathEntry(entry)) {
        appendMatches(relativeClassPathPattern(launcherFolder, entry), classPath);
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
    for (const std::wstring& entry : splitList(readSingleValue(settings, section::classPath, L"Class Path"), L";"))
        resolveClassPathEntry(expandEnvironment(entry), folderWithBackslash(launcher), classPath);
    if (isYes(readSingleValue(settings, section::application, L"Embedded Jar"))) {
        if (!classPath.empty() && classPath.back() != L';')
            classPath += L';';
        classPath += launcher;
    }
    return classPath;
}

std::wstring expandedSetting(const SettingsReader& settings, const wchar_t* key) {
    std::wstring value = readSingleValue(settings, section::application, key);
    return value.empty() ? value : expandEnvironment(value);
}

void appendCmdArguments(JavaLaunch& java, const std::wstring& cmd) {
    for (const std::wstring& token : splitArguments(cmd)) {
        if (!token.empty())
            java.appArguments.push_back(token);
    }
}

} // namespace

void prepareLibraryPaths(JavaLaunch& java, const std::wstring& jvmPath) {
    publishRuntime(jvmPath);
    if (!java.libraryPath.empty()) {
        std::wstring launcherFolder = folderWithBackslash(executablePath());
        std::wstring list = composeLibraryPath(java.libraryPath, launcherFolder, jvmPath);
        java.vmOptions.push_back(toAnsi(L"-Djava.library.path=" + expandEnvironment(list)));
    }
    std::wstring path = expandEnvironment(composeSystemPath(java.systemPath, jvmPath));
    SetEnvironmentVariableW(L"Path", path.c_str());
}

bool assembleVmOptions(JavaLaunch& java) {
    std::wstring settingsPath;
    if (!settingsFilePath(settingsPath))
        return false;
    std::wstring launcherPath = executablePath();
    LayeredSettingsReader settings = layeredSettingsReader(settingsPath);

    std::wstring classPath = assembleClassPath(settings, launcherPath);
    // Expanded once more as a whole, as every option is. Even an empty one is given: without it the VM would search
    // the current folder, and the start goes on after the message.
    std::wstring vmClassPath = classPathForVm(expandEnvironment(classPath), folderWithBackslash(launcherPath));
    java.vmOptions.push_back(toAnsi(L"-Djava.class.path=" + vmClassPath));
    if (classPath.empty()) {
        reportError(errorOwner(), loadResourceString(IDS_NO_CLASS_PATH));
        return false;
    }
    std::wstring parameters = settings.read(section::javaRuntime, L"Virtual Machine Parameters");
    // The machine's memory is asked for only when a parameter is given as a share of it.
    MemoryBases memory;
    bool memoryRead = false;
    for (const std::wstring& token : splitVmParameters(parameters)) {
        if (!memoryRead && isMemoryPercentage(removeQuotes(token))) {
            memory = machineMemory();
            memoryRead = true;
        }
        java.vmOptions.push_back(toAnsi(expandEnvironment(normalizeVmParameter(token, memory, java.threadStackSize))));
    }

    java.outputFile = expandedSetting(settings, L"Output File");
    java.errorFile = expandedSetting(settings, L"Error File");
    appendCmdArguments(java, expandedSetting(settings, L"Cmd"));
    return true;
}
