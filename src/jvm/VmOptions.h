#pragma once
// What the Java VM is given when it is created: the process environment and the option list.
#include "JavaLaunch.h"

// KORU_JVM_PATH, KORU_JVM_HOME, the Path variable and the library path option; runs before the library is loaded.
void prepareLibraryPaths(JavaLaunch& java, const std::wstring& jvmPath);

// The class path, the configured parameters, the redirection targets and the "Cmd" arguments. False when the
// class path came out empty (after message 209) or the settings file path cannot be formed.
bool assembleVmOptions(JavaLaunch& java);
