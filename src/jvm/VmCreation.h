#pragma once
// Creating the Java VM through the runtime's JNI_CreateJavaVM. Portable: no Windows headers.
#include "JavaMain.h"
#include "JavaRuntime.h"

#include <functional>
#include <string>
#include <vector>

// The hooks handed to the VM as the "exit" and "abort" options. Both return at once: the VM then goes on with
// its own exit (with the status given to System.exit) or abort.
void JNICALL exitHook(jint status);
void JNICALL abortHook();

// Called on the thread the VM aborts on while it is being created (a heap it cannot have, two collectors, a module
// or a class loader it cannot find), with what the VM printed meanwhile: the last few KiB, from a line's start. A GUI
// program has no standard output to show it. When the handler returns, the VM ends the process with 1.
using CreationAbortHandler = std::function<void(const std::string& printed)>;

// HotSpot heads the reasons for a start-up it gives up itself; without that heading the VM gave up in Java's own
// start-up code, which builds the boot layer of modules and prints its reason on a standard output of its own.
bool abortedInBootLayer(const std::string& printed);

// JNI 1.2 arguments with every option, then "abort" and "exit" with their hooks and "vfprintf" with one that prints
// what the VM prints on our own standard error (or output); unknown options are not ignored.
jint createJavaVm(CreateJavaVmProc create, const std::vector<std::string>& options, JavaVM** vm, JNIEnv** env,
                  CreationAbortHandler onAbort = nullptr);

// The string-table ID of the reason for a failed creation (225 to 230), or 0 for an empty reason.
int creationFailureReasonId(jint result);

// Modules came with Java 9, and with them JNI version 9, which older runtimes refuse to describe.
bool runtimeHasModules(GetDefaultInitArgsProc getDefaults);

// The runtime's default thread stack size from a JNI 1.1 record, or 0 when it does not fill one.
jint queryDefaultStackSize(GetDefaultInitArgsProc getDefaults);

// What the launcher does when the VM ends: `finished` once the VM has done its work at the end (DestroyJavaVM has
// returned, or the exit hook runs after System.exit: what the VM writes at its end is written by then), `aborted` when
// it gives up, while it is being created or later (it then ends the process). Each is called at most once, on whichever
// thread ends the VM, and must not throw.
struct VmEndHandlers {
    void (*finished)() = nullptr;
    void (*aborted)() = nullptr;
};
void setVmEndHandlers(const VmEndHandlers& handlers);

// At shutdown: DestroyJavaVM, which waits for the application's non-daemon threads. A VM whose creating thread is
// still attached is left alone, since the call would wait for that thread for ever.
void destroyJavaVm(JavaMain& java);
