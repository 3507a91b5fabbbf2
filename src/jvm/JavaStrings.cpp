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
    auto chars = ownLocalRef(env, env->NewCharArray(length));
    if (!chars)
        return nullptr;
    env->SetCharArrayRegion(chars.get(), 0, length, reinterpret_cast<const jchar*>(units.data()));
    if (env->ExceptionCheck())
        return nullptr;
    return static_cast<jstring>(env->NewObject(stringClass, constructor, chars.get()));
}

} // namespace

jstring newJavaString(JNIEnv* env, const std::wstring& text) {
    std::u16string units = toJavaChars(text);
    if (!fitsJavaLength(units.size()))
        return nullptr;
    auto stringClass = ownLocalRef(env, env->FindClass("java/lang/String"));
    if (!stringClass)
        return nullptr;
    return newStringFromChars(env, stringClass.get(), units);
}

jobjectArray newStringArray(JNIEnv* env, const std::vector<std::wstring>& list) {
    if (!fitsJavaLength(list.size()))
        return nullptr;
    auto stringClass = ownLocalRef(env, env->FindClass("java/lang/String"));
    if (!stringClass)
        return nullptr;
    auto array = ownLocalRef(env, env->NewObjectArray(jsize(list.size()), stringClass.get(), nullptr));
    if (!array)
        return nullptr;
    for (size_t i = 0; i < list.size(); ++i) {
        auto element = ownLocalRef(env, newJavaString(env, list[i]));
        if (!element)
            return nullptr;
        env->SetObjectArrayElement(array.get(), jsize(i), element.get());
    }
    return array.release();
}

bool javaStringText(JNIEnv* env, jstring string, std::wstring& text) {
    JavaUtfChars utf(env, string);
    if (!utf)
        return false;
    // Modified UTF-8 never holds a zero byte (U+0000 is C0 80), so the terminator marks the true end.
    text = decodeModifiedUtf8(utf.get(), std::strlen(utf.get()));
    return true;
}
