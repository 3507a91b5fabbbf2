#pragma once
// System.out and System.err sent to the files named by "Output File" and "Error File" (an empty name leaves
// that stream alone), whose folders are created first. Nothing is shown to the user: a file that cannot be
// opened leaves the Java stream as it was, and the VM describes the error on its standard error stream.
#include <jni.h>

#include <string>

void redirectStandardFiles(JNIEnv* env, const std::wstring& outputFile, const std::wstring& errorFile);
