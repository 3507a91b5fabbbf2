#include "ExceptionText.h"

#include "JavaCalls.h"
#include "JavaLocalRef.h"
#include "JavaStrings.h"

namespace {

// The trace goes through bytes and back; both ends name UTF-8 so that no character is lost to the VM's default
// charset (an ANSI code page on Windows, ASCII under a plain POSIX locale).
const wchar_t* const traceCharset = L"UTF-8";

// Calls the throwable's own printStackTrace, so that a class that prints itself differently is shown its way.
void printTrace(JNIEnv* env, jthrowable exception, jobject printer) {
    jclass type = env->GetObjectClass(exception);
    if (type == nullptr)
        return;
    JavaLocalRef typeRef(env, type);
    jmethodID print = env->GetMethodID(type, "printStackTrace", "(Ljava/io/PrintStream;)V");
    if (print != nullptr)
        env->CallVoidMethod(exception, print, printer);
}

jstring bufferText(JNIEnv* env, jobject buffer, jstring charset) {
    jclass type = env->GetObjectClass(buffer);
    if (type == nullptr)
        return nullptr;
    JavaLocalRef typeRef(env, type);
    jmethodID toText = env->GetMethodID(type, "toString", "(Ljava/lang/String;)Ljava/lang/String;");
    if (toText == nullptr)
        return nullptr;
    return static_cast<jstring>(env->CallObjectMethod(buffer, toText, charset));
}

std::wstring printedText(JNIEnv* env, jthrowable exception, jstring charset) {
    jobject buffer = newJavaObject(env, "java/io/ByteArrayOutputStream", "()V");
    if (buffer == nullptr)
        return {};
    JavaLocalRef bufferRef(env, buffer);
    jobject printer = newJavaObject(env, "java/io/PrintStream", "(Ljava/io/OutputStream;ZLjava/lang/String;)V", buffer,
                                    JNI_FALSE, charset);
    if (printer == nullptr)
        return {};
    JavaLocalRef printerRef(env, printer);
    printTrace(env, exception, printer);
    describePendingError(env);
    jstring text = bufferText(env, buffer, charset);
    describePendingError(env);
    JavaLocalRef textRef(env, text);
    std::wstring result;
    javaStringText(env, text, result);
    return result;
}

} // namespace

std::wstring exceptionText(JNIEnv* env, jthrowable exception) {
    if (exception == nullptr)
        return {};
    jstring charset = newJavaString(env, traceCharset);
    JavaLocalRef charsetRef(env, charset);
    std::wstring text = charset == nullptr ? std::wstring() : printedText(env, exception, charset);
    describePendingError(env);
    return text;
}
