#include "CandidateOrder.h"

#include "support/Trace.h"

#include <algorithm>

namespace {

// The tables are made before main, on one thread, so that no call needs to guard their first use.
const std::vector<VendorKey> theVendorKeys = {
    {L"Software\\JavaSoft\\Java Development Kit\\", RuntimeKind::Jdk, RuntimeVendor::Sun},
    {L"Software\\JavaSoft\\Java Runtime Environment\\", RuntimeKind::Jre, RuntimeVendor::Sun},
    {L"Software\\JRockit\\Java Runtime Environment\\", RuntimeKind::Jre, RuntimeVendor::JRockit},
    {L"Software\\JRockit\\Java Development Kit\\", RuntimeKind::Jdk, RuntimeVendor::JRockit},
    {L"Software\\IBM\\Java2 Runtime Environment\\", RuntimeKind::Jre, RuntimeVendor::Ibm},
};

const std::vector<JvmProbe> serverOnly = {{L"bin\\server\\jvm.dll", true}};
const std::vector<JvmProbe> clientFirst = {
    {L"bin\\client\\jvm.dll", false}, {L"bin\\classic\\jvm.dll", false}, {L"bin\\hotspot\\jvm.dll", false},
    {L"bin\\server\\jvm.dll", true},  {L"bin\\jrockit\\jvm.dll", false},
};
// The server library is tried first and, harmlessly, once more in its place in the client-first list.
const std::vector<JvmProbe> serverFirst = {
    {L"bin\\server\\jvm.dll", true},   {L"bin\\client\\jvm.dll", false}, {L"bin\\classic\\jvm.dll", false},
    {L"bin\\hotspot\\jvm.dll", false}, {L"bin\\server\\jvm.dll", true},  {L"bin\\jrockit\\jvm.dll", false},
};

bool isKindWanted(const RuntimePolicy& policy, RuntimeKind kind) {
    return kind == RuntimeKind::Jdk ? policy.jdkWanted : policy.jreWanted;
}

bool isVendorAccepted(const RuntimePolicy& policy, RuntimeVendor vendor) {
    switch (vendor) {
    case RuntimeVendor::Sun:
        return policy.acceptSun;
    case RuntimeVendor::JRockit:
        return policy.acceptJRockit;
    case RuntimeVendor::Ibm:
        return policy.acceptIbm;
    }
    return false;
}

bool isVendorFavored(const RuntimePolicy& policy, RuntimeVendor vendor) {
    switch (vendor) {
    case RuntimeVendor::Sun:
        return policy.favorSun;
    case RuntimeVendor::JRockit:
        return policy.favorJRockit;
    case RuntimeVendor::Ibm:
        return policy.favorIbm;
    }
    return false;
}

} // namespace

bool isSearched(const RuntimePolicy& policy, RuntimeKind kind, RuntimeVendor vendor) {
    bool kindSearched = policy.favorMode || isKindWanted(policy, kind);
    return kindSearched && (isVendorAccepted(policy, vendor) || isVendorFavored(policy, vendor));
}

bool isFavored(const RuntimePolicy& policy, RuntimeKind kind, RuntimeVendor vendor) {
    return isKindWanted(policy, kind) && isVendorFavored(policy, vendor);
}

bool isKeySearched(const RuntimePolicy& policy, const VendorKey& key) {
    return isSearched(policy, key.kind, key.vendor);
}

bool isKeyFavored(const RuntimePolicy& policy, const VendorKey& key) { return isFavored(policy, key.kind, key.vendor); }

JvmType probeTypeFor(const RuntimePolicy& policy, const VendorKey& key) {
    bool isSunJre = key.vendor == RuntimeVendor::Sun && key.kind == RuntimeKind::Jre;
    if (isSunJre && policy.jvmType == JvmType::FavorServer)
        return JvmType::Default;
    return policy.jvmType;
}

std::wstring runtimeHomeFor(const VendorKey& key, const std::wstring& javaHome) {
    std::wstring home = javaHome;
    if (home.empty() || home.back() != L'\\')
        home += L'\\';
    if (key.kind == RuntimeKind::Jdk)
        home += L"jre\\";
    return home;
}

const std::vector<VendorKey>& vendorKeys() { return theVendorKeys; }

const std::vector<JvmProbe>& jvmProbes(JvmType type) {
    switch (type) {
    case JvmType::Server:
        return serverOnly;
    case JvmType::FavorServer:
        return serverFirst;
    case JvmType::Default:
        break;
    }
    return clientFirst;
}

bool isWithinBounds(const RuntimePolicy& policy, const JavaVersion& version) {
    if (!isUnset(policy.maxVersion) && isGreater(version, policy.maxVersion))
        return false;
    return !isLess(version, policy.minVersion);
}

Refusal checkAgainstPolicy(const RuntimePolicy& policy, JreCandidate& candidate) {
    if (!isWithinBounds(policy, candidate.version))
        return Refusal::OutsideBounds;
    if (!isSearched(policy, candidate.kind, candidate.vendor))
        return Refusal::RuledOut;
    candidate.isFavored = isFavored(policy, candidate.kind, candidate.vendor);
    return Refusal::None;
}

bool comesBefore(const RuntimePolicy& policy, const JreCandidate& a, const JreCandidate& b) {
    if (policy.favorMode && a.isFavored != b.isFavored)
        return a.isFavored;
    if (policy.jvmType == JvmType::FavorServer && a.isServer != b.isServer)
        return a.isServer;
    return isGreater(a.version, b.version);
}

void orderCandidates(const RuntimePolicy& policy, std::vector<JreCandidate>& candidates) {
    // A stable sort: ties keep the order of discovery.
    std::stable_sort(candidates.begin(), candidates.end(),
                     [&policy](const JreCandidate& a, const JreCandidate& b) { return comesBefore(policy, a, b); });
}

JreCandidate chooseCandidate(const RuntimePolicy& policy, std::vector<JreCandidate>& candidates) {
    orderCandidates(policy, candidates);
    for (const std::wstring& entry : policy.preferredVersions) {
        JavaVersion preferred = parseJavaVersion(entry, 0);
        for (const JreCandidate& candidate : candidates) {
            if (!matchesPrefix(candidate.version, preferred))
                continue;
            trace([&] { return L"Preferred versions: \"" + entry + L"\" matches " + format(candidate.version); });
            return candidate;
        }
    }
    return candidates.front();
}
