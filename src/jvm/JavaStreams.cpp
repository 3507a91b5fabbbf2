#include "JavaStreams.h"

#include "JavaCalls.h"
#include "JavaLocalRef.h"
#include "JavaStrings.h"

namespace {

const char* setterName(StandardStream which) { return which == StandardStream::Output ? "setOut" : "setErr"; }

bool handToSystem(JNIEnv* env, StandardStream which, jobject stream) {
    jclass system = env->FindClass("java/lang/System");
    if (system == nullptr)
        return false;
    JavaLocalRef systemRef(env, system);
    jmethodID setter = env->GetStaticMethodID(system, setterName(which), "(Ljava/io/PrintStream;)V");
    if (setter == nullptr)
        return false;
    env->CallStaticVoidMethod(system, setter, stream);
    if (!env->ExceptionCheck())
        return true;
    env->ExceptionDescribe();
    return false;
}

} // namespace

jobject openFilePrintStream(JNIEnv* env, const std::wstring& path) {
    jstring name = newJavaString(env, path);
    if (name == nullptr)
        return nullptr;
    JavaLocalRef nameRef(env, name);
    // FileOutputStream(String) creates the file or truncates it, so each launch starts the file afresh.
    jobject file = newJavaObject(env, "java/io/FileOutputStream", "(Ljava/lang/String;)V", name);
    if (file == nullptr)
        return nullptr;
    JavaLocalRef fileRef(env, file);
    return newJavaObject(env, "java/io/PrintStream", "(Ljava/io/OutputStream;)V", file);
}

bool redirectStandardStream(JNIEnv* env, StandardStream which, const std::wstring& path) {
    jobject stream = openFilePrintStream(env, path);
    if (stream == nullptr)
        return false;
    JavaLocalRef streamRef(env, stream);
    return handToSystem(env, which, stream);
}

void redirectStandardStreams(JNIEnv* env, const std::wstring& outputPath, const std::wstring& errorPath) {
    jobject output = nullptr;
    if (!outputPath.empty()) {
        output = openFilePrintStream(env, outputPath);
        if (output != nullptr && !handToSystem(env, StandardStream::Output, output)) {
            env->DeleteLocalRef(output);
            output = nullptr;
        }
        describePendingError(env);
    }
    JavaLocalRef outputRef(env, output);
    if (errorPath.empty())
        return;
    // Two streams opened on one file would each write from its start, over the other's text.
    bool sharesOutput = output != nullptr && errorPath == outputPath;
    bool redirected = sharesOutput ? handToSystem(env, StandardStream::Error, output)
                                   : redirectStandardStream(env, StandardStream::Error, errorPath);
    if (!redirected)
        describePendingError(env);
}
