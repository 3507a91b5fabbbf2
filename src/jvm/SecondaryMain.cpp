#include "SecondaryMain.h"

#include "JavaCalls.h"
#include "JavaLocalRef.h"
#include "JavaStrings.h"
#include "JavaThreadAttachment.h"
#include "MainClass.h"

#include <optional>

namespace {

struct SecondaryMethod {
    jmethodID method = nullptr;
    bool returnsInt = false;
};

// The void form is asked for first; the error of that lookup is cleared, the int form's stays pending.
SecondaryMethod findSecondaryMain(JNIEnv* env, jclass type) {
    SecondaryMethod found;
    found.method = env->GetStaticMethodID(type, "secondaryMain", "([Ljava/lang/String;)V");
    if (env->ExceptionCheck())
        env->ExceptionClear();
    if (found.method != nullptr)
        return found;
    found.method = env->GetStaticMethodID(type, "secondaryMain", "([Ljava/lang/String;)I");
    found.returnsInt = true;
    return found;
}

// The class is looked up as main's was, through the main module's descriptor when no class is named.
void callSecondaryMain(JNIEnv* env, const ForwardedStart& start, const ForwardReply& reply) {
    std::wstring className = start.mainClass;
    if (className.empty() && findModuleMainClass(env, start.mainModule, className) != MainLookup::Found)
        return reply(failedForwardReply);
    MainMethod main;
    if (findMainClass(env, className, main) != MainLookup::Found)
        return reply(failedForwardReply);
    auto type = ownLocalRef(env, main.mainClass);
    SecondaryMethod secondary = findSecondaryMain(env, type.get());
    if (secondary.method == nullptr)
        return reply(failedForwardReply);
    auto arguments = ownLocalRef(env, newStringArray(env, start.arguments));
    if (!arguments)
        return reply(failedForwardReply);
    if (!secondary.returnsInt) {
        // Answered first, so that the later instance ends while secondaryMain runs.
        reply(0);
        env->CallStaticVoidMethod(type.get(), secondary.method, arguments.get());
        return;
    }
    jint result = env->CallStaticIntMethod(type.get(), secondary.method, arguments.get());
    reply(env->ExceptionCheck() ? failedForwardReply : result);
}

} // namespace

bool serveForwardedStart(JavaVM* vm, const ForwardedStart& start, const ForwardReply& reply) {
    JNIEnv* env = nullptr;
    if (vm == nullptr || vm->AttachCurrentThread(reinterpret_cast<void**>(&env), nullptr) != JNI_OK)
        return false;
    bool attached = true;
    std::optional<JavaThreadAttachment> detachOnExit;
    if (!start.keepAlive)
        detachOnExit.emplace(vm, attached);
    callSecondaryMain(env, start, reply);
    describePendingError(env);
    return true;
}
