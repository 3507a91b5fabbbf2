#include "MainClass.h"

#include "JavaCalls.h"
#include "JavaLocalRef.h"
#include "JavaStrings.h"
#include "JavaText.h"

#include <algorithm>
#include <cstring>

namespace {

// A call's result, null when it threw (the error stays pending).
jobject unlessThrown(JNIEnv* env, jobject result) { return env->ExceptionCheck() ? nullptr : result; }

// What an instance method of `target` returns; null when the call failed (with the error pending) or returned null.
jobject callObjectMethod(JNIEnv* env, jobject target, const char* name, const char* signature,
                         jobject argument = nullptr) {
    auto type = ownLocalRef(env, env->GetObjectClass(target));
    jmethodID method = type ? env->GetMethodID(type.get(), name, signature) : nullptr;
    return method == nullptr ? nullptr : unlessThrown(env, env->CallObjectMethod(target, method, argument));
}

JavaLocalRef<jobject> bootLayer(JNIEnv* env) {
    auto layerClass = ownLocalRef(env, env->FindClass("java/lang/ModuleLayer"));
    jmethodID boot =
        layerClass ? env->GetStaticMethodID(layerClass.get(), "boot", "()Ljava/lang/ModuleLayer;") : nullptr;
    return ownLocalRef(env, boot ? unlessThrown(env, env->CallStaticObjectMethod(layerClass.get(), boot)) : nullptr);
}

// Optional.orElse(null): what the optional holds, or null.
JavaLocalRef<jobject> contentOf(JNIEnv* env, const JavaLocalRef<jobject>& optional) {
    return ownLocalRef(env, callObjectMethod(env, optional.get(), "orElse", "(Ljava/lang/Object;)Ljava/lang/Object;"));
}

JavaLocalRef<jobject> moduleNamed(JNIEnv* env, const std::wstring& module) {
    auto layer = bootLayer(env);
    auto name = ownLocalRef(env, layer ? newJavaString(env, module) : nullptr);
    if (!name)
        return {};
    auto found = ownLocalRef(
        env, callObjectMethod(env, layer.get(), "findModule", "(Ljava/lang/String;)Ljava/util/Optional;", name.get()));
    return found ? contentOf(env, found) : JavaLocalRef<jobject>();
}

JavaLocalRef<jobject> descriptorMainClass(JNIEnv* env, jobject module) {
    auto descriptor =
        ownLocalRef(env, callObjectMethod(env, module, "getDescriptor", "()Ljava/lang/module/ModuleDescriptor;"));
    auto named = ownLocalRef(
        env, descriptor ? callObjectMethod(env, descriptor.get(), "mainClass", "()Ljava/util/Optional;") : nullptr);
    return named ? contentOf(env, named) : JavaLocalRef<jobject>();
}

// A null that comes with an error pending is a failed call, described here; without one it is an answer.
bool failed(JNIEnv* env, bool gotNull) {
    if (!gotNull || !env->ExceptionCheck())
        return false;
    env->ExceptionDescribe();
    return true;
}

} // namespace

// Through the public API the java command uses for -m: the boot layer's module and its descriptor.
MainLookup findModuleMainClass(JNIEnv* env, const std::wstring& module, std::wstring& mainClass) {
    auto found = moduleNamed(env, module);
    if (failed(env, !found))
        return MainLookup::MainLookupFailed;
    if (!found)
        return MainLookup::ModuleNotFound;
    auto name = descriptorMainClass(env, found.get());
    if (failed(env, !name))
        return MainLookup::MainLookupFailed;
    if (!name)
        return MainLookup::NoModuleMainClass;
    if (!javaStringText(env, static_cast<jstring>(name.get()), mainClass)) {
        describePendingError(env);
        return MainLookup::MainLookupFailed;
    }
    std::replace(mainClass.begin(), mainClass.end(), L'.', L'/');
    return MainLookup::Found;
}

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
