#pragma once
// A JVM of the runtime in KORU_JAVA_HOME, created through the launcher's own createJavaVm over the test classes, with
// the test module on the module path.
#include "jvm/VmCreation.h"

#include <jni.h>

#include <string>
#include <vector>

inline jint createTestVm(std::vector<std::string> options, JavaVM** vm, JNIEnv** env,
                         CreationAbortHandler onAbort = nullptr) {
    options.insert(options.begin(), {"-Djava.class.path=" KORU_JNI_CLASSES, "--module-path=" KORU_JNI_MODULE});
    return createJavaVm(&JNI_CreateJavaVM, options, vm, env, onAbort);
}

// Plain ASCII, as temporary paths and the test's arguments are.
inline std::wstring widen(const std::string& text) { return std::wstring(text.begin(), text.end()); }
