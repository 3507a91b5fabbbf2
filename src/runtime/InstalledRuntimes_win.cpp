// Runtimes that today's installers register, and the one JAVA_HOME names: their homes are looked at for the
// library, the version, the kind and the VM before the policy has its say.
#include "LibraryImage.h"
#include "RegistryKeys.h"
#include "RuntimeSearch.h"
#include "RuntimeTrace.h"
#include "support/Environment.h"
#include "support/FileSystem.h"
#include "support/Paths.h"
#include "support/Trace.h"
#include "support/UniqueResource.h"

namespace {

// A release file is a few hundred bytes; more than this is not one.
constexpr DWORD releaseFileLimit = 64 * 1024;

// What is known of a runtime before its home is looked at.
struct Registration {
    std::wstring name; // the subkey name that may hold the version; empty for JAVA_HOME
    std::wstring home; // as registered
    std::optional<RuntimeKind> kind;
    std::optional<RuntimeVendor> vendor;
    // Where it was found: a registry key, or JAVA_HOME when there is none.
    std::wstring keyPath;
    RegistryHive hive = RegistryHive::Machine;
    RegistryView view = RegistryView::Native;
};

std::wstring whereFound(const Registration& registration) {
    if (registration.keyPath.empty())
        return L"JAVA_HOME " + quotedForTrace(registration.home);
    return registryKeyName(registration.hive, registration.keyPath, registration.view);
}

std::string readReleaseFile(const std::wstring& home) {
    std::wstring path = home + L"release";
    UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return std::string();
    std::string text(releaseFileLimit, '\0');
    DWORD read = 0;
    if (!ReadFile(file.get(), text.data(), releaseFileLimit, &read, nullptr))
        return std::string();
    text.resize(read);
    return text;
}

// A Java 9 or later runtime keeps its library below the home itself; a Java 8 JDK below its "jre\" folder.
std::wstring findLibrary(const std::wstring& home, JvmType type, JreCandidate& candidate) {
    for (const std::wstring& folder : {home, home + L"jre\\"}) {
        std::wstring library = findJvmLibrary(folder, type, candidate.isServer);
        if (!library.empty()) {
            candidate.home = folder;
            return library;
        }
    }
    return std::wstring();
}

// HKEY_CURRENT_USER\Software is one key in both views, so only the library tells which view a runtime registered
// there belongs to: one of the companion's width is for the companion, which only that view's search may hand it to.
bool belongsToOtherView(const Registration& registration, const std::wstring& library) {
    if (registration.keyPath.empty() || registration.hive != RegistryHive::User)
        return false;
    return isCompanionLibrary(library) != (registration.view == RegistryView::Companion);
}

RuntimeKind kindFromLayout(const std::wstring& home, const JreCandidate& candidate) {
    bool isJdk = candidate.home != home || entryExists(home + L"bin\\javac.exe");
    return isJdk ? RuntimeKind::Jdk : RuntimeKind::Jre;
}

Refusal examine(const RuntimePolicy& policy, const Registration& registration, JreCandidate& candidate) {
    if (registration.home.empty())
        return Refusal::NoHome;
    std::wstring home = withTrailingBackslash(registration.home);
    std::wstring library = findLibrary(home, policy.jvmType, candidate);
    if (library.empty())
        return Refusal::NoLibrary;
    if (belongsToOtherView(registration, library))
        return Refusal::OtherView;
    // The release file is read only when the registration leaves the version or the VM open.
    bool needsRelease = !registration.vendor || parseJavaVersion(registration.name, 0).count < 2;
    ReleaseFacts release = needsRelease ? readReleaseFacts(home) : ReleaseFacts();
    candidate.version = installedVersion(registration.name, release.javaVersion);
    candidate.kind = registration.kind.value_or(kindFromLayout(home, candidate));
    candidate.vendor = registration.vendor.value_or(isOpenJ9(release) ? RuntimeVendor::Ibm : RuntimeVendor::Sun);
    return checkAgainstPolicy(policy, candidate);
}

bool consider(const RuntimePolicy& policy, const Registration& registration, JreCandidate& candidate) {
    Refusal refusal = examine(policy, registration, candidate);
    trace([&] { return describeFinding(whereFound(registration), refusal, candidate, registration.home); });
    return refusal == Refusal::None;
}

void considerKey(const RuntimePolicy& policy, Registration& registration, const InstallerKey& key,
                 std::vector<JreCandidate>& candidates) {
    registration.home = readStringValue(registration.hive, registration.keyPath, key.homeValue, registration.view);
    JreCandidate candidate;
    if (consider(policy, registration, candidate))
        candidates.push_back(std::move(candidate));
}

} // namespace

void collectInstallerCandidates(const RuntimePolicy& policy, const InstallerKey& key, RegistryHive hive,
                                RegistryView view, std::vector<JreCandidate>& candidates) {
    for (const std::wstring& name : subkeyNames(hive, key.path, view)) {
        Registration registration{name, L"", kindFromKey(key, name), std::nullopt, key.path + name, hive, view};
        if (!key.perVm) {
            considerKey(policy, registration, key, candidates);
            continue;
        }
        std::wstring versionKey = registration.keyPath;
        for (const std::wstring& vm : subkeyNames(hive, versionKey, view)) {
            registration.vendor = vendorFromVmName(vm);
            registration.keyPath = versionKey + L"\\" + vm + L"\\MSI";
            considerKey(policy, registration, key, candidates);
        }
    }
}

bool findJavaHomeRuntime(const RuntimePolicy& policy, JreCandidate& candidate) {
    std::wstring home = environmentVariable(L"JAVA_HOME");
    // Set by hand, the value is often written in quotes.
    if (home.size() >= 2 && home.front() == L'"' && home.back() == L'"')
        home = home.substr(1, home.size() - 2);
    // "." or "jdk" would name a folder below wherever the launcher was started, not a runtime of the machine.
    if (!home.empty() && isRelativePath(home)) {
        trace([&] { return L"JAVA_HOME " + quotedForTrace(home) + L": ignored, not a full path"; });
        return false;
    }
    Registration registration;
    registration.home = home;
    return consider(policy, registration, candidate);
}

ReleaseFacts readReleaseFacts(const std::wstring& home) { return parseReleaseFile(readReleaseFile(home)); }
