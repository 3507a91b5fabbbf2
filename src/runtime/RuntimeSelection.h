#pragma once
// Which runtime the launcher uses: "JRE Path", the local runtime, the registry, or the user's pick.
#include "launcher/Launcher.h"

// True when jvmPath is settled (or the start is handed to the companion).
bool resolveRuntime(Launcher& launcher);

// KORU_JVM_PATH and KORU_JVM_HOME for the Java process and its children.
void publishRuntime(const std::wstring& jvmPath);
