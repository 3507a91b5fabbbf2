#pragma once
// Loading the chosen runtime library and creating the one Java VM of the launch.
#include "launcher/Launcher.h"

// Main thread: loads jvmPath and resolves its two entry points (message 222 or 202 on failure).
bool loadJavaVmLibrary(Launcher& launcher);

// Java main thread: creates the VM (message 203 on failure) and redirects the standard streams.
bool createJavaVm(Launcher& launcher);
