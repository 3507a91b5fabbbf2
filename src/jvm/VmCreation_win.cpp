#include "VmCreation.h"

#include "ConsoleClose.h"
#include "Redirection.h"
#include "VmLoading.h"
#include "resource.h"
#include "support/AnsiText.h"
#include "support/Console.h"
#include "support/ErrorMessages.h"
#include "support/ErrorOwner.h"
#include "support/TextFormat.h"
#include "support/TextSplit.h"
#include "support/Trace.h"

namespace {

void reportCreationFailure(jint result) {
    int reason = creationFailureReasonId(result);
    std::wstring reasonText = reason != 0 ? loadResourceString(static_cast<UINT>(reason)) : std::wstring();
    reportFormattedError(errorOwner(), IDS_JNI_EXCEPTION, {loadResourceString(IDS_JAVA_VM_NOT_CREATED), reasonText});
}

bool isBlank(wchar_t c) { return c <= L' '; }

// The VM aborted while being created, after printing why (or nothing) where a GUI program's user never sees it: the
// user is told what it said, or that the main module could not be resolved, and the start ends as a failed one does
// instead of with the VM's 1.
void reportAbortedCreation(const std::string& printed, const std::wstring& mainModule) {
    std::wstring reason = trimmed(fromThreadAnsi(printed), isBlank);
    trace([&] { return L"VM creation: the VM aborted: " + reason; });
    if (!mainModule.empty() && abortedInBootLayer(printed)) {
        reportFormattedError(errorOwner(), IDS_MAIN_MODULE_NOT_STARTED, {mainModule});
        ExitProcess(static_cast<UINT>(-1));
    }
    if (reason.empty())
        reason = loadResourceString(IDS_REASON_UNKNOWN);
    reportFormattedError(errorOwner(), IDS_JNI_EXCEPTION, {loadResourceString(IDS_JAVA_VM_NOT_CREATED), reason});
    ExitProcess(static_cast<UINT>(-1));
}

} // namespace

bool createJavaVm(JavaLaunch& java) {
    JavaVM* vm = nullptr;
    JNIEnv* env = nullptr;
    for (const std::string& option : java.vmOptions)
        trace([&] { return L"VM option: " + fromThreadAnsi(option); });
    jint result = createJavaVm(java.createJavaVmProc, java.vmOptions, &vm, &env, [&java](const std::string& printed) {
        reportAbortedCreation(printed, java.mainModule);
    });
    trace([&] { return L"VM creation: JNI_CreateJavaVM returned " + decimalText(result); });
    if (result != JNI_OK) {
        // Whatever a failed call left in its out-parameters is not a VM: shutdown must not destroy it.
        reportCreationFailure(result);
        return false;
    }
    java.javaVm = vm;
    java.jniEnv = env;
    java.javaMainThreadAttached = true;
    if (isConsoleLauncher())
        passConsoleCloseToJava(java.createJavaVmProc);
    redirectStandardFiles(env, java.outputFile, java.errorFile);
    return true;
}
