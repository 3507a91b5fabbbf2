#pragma once
// Owner of a JNI local reference. Portable: no Windows headers.
#include <jni.h>

// Local references are dropped as soon as they are done with: the frame of the launcher's threads lives as long
// as the application, and a launch may pass many arguments.
class JavaLocalRef {
public:
    JavaLocalRef(JNIEnv* env, jobject object) : env_(env), object_(object) {}
    ~JavaLocalRef() {
        if (object_ != nullptr)
            env_->DeleteLocalRef(object_);
    }
    JavaLocalRef(const JavaLocalRef&) = delete;
    JavaLocalRef& operator=(const JavaLocalRef&) = delete;

private:
    JNIEnv* env_;
    jobject object_;
};
