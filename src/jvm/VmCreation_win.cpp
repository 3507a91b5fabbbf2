#include "VmCreation.h"

#include "Redirection.h"
#include "VmLoading.h"
#include "resource.h"
#include "support/ErrorMessages.h"
#include "support/ErrorOwner.h"

namespace {

void reportCreationFailure(jint result) {
    int reason = creationFailureReasonId(result);
    std::wstring reasonText = reason != 0 ? loadResourceString(static_cast<UINT>(reason)) : std::wstring();
    reportFormattedError(errorOwner(), IDS_JNI_EXCEPTION, {loadResourceString(IDS_JAVA_VM_NOT_CREATED), reasonText});
}

} // namespace

bool createJavaVm(JavaLaunch& java) {
    JavaVM* vm = nullptr;
    JNIEnv* env = nullptr;
    jint result = createJavaVm(java.createJavaVmProc, java.vmOptions, &vm, &env);
    if (result != JNI_OK) {
        // Whatever a failed call left in its out-parameters is not a VM: shutdown must not destroy it.
        reportCreationFailure(result);
        return false;
    }
    java.javaVm = vm;
    java.jniEnv = env;
    java.javaMainThreadAttached = true;
    redirectStandardFiles(env, java.outputFile, java.errorFile);
    return true;
}
