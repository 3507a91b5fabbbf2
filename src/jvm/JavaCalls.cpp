#include "JavaCalls.h"

#include "JavaLocalRef.h"

#include <cstdarg>

void describePendingError(JNIEnv* env) {
    if (env->ExceptionCheck())
        env->ExceptionDescribe();
}

jobject newJavaObject(JNIEnv* env, const char* className, const char* constructorSignature, ...) {
    auto type = ownLocalRef(env, env->FindClass(className));
    if (!type)
        return nullptr;
    jmethodID constructor = env->GetMethodID(type.get(), "<init>", constructorSignature);
    if (constructor == nullptr)
        return nullptr;
    va_list arguments;
    va_start(arguments, constructorSignature);
    jobject object = env->NewObjectV(type.get(), constructor, arguments);
    va_end(arguments);
    return object;
}
