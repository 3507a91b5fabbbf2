#include "RuntimeSelection.h"

#include "CompanionWidth.h"
#include "LibraryImage.h"
#include "RuntimeTrace.h"
#include "VersionDescription.h"
#include "resource.h"
#include "support/ErrorMessages.h"
#include "support/Paths.h"
#include "support/Trace.h"

namespace {

enum class RuntimeSource { None, JrePath, LocalRuntime, NativeRegistry, CompanionRegistry, JavaHome, UserPick };

const wchar_t* sourceName(RuntimeSource source) {
    static const wchar_t* const names[] = {L"none",           L"JRE Path",           L"the local runtime",
                                           L"the registry",   companionRegistryName, L"JAVA_HOME",
                                           L"the user's pick"};
    return names[static_cast<int>(source)];
}

const wchar_t* viewName(RegistryView view) {
    return view == RegistryView::Companion ? companionViewName : L"native view";
}

// One line for a source that yields a library, or says why it yields none.
void traceSource(const wchar_t* source, const std::wstring& home, const std::wstring& jvmPath) {
    trace([&] {
        if (jvmPath.empty())
            return std::wstring(source) + L" " + quotedForTrace(home) + L": no jvm.dll for the JVM type";
        return std::wstring(source) + L" " + quotedForTrace(home) + L": " + jvmPath;
    });
}

bool useJrePath(const RuntimePolicy& policy, RuntimeChoice& choice) {
    if (policy.jrePath.empty())
        return false;
    choice.jvmPath = findJvmLibrary(withTrailingBackslash(policy.jrePath), policy.jvmType);
    traceSource(L"JRE Path", policy.jrePath, choice.jvmPath);
    return !choice.jvmPath.empty();
}

// Without a local runtime there is no probe at all: an empty home would be searched in the current folder,
// where anyone may have put a library.
bool useLocalRuntime(const RuntimePolicy& policy, RuntimeChoice& choice) {
    std::wstring home;
    if (!findLocalRuntime(home) || home.empty()) {
        trace([] { return std::wstring(L"local runtime: none beside the launcher"); });
        return false;
    }
    choice.jvmPath = findJvmLibrary(home, policy.jvmType);
    traceSource(L"local runtime", home, choice.jvmPath);
    return !choice.jvmPath.empty();
}

// The version and vendor stay unset unless the candidate is used: a later source must not inherit them.
bool useRegistryChoice(const RuntimePolicy& policy, const JreCandidate& chosen, RuntimeChoice& choice) {
    choice.jvmPath = findJvmLibrary(chosen.home, policy.jvmType);
    if (choice.jvmPath.empty())
        return false;
    choice.chosenVersion = chosen.version;
    choice.chosenVendor = chosen.vendor;
    return true;
}

// Only without a companion is a runtime of the companion's width passed over: with one, it is handed off.
bool useJavaHome(const RuntimePolicy& policy, bool hasCompanion, RuntimeChoice& choice) {
    JreCandidate candidate;
    if (!findJavaHomeRuntime(policy, candidate))
        return false;
    std::wstring jvmPath = findJvmLibrary(candidate.home, policy.jvmType);
    if (!hasCompanion && isCompanionLibrary(jvmPath)) {
        trace([&] {
            return L"JAVA_HOME: " + jvmPath + L" is a " + companionWidth + L" library, and there is no companion";
        });
        return false;
    }
    choice.jvmPath = jvmPath;
    return true;
}

RuntimeSource useUserPick(const RuntimePolicy& policy, const RuntimeQuestion& askUser, RuntimeChoice& choice) {
    RuntimePick pick;
    trace([] { return std::wstring(L"JRE Not Found: asking the user for a runtime folder"); });
    if (!askUser || !askUser(runtimeNotFoundMessage(policy), pick) || pick.jvmPath.empty()) {
        trace([] { return std::wstring(L"JRE Not Found: no runtime picked"); });
        return RuntimeSource::None;
    }
    choice.jvmPath = pick.jvmPath;
    choice.pickedHome = pick.home;
    return RuntimeSource::UserPick;
}

// JAVA_HOME is the last source the launcher consults itself; the user is asked only when it does not do either.
RuntimeSource useLastSources(const RuntimePolicy& policy, bool hasCompanion, const RuntimeQuestion& askUser,
                             RuntimeChoice& choice) {
    if (useJavaHome(policy, hasCompanion, choice))
        return RuntimeSource::JavaHome;
    return useUserPick(policy, askUser, choice);
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
        return useLastSources(policy, hasCompanion, askUser, choice);
    }
    // Only a companion can host a runtime from its view, and only when no native runtime qualifies.
    if (!hasCompanion) {
        trace([] { return L"registry, " + std::wstring(companionViewName) + L": not searched without a companion"; });
        return useLastSources(policy, hasCompanion, askUser, choice);
    }
    if (searchRegistry(policy, RegistryView::Companion, chosen) && useRegistryChoice(policy, chosen, choice))
        return RuntimeSource::CompanionRegistry;
    return useLastSources(policy, hasCompanion, askUser, choice);
}

// A runtime from the companion's view is always of its width. The image itself is examined only for the folders a
// user names ("JRE Path", JAVA_HOME and the dialog's pick); the local runtime and the native view's runtimes are taken
// as their installers left them.
bool isForCompanion(RuntimeSource source, const std::wstring& jvmPath) {
    switch (source) {
    case RuntimeSource::CompanionRegistry:
        return true;
    case RuntimeSource::JrePath:
    case RuntimeSource::JavaHome:
    case RuntimeSource::UserPick:
        return isCompanionLibrary(jvmPath);
    default:
        return false;
    }
}

void collectCandidates(const RuntimePolicy& policy, RegistryView view, std::vector<JreCandidate>& candidates) {
    for (const VendorKey& key : vendorKeys()) {
        if (isKeySearched(policy, key))
            collectRegistryCandidates(policy, key, view, candidates);
        else
            trace([&] { return L"HKLM\\" + std::wstring(key.path) + L": not searched (JVM Source, VM Provider)"; });
    }
    for (RegistryHive hive : {RegistryHive::Machine, RegistryHive::User}) {
        for (const InstallerKey& key : installerKeys())
            collectInstallerCandidates(policy, key, hive, view, candidates);
    }
}

} // namespace

bool searchRegistry(const RuntimePolicy& policy, RegistryView view, JreCandidate& chosen) {
    std::vector<JreCandidate> candidates;
    collectCandidates(policy, view, candidates);
    if (candidates.empty()) {
        trace([&] { return L"registry, " + std::wstring(viewName(view)) + L": no candidate"; });
        return false;
    }
    chosen = chooseCandidate(policy, candidates);
    trace([&] { return L"registry, " + std::wstring(viewName(view)) + L": " + describeOrder(candidates); });
    trace([&] { return L"registry, " + std::wstring(viewName(view)) + L": chose " + describeCandidate(chosen); });
    return true;
}

bool resolveRuntime(const RuntimePolicy& policy, const std::wstring& pairProduct, const RuntimeQuestion& askUser,
                    RuntimeChoice& choice) {
    trace([&] { return describePolicy(policy, pairProduct); });
    bool hasCompanion = !pairProduct.empty();
    RuntimeSource source = findRuntime(policy, hasCompanion, askUser, choice);
    if (source == RuntimeSource::None) {
        trace([] { return std::wstring(L"runtime: none found"); });
        return false;
    }
    // Without a companion a runtime of its width is not recognised, and loading it fails later with its own message.
    choice.handOff = hasCompanion && isForCompanion(source, choice.jvmPath);
    trace([&] { return L"runtime: " + choice.jvmPath + L" from " + sourceName(source); });
    trace([&] {
        if (!choice.handOff)
            return std::wstring(L"companion: no hand-off, the runtime runs in this process");
        return L"companion: a " + std::wstring(companionWidth) + L" runtime, handed off to " +
               quotedForTrace(pairProduct);
    });
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
