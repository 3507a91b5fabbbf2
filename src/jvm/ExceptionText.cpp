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
    auto type = ownLocalRef(env, env->GetObjectClass(exception));
    if (!type)
        return;
    jmethodID print = env->GetMethodID(type.get(), "printStackTrace", "(Ljava/io/PrintStream;)V");
    if (print != nullptr)
        env->CallVoidMethod(exception, print, printer);
}

JavaLocalRef<jstring> bufferText(JNIEnv* env, jobject buffer, jstring charset) {
    auto type = ownLocalRef(env, env->GetObjectClass(buffer));
    if (!type)
        return {};
    jmethodID toText = env->GetMethodID(type.get(), "toString", "(Ljava/lang/String;)Ljava/lang/String;");
    if (toText == nullptr)
        return {};
    return ownLocalRef(env, static_cast<jstring>(env->CallObjectMethod(buffer, toText, charset)));
}

std::wstring printedText(JNIEnv* env, jthrowable exception, jstring charset) {
    auto buffer = ownLocalRef(env, newJavaObject(env, "java/io/ByteArrayOutputStream", "()V"));
    if (!buffer)
        return {};
    auto printer =
        ownLocalRef(env, newJavaObject(env, "java/io/PrintStream", "(Ljava/io/OutputStream;ZLjava/lang/String;)V",
                                       buffer.get(), JNI_FALSE, charset));
    if (!printer)
        return {};
    printTrace(env, exception, printer.get());
    describePendingError(env);
    JavaLocalRef<jstring> text = bufferText(env, buffer.get(), charset);
    describePendingError(env);
    std::wstring result;
    javaStringText(env, text.get(), result);
    return result;
}

} // namespace

std::wstring exceptionText(JNIEnv* env, jthrowable exception) {
    if (exception == nullptr)
        return {};
    auto charset = ownLocalRef(env, newJavaString(env, traceCharset));
    std::wstring text = charset ? printedText(env, exception, charset.get()) : std::wstring();
    describePendingError(env);
    return text;
}
