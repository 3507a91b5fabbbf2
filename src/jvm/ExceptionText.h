#pragma once
// The printed stack trace of a Java throwable, as the exception dialog shows it. Portable: no Windows headers.
#include <jni.h>

#include <string>

// Empty when it cannot be obtained; errors raised while printing are described and the text so far is kept.
// Called with no exception pending (the thrown one cleared first); none is left pending.
std::wstring exceptionText(JNIEnv* env, jthrowable exception);
