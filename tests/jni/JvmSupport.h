#pragma once
// Creating a JVM over the test classes, and reading Java values back without the code under test.
#include <jni.h>

#include <string>
#include <vector>

// Through the launcher's createJavaVm and the runtime's own JNI_CreateJavaVM, with the test classes on the
// class path before `extraOptions`.
jint createTestVm(const std::vector<std::string>& extraOptions, JavaVM** vm, JNIEnv** env);

// The JVM of the test process, made by the test environment.
JNIEnv* testEnv();
void setTestEnv(JNIEnv* env);

// Plain ASCII, as temporary paths are.
std::wstring widen(const std::string& text);

// The UTF-16 units of a Java string, read with GetStringRegion.
std::u16string javaUnits(JNIEnv* env, jstring string);
