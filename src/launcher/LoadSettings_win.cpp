#include "Settings.h"

#include "jvm/JavaCommandLine.h"
#include "resource.h"
#include "support/Environment.h"
#include "support/ErrorMessages.h"
#include "support/ErrorOwner.h"
#include "support/FileSystem.h"
#include "support/ModulePath.h"
#include "support/Paths.h"
#include "support/SettingsFile.h"
#include "support/SettingsNames.h"
#include "support/TextCompare.h"
#include "support/Trace.h"

namespace {

const wchar_t* const jrePathKey = L"JRE Path";

bool usesUserSettingsFile(const Launcher& launcher) { return isNtPlatform() && !launcher.serviceMode; }

std::wstring withoutCharacters(const std::wstring& text, const wchar_t* removed) {
    std::wstring result;
    for (wchar_t c : text) {
        if (wcschr(removed, c) == nullptr)
            result += c;
    }
    return result;
}

std::wstring productFolderUnder(const std::wstring& root, const std::wstring& productName) {
    return root + L"\\" + withoutCharacters(productName, L"\\?\"|><:/*");
}

// A per-user copy that exists decides "JRE Path" alone, even when it holds none.
std::wstring readJrePath(const Launcher& launcher, const SettingsReader& layered, const std::wstring& executable) {
    if (usesUserSettingsFile(launcher)) {
        std::wstring userFile = userSettingsFilePath(executable, launcher.productName, launcher.productCode, false);
        if (entryExists(userFile)) {
            trace([&] { return L"settings: \"JRE Path\" from the per-user copy " + userFile; });
            return PlainSettingsReader(userFile).read(section::javaRuntime, jrePathKey);
        }
    }
    return readSingleValue(layered, section::javaRuntime, jrePathKey);
}

void readRuntimePolicy(Launcher& launcher, const SettingsReader& layered) {
    RuntimePolicy& policy = launcher.policy;
    policy.jvmType = jvmTypeFromSetting(readSingleValue(layered, section::javaRuntime, L"JVM Type"));
    applyJvmSource(policy, readSingleValue(layered, section::javaRuntime, L"JVM Source"));
    applyVmProvider(policy, readSingleValue(layered, section::javaRuntime, L"VM Provider"));
    launcher.java.keepAlive = policy.acceptIbm || policy.favorIbm;
}

void readApplicationSettings(Launcher& launcher, const SettingsReader& layered) {
    launcher.java.failureCheck = isYes(readSingleValue(layered, section::application, L"Failure Check"));
    launcher.overrideWorkingDir = isYes(readSingleValue(layered, section::application, L"Override WorkingDir"));
    launcher.java.systemPath = readSingleValue(layered, section::javaRuntime, L"System Path");
    launcher.java.libraryPath = readSingleValue(layered, section::javaRuntime, L"Library Path");
    launcher.pairProduct = readSingleValue(layered, section::application, L"Pair Product");
    launcher.pairReturnCode = isYes(readSingleValue(layered, section::application, L"Pair Return Code"));
    launcher.classDataSharing = isYes(readSingleValue(layered, section::javaRuntime, L"Class Data Sharing"));
    // Only the exact "yes" asks for it, and service mode never uses it; setupSingleInstance drops it when the
    // shared objects cannot be had.
    launcher.singleInstance =
        !launcher.serviceMode && readSingleValue(layered, section::application, L"Single Instance") == L"yes";
}

} // namespace

std::wstring mainClassForJava(const std::wstring& setting) {
    std::wstring name = setting;
    for (wchar_t& c : name) {
        if (c == L'.')
            c = L'/';
    }
    return name;
}

std::wstring perUserFolder(const std::wstring& root, const std::wstring& productName, const std::wstring& productCode) {
    return productFolderUnder(root, productName) + L"\\" + productCode;
}

std::wstring userSettingsFilePath(const std::wstring& executable, const std::wstring& productName,
                                  const std::wstring& productCode, bool createFolders) {
    std::wstring productFolder = productFolderUnder(environmentVariable(L"APPDATA"), productName);
    std::wstring codeFolder = productFolder + L"\\" + productCode;
    if (createFolders) {
        CreateDirectoryW(productFolder.c_str(), nullptr);
        CreateDirectoryW(codeFolder.c_str(), nullptr);
    }
    return codeFolder + L"\\" + programNameOf(executable) + L".ini";
}

bool isNtPlatform() {
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    return GetVersionExW(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
#pragma GCC diagnostic pop
}

SettingsResult loadSettingsFrom(Launcher& launcher, const std::wstring& settingsPath, const std::wstring& executable) {
    PlainSettingsReader plain(settingsPath);
    launcher.productCode = plain.read(section::productInformation, L"Product Code");
    launcher.productName = plain.read(section::productInformation, L"Product Name");

    LayeredSettingsReader layered = layeredSettingsReader(settingsPath);
    RuntimePolicy& policy = launcher.policy;
    policy.minVersion = minVersionFromSetting(readSingleValue(layered, section::javaRuntime, L"Minimum Version"));
    policy.maxVersion = maxVersionFromSetting(readSingleValue(layered, section::javaRuntime, L"Maximum Version"));
    launcher.serviceMode = readSingleValue(layered, section::application, L"Application Type") == L"service";
    policy.preferredVersions = splitList(readSingleValue(layered, section::javaRuntime, L"Preferred versions"), L";");
    policy.jrePath = readJrePath(launcher, layered, executable);
    readRuntimePolicy(launcher, layered);

    // A main module decides what is started; its class may be left to the module's descriptor.
    MainModule mainModule = parseMainModule(readSingleValue(layered, section::javaRuntime, L"Main Module"));
    std::wstring mainClass = readSingleValue(layered, section::javaRuntime, L"Main Class");
    if (mainModule.module.empty() && mainClass.empty())
        return SettingsResult::NoMainClass;
    launcher.java.mainModule = mainModule.module;
    launcher.java.mainClass = mainClassForJava(mainModule.module.empty() ? mainClass : mainModule.mainClass);
    readApplicationSettings(launcher, layered);
    return SettingsResult::Loaded;
}

bool loadSettings(Launcher& launcher) {
    std::wstring settingsPath;
    if (!settingsFilePath(settingsPath))
        return false;
    trace([&] { return L"settings: " + settingsPath + (entryExists(settingsPath) ? L"" : L" (missing)"); });
    if (loadSettingsFrom(launcher, settingsPath, executablePath()) == SettingsResult::Loaded)
        return true;
    reportError(errorOwner(), loadResourceString(IDS_NO_MAIN_CLASS));
    return false;
}

void rememberRuntime(const Launcher& launcher, const std::wstring& chosenHome) {
    std::wstring executable = executablePath();
    if (executable.empty())
        return;
    bool hasCompanion = launcher.pairProduct.find(L'.') != std::wstring::npos;
    if (usesUserSettingsFile(launcher)) {
        PlainSettingsReader(userSettingsFilePath(executable, launcher.productName, launcher.productCode, true))
            .write(section::javaRuntime, jrePathKey, chosenHome);
        if (hasCompanion)
            PlainSettingsReader(
                userSettingsFilePath(launcher.pairProduct, launcher.productName, launcher.productCode, true))
                .write(section::javaRuntime, jrePathKey, chosenHome);
        return;
    }
    // Service mode: the settings files themselves, the companion's when there is one.
    std::wstring target = settingsFilePathFor(hasCompanion ? launcher.pairProduct : executable);
    PlainSettingsReader(target).write(section::javaRuntime, jrePathKey, chosenHome);
}
