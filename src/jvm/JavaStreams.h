#pragma once
// System.out and System.err replaced by print streams on files. Portable: no Windows headers; the caller
// creates the file's folders first.
#include <jni.h>

#include <string>

enum class StandardStream { Output, Error };

// A new java.io.PrintStream over a java.io.FileOutputStream(path), which creates or truncates the file.
// Null on failure, with the Java error left pending.
jobject openFilePrintStream(JNIEnv* env, const std::wstring& path);

// Opens the stream and hands it to System.setOut or System.setErr. False when the stream was not replaced: a file
// error is left pending, an error raised by the setter has been described.
bool redirectStandardStream(JNIEnv* env, StandardStream which, const std::wstring& path);

// Whether two names given for the output and the error file name one file; asked once the output file is open.
using SameFileTest = bool (*)(const std::wstring& outputPath, const std::wstring& errorPath);

// Both standard streams, as a launch redirects them (an empty path leaves that stream alone). An error file that
// is the output file (the same text, or whatever isSameFile recognises) gets the output's print stream, so both
// keep their text. Every failure is described on the VM's standard error stream and leaves that stream as it was.
void redirectStandardStreams(JNIEnv* env, const std::wstring& outputPath, const std::wstring& errorPath,
                             SameFileTest isSameFile = nullptr);
