#include "JavaCalls.h"

#include "JavaLocalRef.h"

#include <cstdarg>

void describePendingError(JNIEnv* env) {
    if (env->ExceptionCheck())
        env->ExceptionDescribe();
}

jobject newJavaObject(JNIEnv* env, const char* className, const char* constructorSignature, ...) {
    jclass type = env->FindClass(className);
    if (type == nullptr)
        return nullptr;
    JavaLocalRef typeRef(env, type);
    jmethodID constructor = env->GetMethodID(type, "<init>", constructorSignature);
    if (constructor == nullptr)
        return nullptr;
    va_list arguments;
    va_start(arguments, constructorSignature);
    jobject object = env->NewObjectV(type, constructor, arguments);
    va_end(arguments);
    return object;
}
