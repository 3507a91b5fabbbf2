#pragma once
// The "Java Exception" dialog: the stack trace of an exception that escaped main, with Ignore and Stop.
#include <jni.h>

// True means Stop.
bool showExceptionDialog(jthrowable exception, JNIEnv* env);
