#include "JavaStreams.h"

#include "JavaLocalRef.h"
#include "JavaStrings.h"

namespace {

// A new object of the named class through a one-argument constructor; null with the Java error pending.
jobject newObjectFrom(JNIEnv* env, const char* className, const char* signature, jobject argument) {
    jclass type = env->FindClass(className);
    if (type == nullptr)
        return nullptr;
    JavaLocalRef typeRef(env, type);
    jmethodID constructor = env->GetMethodID(type, "<init>", signature);
    if (constructor == nullptr)
        return nullptr;
    return env->NewObject(type, constructor, argument);
}

const char* setterName(StandardStream which) { return which == StandardStream::Output ? "setOut" : "setErr"; }
const char* fieldName(StandardStream which) { return which == StandardStream::Output ? "out" : "err"; }

StandardStream otherStream(StandardStream which) {
    return which == StandardStream::Output ? StandardStream::Error : StandardStream::Output;
}

// What each standard stream was last given, so that an error file that is the output file shares its stream:
// two streams opened on one file would each write from its start, over the other's text. Paths are compared
// exactly, as they are never normalised.
struct Redirection {
    std::wstring path;
    jobject stream = nullptr; // global reference
};
Redirection redirections[2];

Redirection& redirectionOf(StandardStream which) { return redirections[which == StandardStream::Output ? 0 : 1]; }

bool systemStreamIs(JNIEnv* env, StandardStream which, jobject stream) {
    jclass system = env->FindClass("java/lang/System");
    if (system == nullptr)
        return false;
    JavaLocalRef systemRef(env, system);
    jfieldID field = env->GetStaticFieldID(system, fieldName(which), "Ljava/io/PrintStream;");
    if (field == nullptr)
        return false;
    jobject current = env->GetStaticObjectField(system, field);
    JavaLocalRef currentRef(env, current);
    return current != nullptr && env->IsSameObject(current, stream);
}

// The stream the other standard stream was given on this path, while it still writes there.
jobject sharedStream(JNIEnv* env, StandardStream which, const std::wstring& path) {
    StandardStream other = otherStream(which);
    const Redirection& given = redirectionOf(other);
    if (given.stream == nullptr || given.path != path)
        return nullptr;
    bool stillThere = systemStreamIs(env, other, given.stream);
    if (env->ExceptionCheck())
        env->ExceptionDescribe();
    return stillThere ? env->NewLocalRef(given.stream) : nullptr;
}

void remember(JNIEnv* env, StandardStream which, const std::wstring& path, jobject stream) {
    Redirection& given = redirectionOf(which);
    if (given.stream != nullptr)
        env->DeleteGlobalRef(given.stream);
    given.stream = env->NewGlobalRef(stream);
    given.path = path;
}

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
    jobject file = newObjectFrom(env, "java/io/FileOutputStream", "(Ljava/lang/String;)V", name);
    if (file == nullptr)
        return nullptr;
    JavaLocalRef fileRef(env, file);
    return newObjectFrom(env, "java/io/PrintStream", "(Ljava/io/OutputStream;)V", file);
}

bool redirectStandardStream(JNIEnv* env, StandardStream which, const std::wstring& path) {
    jobject stream = sharedStream(env, which, path);
    if (stream == nullptr)
        stream = openFilePrintStream(env, path);
    if (stream == nullptr)
        return false;
    JavaLocalRef streamRef(env, stream);
    if (!handToSystem(env, which, stream))
        return false;
    remember(env, which, path, stream);
    return true;
}
