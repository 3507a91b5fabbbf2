#pragma once
// The places where Java runtimes are found: a home folder's jvm.dll, the runtime beside the launcher, and the
// vendors' installation keys in the registry.
#include "CandidateOrder.h"

#include <string>
#include <vector>

enum class RegistryView { Native, Wow32 };

// The jvm.dll chosen for the type below home (which ends in a backslash); empty when none exists, and then
// isServer is left as it was. An empty home finds nothing: it would probe relative to the current folder.
std::wstring findJvmLibrary(const std::wstring& home, JvmType type, bool& isServer);
std::wstring findJvmLibrary(const std::wstring& home, JvmType type);

// The runtime shipped beside the launcher's executable: its own folder or its "jre64\" sub-folder, or empty.
// False only when the executable's path cannot be read (which has been reported).
bool findLocalRuntime(std::wstring& home);

// "bin\java.dll" exists under home.
bool isRuntimeFolder(const std::wstring& home);

// Appends the runtimes registered under one vendor key in one view, in the order of the key's subkeys.
void collectRegistryCandidates(const RuntimePolicy& policy, const VendorKey& key, RegistryView view,
                               std::vector<JreCandidate>& candidates);
