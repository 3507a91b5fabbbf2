#pragma once
// Small JNI steps that the launcher's Java calls share. Portable: no Windows headers.
#include <jni.h>

// ExceptionDescribe prints the pending error on the VM's standard error stream and clears it.
void describePendingError(JNIEnv* env);

// A new object of the named class through the constructor of the given signature; null with the Java error
// pending when the class, the constructor or the construction fails.
jobject newJavaObject(JNIEnv* env, const char* className, const char* constructorSignature, ...);
