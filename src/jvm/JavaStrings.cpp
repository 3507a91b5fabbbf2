#include "JavaStrings.h"

#include "JavaLocalRef.h"
#include "JavaText.h"

#include <cstring>
#include <limits>

namespace {

bool fitsJavaLength(size_t count) { return count <= size_t(std::numeric_limits<jsize>::max()); }

jstring newStringFromChars(JNIEnv* env, jclass stringClass, const std::u16string& units) {
    jmethodID constructor = env->GetMethodID(stringClass, "<init>", "([C)V");
    if (constructor == nullptr)
        return nullptr;
    auto length = jsize(units.size());
    jcharArray chars = env->NewCharArray(length);
    if (chars == nullptr)
        return nullptr;
    JavaLocalRef charsRef(env, chars);
    env->SetCharArrayRegion(chars, 0, length, reinterpret_cast<const jchar*>(units.data()));
    if (env->ExceptionCheck())
        return nullptr;
    return static_cast<jstring>(env->NewObject(stringClass, constructor, chars));
}

} // namespace

jstring newJavaString(JNIEnv* env, const std::wstring& text) {
    std::u16string units = toJavaChars(text);
    if (!fitsJavaLength(units.size()))
        return nullptr;
    jclass stringClass = env->FindClass("java/lang/String");
    if (stringClass == nullptr)
        return nullptr;
    JavaLocalRef classRef(env, stringClass);
    return newStringFromChars(env, stringClass, units);
}

jobjectArray newStringArray(JNIEnv* env, const std::vector<std::wstring>& list) {
    if (!fitsJavaLength(list.size()))
        return nullptr;
    jclass stringClass = env->FindClass("java/lang/String");
    if (stringClass == nullptr)
        return nullptr;
    JavaLocalRef classRef(env, stringClass);
    jobjectArray array = env->NewObjectArray(jsize(list.size()), stringClass, nullptr);
    if (array == nullptr)
        return nullptr;
    for (size_t i = 0; i < list.size(); ++i) {
        jstring element = newJavaString(env, list[i]);
        if (element == nullptr) {
            env->DeleteLocalRef(array);
            return nullptr;
        }
        env->SetObjectArrayElement(array, jsize(i), element);
        env->DeleteLocalRef(element);
    }
    return array;
}

bool javaStringText(JNIEnv* env, jstring string, std::wstring& text) {
    if (string == nullptr)
        return false;
    const char* utf = env->GetStringUTFChars(string, nullptr);
    if (utf == nullptr)
        return false;
    // Modified UTF-8 never holds a zero byte (U+0000 is C0 80), so the terminator marks the true end.
    text = decodeModifiedUtf8(utf, std::strlen(utf));
    env->ReleaseStringUTFChars(string, utf);
    return true;
}
