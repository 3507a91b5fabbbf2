#pragma once
// Closing the console window ends a console program: Windows gives it a few seconds once its handlers return. The
// VM's own handler only raises its termination signal and returns, so the process was ended while Java ran its
// shutdown hooks.
#include "JavaRuntime.h"

// Once the VM exists: a console close raises the VM's termination signal through the runtime library (as the
// VM's own handler does) and then waits, so that the hooks run to their end and Java ends the process, within the
// time Windows allows. Nothing changes when the library has no such entry.
void passConsoleCloseToJava(CreateJavaVmProc createJavaVm);
