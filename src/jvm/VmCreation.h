#pragma once
// Creating the Java VM through the runtime's JNI_CreateJavaVM. Portable: no Windows headers.
#include "JavaRuntime.h"

#include <string>
#include <vector>

// The hooks handed to the VM as the "exit" and "abort" options. Both return at once: the VM then goes on with
// its own exit (with the status given to System.exit) or abort.
void JNICALL exitHook(jint status);
void JNICALL abortHook();

// JNI 1.2 arguments with every option, then "abort" and "exit" with their hooks; unknown options are not ignored.
jint createJavaVm(CreateJavaVmProc create, const std::vector<std::string>& options, JavaVM** vm, JNIEnv** env);

// The string-table ID of the reason for a failed creation (225 to 230), or 0 for an empty reason.
int creationFailureReasonId(jint result);

// The runtime's default thread stack size from a JNI 1.1 record, or 0 when it does not fill one.
jint queryDefaultStackSize(GetDefaultInitArgsProc getDefaults);
