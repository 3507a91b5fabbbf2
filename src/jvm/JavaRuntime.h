#pragma once
// The boundary to the hosted Java runtime: the published JNI invocation interface and nothing of our own.
// Portable: no Windows headers.
#include <jni.h>

using CreateJavaVmProc = jint(JNICALL*)(JavaVM** vm, void** env, void* args);
using GetDefaultInitArgsProc = jint(JNICALL*)(void* args);
