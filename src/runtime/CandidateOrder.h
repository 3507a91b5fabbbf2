#pragma once
// How registry candidates are searched, ordered and chosen: the vendor key table, the jvm.dll probes of each
// jvm type, the stable ordering and the "Preferred versions" choice.
// Portable: no Windows headers.
#include "RuntimePolicy.h"

#include <string>
#include <vector>

// One vendor key under HKEY_LOCAL_MACHINE, in the fixed order in which the keys are searched.
struct VendorKey {
    const wchar_t* path; // ends in a backslash
    RuntimeKind kind;
    RuntimeVendor vendor;
};

// The five vendor keys: Sun JDK, Sun JRE, JRockit JRE, JRockit JDK, IBM JRE.
const std::vector<VendorKey>& vendorKeys();

// Whether runtimes of the kind and vendor are looked for ("JVM Source", "VM Provider"), and whether they count as
// favoured: a wanted kind from a favoured vendor.
bool isSearched(const RuntimePolicy& policy, RuntimeKind kind, RuntimeVendor vendor);
bool isFavored(const RuntimePolicy& policy, RuntimeKind kind, RuntimeVendor vendor);
bool isKeySearched(const RuntimePolicy& policy, const VendorKey& key);
bool isKeyFavored(const RuntimePolicy& policy, const VendorKey& key);
// The jvm type used to probe the key's runtimes: the Sun JRE key never looks for the server library first.
JvmType probeTypeFor(const RuntimePolicy& policy, const VendorKey& key);
// The folder below the registered home that holds the runtime: a JDK's runtime is its "jre\" folder.
std::wstring runtimeHomeFor(const VendorKey& key, const std::wstring& javaHome);

struct JvmProbe {
    const wchar_t* relativePath; // below the home folder
    bool isServer;
};

// The jvm.dll locations tried for a jvm type, in order; the first one that exists wins.
const std::vector<JvmProbe>& jvmProbes(JvmType type);

// Whether the version lies inside [minVersion, maxVersion]; an unset maximum imposes no upper bound.
bool isWithinBounds(const RuntimePolicy& policy, const JavaVersion& version);

// Why a runtime found is no candidate; None when it is one.
enum class Refusal { None, OutsideBounds, NoHome, NoLibrary, OtherView, RuledOut };

// The policy's word on a runtime whose version, kind and vendor are known: OutsideBounds, RuledOut (a kind or
// vendor the settings do not search) or None, which also settles isFavored.
Refusal checkAgainstPolicy(const RuntimePolicy& policy, JreCandidate& candidate);

// Whether `a` must come before `b`: favoured first (favorMode), server first (FavorServer), higher version first.
bool comesBefore(const RuntimePolicy& policy, const JreCandidate& a, const JreCandidate& b);

// Stable sort by comesBefore; candidates that tie keep the order in which they were found.
void orderCandidates(const RuntimePolicy& policy, std::vector<JreCandidate>& candidates);

// Orders the candidates, then takes the first one matched by the earliest "Preferred versions" entry that matches
// any, else the first one. Requires at least one candidate.
JreCandidate chooseCandidate(const RuntimePolicy& policy, std::vector<JreCandidate>& candidates);
