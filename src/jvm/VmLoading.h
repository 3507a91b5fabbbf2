#pragma once
// Loading the chosen runtime library, creating the one Java VM of the launch and destroying it at the end.
#include "JavaLaunch.h"

// Main thread: loads the library and resolves its two entry points (message 222 or 202 on failure).
bool loadJavaVmLibrary(JavaLaunch& java, const std::wstring& jvmPath);

// Java main thread: creates the VM (message 203 on failure) and redirects the standard streams.
bool createJavaVm(JavaLaunch& java);
