#include "JvmSupport.h"

#include "jvm/VmCreation.h"

namespace {

JNIEnv* processEnv = nullptr;

} // namespace

jint createTestVm(const std::vector<std::string>& extraOptions, JavaVM** vm, JNIEnv** env) {
    std::vector<std::string> options{"-Djava.class.path=" KORU_JNI_CLASSES};
    options.insert(options.end(), extraOptions.begin(), extraOptions.end());
    return createJavaVm(&JNI_CreateJavaVM, options, vm, env);
}

JNIEnv* testEnv() { return processEnv; }

void setTestEnv(JNIEnv* env) { processEnv = env; }

std::wstring widen(const std::string& text) { return std::wstring(text.begin(), text.end()); }

std::u16string javaUnits(JNIEnv* env, jstring string) {
    std::u16string units(size_t(env->GetStringLength(string)), u'\0');
    env->GetStringRegion(string, 0, jsize(units.size()), reinterpret_cast<jchar*>(&units[0]));
    return units;
}
