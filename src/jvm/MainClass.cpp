#include "MainClass.h"

#include "JavaCalls.h"
#include "JavaLocalRef.h"
#include "JavaStrings.h"
#include "JavaText.h"

#include <cstring>

namespace {

// The class is looked up by the exact bytes the VM was given; the name kept for the message is decoded from
// those same bytes, so it shows what the VM searched for.
MainLookup findClass(JNIEnv* env, jstring name, MainMethod& found) {
    const char* utf = env->GetStringUTFChars(name, nullptr);
    if (utf == nullptr) {
        describePendingError(env);
        return MainLookup::NameUnreadable;
    }
    found.classNameAsPassed = decodeModifiedUtf8(utf, std::strlen(utf));
    found.mainClass = env->FindClass(utf);
    env->ReleaseStringUTFChars(name, utf);
    if (found.mainClass != nullptr)
        return MainLookup::Found;
    describePendingError(env);
    return MainLookup::ClassNotFound;
}

} // namespace

MainLookup findMainMethod(JNIEnv* env, const std::wstring& mainClass, MainMethod& found) {
    jstring name = newJavaString(env, mainClass);
    if (name == nullptr) {
        describePendingError(env);
        return MainLookup::NameNotConvertible;
    }
    MainLookup classLookup = findClass(env, name, found);
    env->DeleteLocalRef(name);
    if (classLookup != MainLookup::Found)
        return classLookup;
    found.method = env->GetStaticMethodID(found.mainClass, "main", "([Ljava/lang/String;)V");
    if (found.method != nullptr)
        return MainLookup::Found;
    if (!env->ExceptionCheck())
        return MainLookup::MainMissing;
    env->ExceptionDescribe();
    return MainLookup::MainLookupFailed;
}

MainOutcome callMain(JNIEnv* env, const MainMethod& main, const std::vector<std::wstring>& arguments,
                     const std::function<void()>& beforeCall, jthrowable& exception) {
    exception = nullptr;
    jobjectArray array = newStringArray(env, arguments);
    if (array == nullptr) {
        describePendingError(env);
        return MainOutcome::ArgumentsFailed;
    }
    JavaLocalRef arrayRef(env, array);
    if (beforeCall)
        beforeCall();
    env->CallStaticVoidMethod(main.mainClass, main.method, array);
    exception = env->ExceptionOccurred();
    return exception == nullptr ? MainOutcome::Returned : MainOutcome::Threw;
}

void callSystemExit(JNIEnv* env) {
    jclass system = env->FindClass("java/lang/System");
    if (system == nullptr) {
        describePendingError(env);
        return;
    }
    JavaLocalRef systemRef(env, system);
    jmethodID exitMethod = env->GetStaticMethodID(system, "exit", "(I)V");
    if (exitMethod == nullptr) {
        describePendingError(env);
        return;
    }
    env->CallStaticVoidMethod(system, exitMethod, jint(-1));
    describePendingError(env);
}
