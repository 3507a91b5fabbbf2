#pragma once
// Which runtime the launcher uses: "JRE Path", the local runtime, the registry, or the user's pick.
#include "RuntimeSearch.h"
#include "launcher/Launcher.h"

// True when jvmPath is settled (or the start is handed to the companion).
bool resolveRuntime(Launcher& launcher);

// Collects the runtimes of every searched vendor key in one view and chooses one; false when there is none.
bool searchRegistry(const RuntimePolicy& policy, RegistryView view, JreCandidate& chosen);

// The "JRE Not Found" message: text 206 (a server JVM is required) or 207, naming the versions that would do.
std::wstring runtimeNotFoundMessage(const RuntimePolicy& policy);

// KORU_JVM_PATH and KORU_JVM_HOME for the Java process and its children.
void publishRuntime(const std::wstring& jvmPath);
