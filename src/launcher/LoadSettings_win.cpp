#include "Settings.h"

#include "SettingsFile.h"
#include "resource.h"
#include "support/ErrorMessages.h"
#include "support/ErrorOwner.h"
#include "support/FileSystem.h"
#include "support/ModulePath.h"
#include "support/TextCompare.h"

namespace {

const wchar_t* const application = L"Application";
const wchar_t* const javaRuntime = L"Java Runtime Environment";

bool usesUserSettingsFile(const Launcher& launcher) { return isNtPlatform() && !launcher.serviceMode; }

// A per-user copy that exists decides "JRE Path" alone, even when it holds none.
std::wstring readJrePath(const Launcher& launcher, const SettingsReader& layered, const std::wstring& executable) {
    if (usesUserSettingsFile(launcher)) {
        std::wstring userFile = userSettingsFilePath(executable, launcher.productName, launcher.productCode, false);
        if (entryExists(userFile))
            return PlainSettingsReader(userFile).read(javaRuntime, L"JRE Path");
    }
    return layered.read(javaRuntime, L"JRE Path");
}

void readRuntimePolicy(Launcher& launcher, const SettingsReader& layered) {
    RuntimePolicy& policy = launcher.policy;
    policy.jvmType = jvmTypeFromSetting(layered.read(javaRuntime, L"JVM Type"));
    applyJvmSource(policy, layered.read(javaRuntime, L"JVM Source"));
    applyVmProvider(policy, layered.read(javaRuntime, L"VM Provider"));
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

SettingsResult loadSettingsFrom(Launcher& launcher, const std::wstring& settingsPath, const std::wstring& executable) {
    PlainSettingsReader plain(settingsPath);
    launcher.productCode = plain.read(L"Product Information", L"Product Code");
    launcher.productName = plain.read(L"Product Information", L"Product Name");

    LayeredSettingsReader layered = layeredSettingsReader(settingsPath);
    launcher.policy.minVersion = minVersionFromSetting(layered.read(javaRuntime, L"Minimum Version"));
    launcher.policy.maxVersion = maxVersionFromSetting(layered.read(javaRuntime, L"Maximum Version"));
    launcher.serviceMode = layered.read(application, L"Application Type") == L"service";
    launcher.policy.preferredVersions = splitList(layered.read(javaRuntime, L"Preferred versions"), L";");
    launcher.policy.jrePath = readJrePath(launcher, layered, executable);
    readRuntimePolicy(launcher, layered);

    std::wstring mainClass = layered.read(javaRuntime, L"Main Class");
    if (mainClass.empty())
        return SettingsResult::NoMainClass;
    launcher.mainClass = mainClassForJava(mainClass);

    launcher.failureCheck = isYes(layered.read(application, L"Failure Check"));
    launcher.overrideWorkingDir = isYes(layered.read(application, L"Override WorkingDir"));
    launcher.systemPath = layered.read(javaRuntime, L"System Path");
    launcher.libraryPath = layered.read(javaRuntime, L"Library Path");
    launcher.pairProduct = layered.read(application, L"Pair Product");
    launcher.pairReturnCode = isYes(layered.read(application, L"Pair Return Code"));
    return SettingsResult::Loaded;
}

bool loadSettings(Launcher& launcher) {
    std::wstring executable = executablePath();
    if (executable.empty())
        return false;
    std::wstring settingsPath = settingsFilePathFor(executable);
    if (settingsPath.empty())
        return false;
    if (loadSettingsFrom(launcher, settingsPath, executable) == SettingsResult::Loaded)
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
            .write(javaRuntime, L"JRE Path", chosenHome);
        if (hasCompanion)
            PlainSettingsReader(userSettingsFilePath(launcher.pairProduct, launcher.productName, launcher.productCode, true))
                .write(javaRuntime, L"JRE Path", chosenHome);
        return;
    }
    // Service mode: the settings files themselves, the companion's when there is one.
    std::wstring target = settingsFilePathFor(hasCompanion ? launcher.pairProduct : executable);
    PlainSettingsReader(target).write(javaRuntime, L"JRE Path", chosenHome);
}
