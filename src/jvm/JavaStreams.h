#pragma once
// System.out and System.err replaced by print streams on files. Portable: no Windows headers; the caller
// creates the file's folders first.
#include <jni.h>

#include <string>

enum class StandardStream { Output, Error };

// A new java.io.PrintStream over a java.io.FileOutputStream(path), which creates or truncates the file.
// Null on failure, with the Java error left pending.
jobject openFilePrintStream(JNIEnv* env, const std::wstring& path);

// Opens the stream and hands it to System.setOut or System.setErr. False when the stream was not replaced;
// an error raised by the setter is described. A path that the other standard stream was redirected to (and
// still writes to) gets that same print stream, so that output and error sharing a file both keep their text.
bool redirectStandardStream(JNIEnv* env, StandardStream which, const std::wstring& path);
