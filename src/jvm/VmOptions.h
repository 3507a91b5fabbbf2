#pragma once
// What the Java VM is given when it is created: the process environment and the option list.
#include "JavaLaunch.h"

// KORU_JVM_PATH, KORU_JVM_HOME, the Path variable and the library path option; runs before the library is loaded.
void prepareLibraryPaths(JavaLaunch& java, const std::wstring& jvmPath);

enum class VmOptionsAssembly {
    Assembled,
    // The class path came out empty (after message 209) or the settings file path cannot be formed: the start goes
    // on without the parameters, the redirection targets and the "Cmd" arguments, and fails in Java.
    Incomplete,
    Refused, // a parameter only the java command understands (after a message naming it): the start ends
};

// The class and module paths, the main module, the configured parameters, the redirection targets and the "Cmd"
// arguments.
VmOptionsAssembly assembleVmOptions(JavaLaunch& java);
