#pragma once
// Owners of JNI resources that must be given back: local references and the chars of GetStringUTFChars.
// Portable: no Windows headers.
#include <jni.h>

#include <utility>

// Local references are dropped as soon as they are done with: the frame of the launcher's threads lives as long
// as the application, and a launch may pass many arguments.
template <typename T> class JavaLocalRef {
public:
    JavaLocalRef() = default;
    JavaLocalRef(JNIEnv* env, T object) : env_(env), object_(object) {}
    JavaLocalRef(const JavaLocalRef&) = delete;
    JavaLocalRef& operator=(const JavaLocalRef&) = delete;
    JavaLocalRef(JavaLocalRef&& other) noexcept : env_(other.env_), object_(other.release()) {}
    JavaLocalRef& operator=(JavaLocalRef&& other) noexcept {
        JNIEnv* env = other.env_;
        reset(other.release());
        env_ = env;
        return *this;
    }
    ~JavaLocalRef() { reset(); }

    T get() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }

    T release() { return std::exchange(object_, nullptr); }
    void reset(T object = nullptr) {
        T old = std::exchange(object_, object);
        if (old != nullptr)
            env_->DeleteLocalRef(old);
    }

private:
    JNIEnv* env_ = nullptr;
    T object_ = nullptr;
};

template <typename T> JavaLocalRef<T> ownLocalRef(JNIEnv* env, T object) { return JavaLocalRef<T>(env, object); }

// The modified UTF-8 chars of a Java string, released with the string they came from.
class JavaUtfChars {
public:
    JavaUtfChars(JNIEnv* env, jstring string)
        : env_(env), string_(string), chars_(string != nullptr ? env->GetStringUTFChars(string, nullptr) : nullptr) {}
    JavaUtfChars(const JavaUtfChars&) = delete;
    JavaUtfChars& operator=(const JavaUtfChars&) = delete;
    JavaUtfChars(JavaUtfChars&& other) noexcept
        : env_(other.env_), string_(other.string_), chars_(std::exchange(other.chars_, nullptr)) {}
    JavaUtfChars& operator=(JavaUtfChars&&) = delete;
    ~JavaUtfChars() { reset(); }

    // Null when the string was null or its chars could not be had (an error may then be pending).
    const char* get() const { return chars_; }
    explicit operator bool() const { return chars_ != nullptr; }

    void reset() {
        if (chars_ != nullptr)
            env_->ReleaseStringUTFChars(string_, std::exchange(chars_, nullptr));
    }

private:
    JNIEnv* env_;
    jstring string_;
    const char* chars_;
};
