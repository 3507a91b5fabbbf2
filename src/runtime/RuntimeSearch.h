#pragma once
// The places where Java runtimes are found: a home folder's jvm.dll, the runtime beside the launcher, the
// installation keys in the registry, and JAVA_HOME.
#include "CandidateOrder.h"
#include "InstallerKeys.h"

#include <string>
#include <vector>

// The launcher's own view, and the view of the companion's width (the 32-bit view for the 64-bit launcher, the
// 64-bit view for the 32-bit one).
enum class RegistryView { Native, Companion };
// The vendor keys of old are read from the machine's hive only; today's installers also register for one user.
enum class RegistryHive { Machine, User };

// The jvm.dll chosen for the type below home (which ends in a backslash); empty when none exists, and then
// isServer is left as it was. An empty home finds nothing: it would probe relative to the current folder.
std::wstring findJvmLibrary(const std::wstring& home, JvmType type, bool& isServer);
std::wstring findJvmLibrary(const std::wstring& home, JvmType type);

// The runtime shipped beside the launcher's executable: its own folder or its localRuntimeFolder, or empty.
// False only when the executable's path cannot be read (which has been reported).
bool findLocalRuntime(std::wstring& home);

// What the "release" file in home (which ends in a backslash) says; empty texts without one.
ReleaseFacts readReleaseFacts(const std::wstring& home);

// "bin\java.dll" exists under home.
bool isRuntimeFolder(const std::wstring& home);

// Appends the runtimes registered under one vendor key in one view, in the order of the key's subkeys.
void collectRegistryCandidates(const RuntimePolicy& policy, const VendorKey& key, RegistryView view,
                               std::vector<JreCandidate>& candidates);

// Appends the runtimes registered under one of today's installer keys in one hive and view. A registration whose
// home is gone (an uninstalled runtime) or lacks the library for the policy's JVM type is skipped.
void collectInstallerCandidates(const RuntimePolicy& policy, const InstallerKey& key, RegistryHive hive,
                                RegistryView view, std::vector<JreCandidate>& candidates);

// The runtime JAVA_HOME names, when it holds the library for the policy's JVM type and the policy admits it.
bool findJavaHomeRuntime(const RuntimePolicy& policy, JreCandidate& candidate);
