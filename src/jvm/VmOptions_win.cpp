#include "VmOptions.h"

#include "JavaCommandLine.h"
#include "VmParameters.h"
#include "resource.h"
#include "runtime/RuntimeSelection.h"
#include "support/AnsiText.h"
#include "support/Environment.h"
#include "support/ErrorMessages.h"
#include "support/ErrorOwner.h"
#include "support/ModulePath.h"
#include "support/Paths.h"
#include "support/SettingsFile.h"
#include "support/SettingsNames.h"
#include "support/TextCompare.h"
#include "support/Trace.h"
#include "support/UniqueResource.h"

namespace {

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

// Entries of the class path or the module path, each ending in ";".
void resolvePathEntries(const std::wstring& list, const std::wstring& launcherFolder, std::wstring& path) {
    for (const std::wstring& entry : splitList(list, L";"))
        resolveClassPathEntry(expandEnvironment(entry), launcherFolder, path);
}

// The setting's entries, then those the parameters gave as options.
std::wstring assemblePath(const SettingsReader& settings, const wchar_t* key, const StringList& fromParameters,
                          const std::wstring& launcherFolder) {
    std::wstring path;
    resolvePathEntries(readSingleValue(settings, section::classPath, key), launcherFolder, path);
    for (const std::wstring& list : fromParameters)
        resolvePathEntries(list, launcherFolder, path);
    return path;
}

std::wstring assembleClassPath(const SettingsReader& settings, const std::wstring& launcher,
                               const StringList& fromParameters) {
    std::wstring classPath = assemblePath(settings, L"Class Path", fromParameters, folderWithBackslash(launcher));
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

// False when the class path came out empty, after the message, unless a main module is started: a modular application
// may have none.
bool addClassPath(JavaLaunch& java, const SettingsReader& settings, const std::wstring& launcherPath,
                  const StringList& fromParameters) {
    std::wstring classPath = assembleClassPath(settings, launcherPath, fromParameters);
    // Expanded once more as a whole, as every option is. Even an empty one is given: without it the VM would search
    // the current folder, and the start goes on after the message.
    std::wstring vmClassPath = classPathForVm(expandEnvironment(classPath), folderWithBackslash(launcherPath));
    java.vmOptions.push_back(toThreadAnsi(L"-Djava.class.path=" + vmClassPath));
    if (!classPath.empty() || !java.mainModule.empty())
        return true;
    reportError(errorOwner(), loadResourceString(IDS_NO_CLASS_PATH));
    return false;
}

// Quotes removed, memory percentages rewritten and the stack size remembered, then sorted as the java command would
// read them. The machine's memory is asked for only when a parameter is given as a share of it.
SortedVmParameters readVmParameters(const SettingsReader& settings, uint64_t& threadStackSize) {
    MemoryBases memory;
    bool memoryRead = false;
    StringList tokens;
    for (const std::wstring& token :
         splitVmParameters(settings.read(section::javaRuntime, L"Virtual Machine Parameters"))) {
        if (!memoryRead && isMemoryPercentage(removeQuotes(token))) {
            memory = machineMemory();
            memoryRead = true;
        }
        tokens.push_back(normalizeVmParameter(token, memory, threadStackSize));
    }
    return sortVmParameters(tokens);
}

// The module path and the main module, as the java command gives them to the VM for -p and -m.
void addModuleOptions(JavaLaunch& java, const std::wstring& modulePath) {
    if (!modulePath.empty())
        java.vmOptions.push_back(toThreadAnsi(L"--module-path=" + modulePath));
    if (!java.mainModule.empty())
        java.vmOptions.push_back(toThreadAnsi(L"-Djdk.module.main=" + java.mainModule));
    if (java.mainModule.empty() && modulePath.empty())
        return;
    trace([&] {
        return L"modules: main module " + quotedForTrace(java.mainModule) + L", module path " +
               quotedForTrace(modulePath);
    });
}

} // namespace

void prepareLibraryPaths(JavaLaunch& java, const std::wstring& jvmPath) {
    publishRuntime(jvmPath);
    if (!java.libraryPath.empty()) {
        std::wstring launcherFolder = folderWithBackslash(executablePath());
        std::wstring list = composeLibraryPath(java.libraryPath, launcherFolder, jvmPath);
        java.vmOptions.push_back(toThreadAnsi(L"-Djava.library.path=" + expandEnvironment(list)));
    }
    std::wstring path = expandEnvironment(composeSystemPath(java.systemPath, jvmPath));
    SetEnvironmentVariableW(L"Path", path.c_str());
}

VmOptionsAssembly assembleVmOptions(JavaLaunch& java) {
    std::wstring settingsPath;
    if (!settingsFilePath(settingsPath))
        return VmOptionsAssembly::Incomplete;
    std::wstring launcherPath = executablePath();
    std::wstring launcherFolder = folderWithBackslash(launcherPath);
    LayeredSettingsReader settings = layeredSettingsReader(settingsPath);
    SortedVmParameters parameters = readVmParameters(settings, java.threadStackSize);
    if (!parameters.refused.empty()) {
        reportFormattedError(errorOwner(), IDS_LAUNCHER_ONLY_OPTION, {parameters.refused});
        return VmOptionsAssembly::Refused;
    }

    if (!addClassPath(java, settings, launcherPath, parameters.classPath))
        return VmOptionsAssembly::Incomplete;
    std::wstring modulePath = assemblePath(settings, L"Module Path", parameters.modulePath, launcherFolder);
    addModuleOptions(java, pathWithoutEmptyEntries(modulePath));
    for (const std::wstring& option : parameters.options)
        java.vmOptions.push_back(toThreadAnsi(expandEnvironment(option)));

    java.outputFile = expandedSetting(settings, L"Output File");
    java.errorFile = expandedSetting(settings, L"Error File");
    appendCmdArguments(java, expandedSetting(settings, L"Cmd"));
    return VmOptionsAssembly::Assembled;
}
