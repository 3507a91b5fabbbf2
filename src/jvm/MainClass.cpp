#include "MainClass.h"

#include "JavaCalls.h"
#include "JavaLocalRef.h"
#include "JavaStrings.h"
#include "JavaText.h"

#include <cstring>

// The class is looked up by the exact bytes the VM was given; the name kept for the message is decoded from
// those same bytes, so it shows what the VM searched for.
MainLookup findMainClass(JNIEnv* env, const std::wstring& mainClass, MainMethod& found) {
    auto name = ownLocalRef(env, newJavaString(env, mainClass));
    if (!name) {
        describePendingError(env);
        return MainLookup::NameNotConvertible;
    }
    JavaUtfChars utf(env, name.get());
    if (!utf) {
        describePendingError(env);
        return MainLookup::NameUnreadable;
    }
    found.classNameAsPassed = decodeModifiedUtf8(utf.get(), std::strlen(utf.get()));
    found.mainClass = env->FindClass(utf.get());
    utf.reset();
    if (found.mainClass != nullptr)
        return MainLookup::Found;
    describePendingError(env);
    return MainLookup::ClassNotFound;
}

MainLookup findMainMethod(JNIEnv* env, const std::wstring& mainClass, MainMethod& found) {
    MainLookup classLookup = findMainClass(env, mainClass, found);
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
    auto array = ownLocalRef(env, newStringArray(env, arguments));
    if (!array) {
        describePendingError(env);
        return MainOutcome::ArgumentsFailed;
    }
    if (beforeCall)
        beforeCall();
    env->CallStaticVoidMethod(main.mainClass, main.method, array.get());
    exception = env->ExceptionOccurred();
    return exception == nullptr ? MainOutcome::Returned : MainOutcome::Threw;
}

void callSystemExit(JNIEnv* env) {
    auto system = ownLocalRef(env, env->FindClass("java/lang/System"));
    if (!system) {
        describePendingError(env);
        return;
    }
    jmethodID exitMethod = env->GetStaticMethodID(system.get(), "exit", "(I)V");
    if (exitMethod == nullptr) {
        describePendingError(env);
        return;
    }
    env->CallStaticVoidMethod(system.get(), exitMethod, jint(-1));
    describePendingError(env);
}
