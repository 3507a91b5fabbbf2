#include "RuntimeSearch.h"

#include "CompanionWidth.h"
#include "RegistryKeys.h"
#include "RuntimeTrace.h"
#include "support/FileSystem.h"
#include "support/ModulePath.h"
#include "support/Paths.h"
#include "support/Trace.h"

std::wstring findJvmLibrary(const std::wstring& home, JvmType type, bool& isServer) {
    if (home.empty())
        return std::wstring();
    // A relative home is made full here, against the current folder, as the search below would resolve it: loading
    // the library by a relative path would search the DLL search order instead and might load another one.
    std::wstring fullHome = isRelativePath(home) ? fullPathOf(home) : home;
    for (const JvmProbe& probe : jvmProbes(type)) {
        std::wstring path = fullHome + probe.relativePath;
        if (entryExists(path)) {
            isServer = probe.isServer;
            return path;
        }
    }
    return std::wstring();
}

std::wstring findJvmLibrary(const std::wstring& home, JvmType type) {
    bool isServer = false;
    return findJvmLibrary(home, type, isServer);
}

bool isRuntimeFolder(const std::wstring& home) { return entryExists(home + L"bin\\java.dll"); }

bool findLocalRuntime(std::wstring& home) {
    home.clear();
    std::wstring executable = executablePath();
    if (executable.empty())
        return false;
    std::wstring folder = folderWithBackslash(executable);
    if (isRuntimeFolder(folder))
        home = folder;
    else if (isRuntimeFolder(folder + localRuntimeFolder))
        home = folder + localRuntimeFolder;
    return true;
}

namespace {

Refusal examineVendorEntry(const RuntimePolicy& policy, const VendorKey& key, const std::wstring& name,
                           RegistryView view, JreCandidate& candidate, std::wstring& javaHome) {
    candidate.version = parseJavaVersion(name, 0);
    candidate.kind = key.kind;
    candidate.vendor = key.vendor;
    if (!isWithinBounds(policy, candidate.version))
        return Refusal::OutsideBounds;
    javaHome = readStringValue(RegistryHive::Machine, key.path + name, L"JavaHome", view);
    if (javaHome.empty())
        return Refusal::NoHome;
    candidate.home = runtimeHomeFor(key, javaHome);
    if (findJvmLibrary(candidate.home, probeTypeFor(policy, key), candidate.isServer).empty())
        return Refusal::NoLibrary;
    candidate.isFavored = isKeyFavored(policy, key);
    return Refusal::None;
}

} // namespace

void collectRegistryCandidates(const RuntimePolicy& policy, const VendorKey& key, RegistryView view,
                               std::vector<JreCandidate>& candidates) {
    for (const std::wstring& name : subkeyNames(RegistryHive::Machine, key.path, view)) {
        JreCandidate candidate;
        std::wstring javaHome;
        Refusal refusal = examineVendorEntry(policy, key, name, view, candidate, javaHome);
        trace([&] {
            std::wstring where = registryKeyName(RegistryHive::Machine, key.path + name, view);
            return describeFinding(where, refusal, candidate, candidate.home);
        });
        if (refusal == Refusal::None)
            candidates.push_back(std::move(candidate));
    }
}
