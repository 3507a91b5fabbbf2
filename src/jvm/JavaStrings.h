#pragma once
// Launcher strings entering Java (through String(char[]), so no code page is involved) and Java strings coming back.
// Portable: no Windows headers.
#include <jni.h>

#include <string>
#include <vector>

// Null on failure (a Java exception may be pending).
jstring newJavaString(JNIEnv* env, const std::wstring& text);
jobjectArray newStringArray(JNIEnv* env, const std::vector<std::wstring>& list);

// The text of a Java string through GetStringUTFChars, decoded correctly; false when the chars cannot be had.
bool javaStringText(JNIEnv* env, jstring string, std::wstring& text);
