#include "RuntimeSelection.h"

#include "VersionDescription.h"
#include "launcher/Companion.h"
#include "support/ErrorMessages.h"
#include "support/Paths.h"

#include "resource.h"

namespace {

bool useJrePath(Launcher& launcher) {
    if (launcher.policy.jrePath.empty())
        return false;
    std::wstring home = withTrailingBackslash(launcher.policy.jrePath);
    launcher.jvmPath = findJvmLibrary(home, launcher.policy.jvmType);
    if (launcher.jvmPath.empty())
        return false;
    checkJvmImage(launcher);
    return true;
}

// The local runtime is the installer's own choice, so its image is not tested for a hand-off. Without one there
// is no probe at all: an empty home would be searched in the current folder, where anyone may have put a library.
bool useLocalRuntime(Launcher& launcher) {
    std::wstring home;
    if (!findLocalRuntime(home) || home.empty())
        return false;
    launcher.jvmPath = findJvmLibrary(home, launcher.policy.jvmType);
    return !launcher.jvmPath.empty();
}

bool useRegistryChoice(Launcher& launcher, const JreCandidate& chosen) {
    launcher.jvmPath = findJvmLibrary(chosen.home, launcher.policy.jvmType);
    return !launcher.jvmPath.empty();
}

// The "JRE Not Found" dialog is not part of the launcher yet; until it is, this step ends as when the dialog
// cannot be shown, and the start stops.
bool askUserForRuntime(Launcher&) { return false; }

} // namespace

bool searchRegistry(const RuntimePolicy& policy, RegistryView view, JreCandidate& chosen) {
    std::vector<JreCandidate> candidates;
    for (const VendorKey& key : vendorKeys()) {
        if (isKeySearched(policy, key))
            collectRegistryCandidates(policy, key, view, candidates);
    }
    if (candidates.empty())
        return false;
    chosen = chooseCandidate(policy, candidates);
    return true;
}

bool resolveRuntime(Launcher& launcher) {
    if (useJrePath(launcher) || useLocalRuntime(launcher))
        return true;
    JreCandidate chosen;
    if (searchRegistry(launcher.policy, RegistryView::Native, chosen)) {
        launcher.chosenVersion = chosen.version;
        return useRegistryChoice(launcher, chosen) || askUserForRuntime(launcher);
    }
    // Only a companion can host a runtime from the 32-bit view, and only when no native runtime qualifies.
    if (!launcher.pairProduct.empty() && searchRegistry(launcher.policy, RegistryView::Wow32, chosen)) {
        launcher.chosenVersion = chosen.version;
        if (useRegistryChoice(launcher, chosen)) {
            launcher.handOff = true;
            return true;
        }
    }
    return askUserForRuntime(launcher);
}

std::wstring runtimeNotFoundMessage(const RuntimePolicy& policy) {
    VersionRangeTexts texts;
    texts.latest = loadResourceString(IDS_LATEST_VERSION);
    texts.maximum = loadResourceString(IDS_MAXIMUM_VERSION);
    texts.minimum = loadResourceString(IDS_MINIMUM_VERSION);
    texts.exact = loadResourceString(IDS_VERSION_REQUIRED);
    texts.between = loadResourceString(IDS_VERSION_BETWEEN);
    UINT messageId = policy.jvmType == JvmType::Server ? IDS_JRE_NOT_FOUND_SERVER : IDS_JRE_NOT_FOUND;
    return formatText(loadResourceString(messageId),
                      {describeVersionRange(policy.minVersion, policy.maxVersion, texts)});
}

void publishRuntime(const std::wstring& jvmPath) {
    SetEnvironmentVariableW(L"KORU_JVM_PATH", jvmPath.c_str());
    SetEnvironmentVariableW(L"KORU_JVM_HOME", parentFolder(jvmPath, 3).c_str());
}
