#include "JavaStreams.h"

#include "JavaCalls.h"
#include "JavaLocalRef.h"
#include "JavaStrings.h"

namespace {

const char* setterName(StandardStream which) { return which == StandardStream::Output ? "setOut" : "setErr"; }

bool handToSystem(JNIEnv* env, StandardStream which, jobject stream) {
    auto system = ownLocalRef(env, env->FindClass("java/lang/System"));
    if (!system)
        return false;
    jmethodID setter = env->GetStaticMethodID(system.get(), setterName(which), "(Ljava/io/PrintStream;)V");
    if (setter == nullptr)
        return false;
    env->CallStaticVoidMethod(system.get(), setter, stream);
    if (!env->ExceptionCheck())
        return true;
    env->ExceptionDescribe();
    return false;
}

} // namespace

jobject openFilePrintStream(JNIEnv* env, const std::wstring& path) {
    auto name = ownLocalRef(env, newJavaString(env, path));
    if (!name)
        return nullptr;
    // FileOutputStream(String) creates the file or truncates it, so each launch starts the file afresh.
    auto file = ownLocalRef(env, newJavaObject(env, "java/io/FileOutputStream", "(Ljava/lang/String;)V", name.get()));
    if (!file)
        return nullptr;
    return newJavaObject(env, "java/io/PrintStream", "(Ljava/io/OutputStream;)V", file.get());
}

bool redirectStandardStream(JNIEnv* env, StandardStream which, const std::wstring& path) {
    auto stream = ownLocalRef(env, openFilePrintStream(env, path));
    return stream && handToSystem(env, which, stream.get());
}

void redirectStandardStreams(JNIEnv* env, const std::wstring& outputPath, const std::wstring& errorPath,
                             SameFileTest isSameFile) {
    JavaLocalRef<jobject> output;
    if (!outputPath.empty()) {
        output = ownLocalRef(env, openFilePrintStream(env, outputPath));
        if (output && !handToSystem(env, StandardStream::Output, output.get()))
            output.reset();
        describePendingError(env);
    }
    if (errorPath.empty())
        return;
    // Two streams opened on one file would each write from its start, over the other's text.
    bool sharesOutput = output && (errorPath == outputPath || (isSameFile && isSameFile(outputPath, errorPath)));
    bool redirected = sharesOutput ? handToSystem(env, StandardStream::Error, output.get())
                                   : redirectStandardStream(env, StandardStream::Error, errorPath);
    if (!redirected)
        describePendingError(env);
}
