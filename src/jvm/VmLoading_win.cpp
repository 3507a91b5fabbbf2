#include "VmLoading.h"

#include "support/ErrorMessages.h"
#include "support/ErrorOwner.h"

#include "resource.h"

namespace {

void reportMissingEntryPoint(DWORD error) {
    reportFormattedError(errorOwner(), IDS_WINDOWS_EXCEPTION, {loadResourceString(IDS_NO_CREATE_JAVA_VM), error});
}

} // namespace

// The library is never freed: the Java VM lives as long as the process.
bool loadJavaVmLibrary(Launcher& launcher) {
    HMODULE library = LoadLibraryW(launcher.jvmPath.c_str());
    if (!library) {
        DWORD error = GetLastError();
        reportFormattedError(errorOwner(), IDS_JAVA_VM_NOT_LOADED, {launcher.jvmPath, error});
        return false;
    }
    launcher.createJavaVmProc =
        reinterpret_cast<CreateJavaVmProc>(reinterpret_cast<void*>(GetProcAddress(library, "JNI_CreateJavaVM")));
    if (!launcher.createJavaVmProc) {
        reportMissingEntryPoint(GetLastError());
        return false;
    }
    launcher.getDefaultInitArgsProc = reinterpret_cast<GetDefaultInitArgsProc>(
        reinterpret_cast<void*>(GetProcAddress(library, "JNI_GetDefaultJavaVMInitArgs")));
    if (!launcher.getDefaultInitArgsProc) {
        reportMissingEntryPoint(GetLastError());
        return false;
    }
    return true;
}
