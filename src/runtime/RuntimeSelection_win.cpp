#include "RuntimeSelection.h"

#include "LibraryImage.h"
#include "VersionDescription.h"
#include "resource.h"
#include "support/ErrorMessages.h"
#include "support/Paths.h"

namespace {

enum class RuntimeSource { None, JrePath, LocalRuntime, NativeRegistry, Wow32Registry, UserPick };

bool useJrePath(const RuntimePolicy& policy, RuntimeChoice& choice) {
    if (policy.jrePath.empty())
        return false;
    choice.jvmPath = findJvmLibrary(withTrailingBackslash(policy.jrePath), policy.jvmType);
    return !choice.jvmPath.empty();
}

// Without a local runtime there is no probe at all: an empty home would be searched in the current folder,
// where anyone may have put a library.
bool useLocalRuntime(const RuntimePolicy& policy, RuntimeChoice& choice) {
    std::wstring home;
    if (!findLocalRuntime(home) || home.empty())
        return false;
    choice.jvmPath = findJvmLibrary(home, policy.jvmType);
    return !choice.jvmPath.empty();
}

bool useRegistryChoice(const RuntimePolicy& policy, const JreCandidate& chosen, RuntimeChoice& choice) {
    choice.chosenVersion = chosen.version;
    choice.jvmPath = findJvmLibrary(chosen.home, policy.jvmType);
    return !choice.jvmPath.empty();
}

RuntimeSource useUserPick(const RuntimePolicy& policy, const RuntimeQuestion& askUser, RuntimeChoice& choice) {
    RuntimePick pick;
    if (!askUser || !askUser(runtimeNotFoundMessage(policy), pick) || pick.jvmPath.empty())
        return RuntimeSource::None;
    choice.jvmPath = pick.jvmPath;
    choice.chosenVersion = JavaVersion(); // a registry candidate without its library may have left its version
    choice.pickedHome = pick.home;
    return RuntimeSource::UserPick;
}

RuntimeSource findRuntime(const RuntimePolicy& policy, bool hasCompanion, const RuntimeQuestion& askUser,
                          RuntimeChoice& choice) {
    if (useJrePath(policy, choice))
        return RuntimeSource::JrePath;
    if (useLocalRuntime(policy, choice))
        return RuntimeSource::LocalRuntime;
    JreCandidate chosen;
    if (searchRegistry(policy, RegistryView::Native, chosen)) {
        if (useRegistryChoice(policy, chosen, choice))
            return RuntimeSource::NativeRegistry;
        return useUserPick(policy, askUser, choice);
    }
    // Only a companion can host a runtime from the 32-bit view, and only when no native runtime qualifies.
    if (hasCompanion && searchRegistry(policy, RegistryView::Wow32, chosen) &&
        useRegistryChoice(policy, chosen, choice))
        return RuntimeSource::Wow32Registry;
    return useUserPick(policy, askUser, choice);
}

// A runtime from the 32-bit view is always a 32-bit one. The image itself is examined only for the folders a user
// names ("JRE Path" and the dialog's pick); the local runtime and the native view's runtimes are taken as their
// installers left them.
bool isForCompanion(RuntimeSource source, const std::wstring& jvmPath) {
    switch (source) {
    case RuntimeSource::Wow32Registry:
        return true;
    case RuntimeSource::JrePath:
    case RuntimeSource::UserPick:
        return isX86Library(jvmPath);
    default:
        return false;
    }
}

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

bool resolveRuntime(const RuntimePolicy& policy, const std::wstring& pairProduct, const RuntimeQuestion& askUser,
                    RuntimeChoice& choice) {
    bool hasCompanion = !pairProduct.empty();
    RuntimeSource source = findRuntime(policy, hasCompanion, askUser, choice);
    if (source == RuntimeSource::None)
        return false;
    // Without a companion a 32-bit runtime is not recognised, and loading it fails later with its own message.
    choice.handOff = hasCompanion && isForCompanion(source, choice.jvmPath);
    return true;
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
