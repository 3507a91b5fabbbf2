#include "RuntimeSelection.h"

#include "support/Paths.h"

// No runtime source is searched yet; the start ends as when the "JRE Not Found" dialog cannot be shown.
bool resolveRuntime(Launcher&) { return false; }

void publishRuntime(const std::wstring& jvmPath) {
    SetEnvironmentVariableW(L"KORU_JVM_PATH", jvmPath.c_str());
    SetEnvironmentVariableW(L"KORU_JVM_HOME", parentFolder(jvmPath, 3).c_str());
}
