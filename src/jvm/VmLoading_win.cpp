#include "VmLoading.h"

#include "VmCreation.h"
#include "resource.h"
#include "support/ErrorMessages.h"
#include "support/ErrorOwner.h"

namespace {

void reportMissingEntryPoint(DWORD error) {
    reportFormattedError(errorOwner(), IDS_WINDOWS_EXCEPTION, {loadResourceString(IDS_NO_CREATE_JAVA_VM), error});
}

template <typename Proc> bool resolveEntryPoint(HMODULE library, const char* name, Proc& proc) {
    proc = reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(library, name)));
    if (proc)
        return true;
    reportMissingEntryPoint(GetLastError());
    return false;
}

} // namespace

// The library is never freed: the Java VM lives as long as the process.
bool loadJavaVmLibrary(JavaLaunch& java, const std::wstring& jvmPath) {
    HMODULE library = LoadLibraryW(jvmPath.c_str());
    if (!library) {
        DWORD error = GetLastError();
        reportFormattedError(errorOwner(), IDS_JAVA_VM_NOT_LOADED, {jvmPath, error});
        return false;
    }
    if (!resolveEntryPoint(library, "JNI_CreateJavaVM", java.createJavaVmProc) ||
        !resolveEntryPoint(library, "JNI_GetDefaultJavaVMInitArgs", java.getDefaultInitArgsProc))
        return false;
    // An older runtime would refuse the module options with a reason of its own, or ignore them.
    if (java.mainModule.empty() || runtimeHasModules(java.getDefaultInitArgsProc))
        return true;
    reportFormattedError(errorOwner(), IDS_MODULES_NEED_JAVA_9, {java.mainModule, jvmPath});
    return false;
}
