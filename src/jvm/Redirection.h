#pragma once
// System.out and System.err sent to the files named by "Output File" and "Error File", whose folders are
// created first. Nothing is shown to the user: a file that cannot be opened leaves the Java stream as it was.
#include <jni.h>

#include <string>

bool redirectStandardOutput(JNIEnv* env, const std::wstring& path);
bool redirectStandardError(JNIEnv* env, const std::wstring& path);
