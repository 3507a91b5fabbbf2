#pragma once
// The Java main thread: it creates the VM, calls main and ends with the result the run step turns into an exit code.
#include "launcher/Launcher.h"

// Starts the Java main thread with the configured stack size and waits for it; 0 means success.
uint32_t runJavaMainThread(Launcher& launcher);

// On the Java main thread: finds the main class, calls main with the application arguments, deals with an
// exception that escapes it, and detaches.
bool invokeMain(Launcher& launcher);
