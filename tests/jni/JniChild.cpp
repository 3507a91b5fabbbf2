// Helper of the JNI tests for what ends, blocks or redirects a process:
//   koru_jni_child exit-main N         main of a class that calls System.exit(N)
//   koru_jni_child failed-start        a start whose main class is missing, then DestroyJavaVM; exits with 0
//   koru_jni_child redirect OUT ERR    both streams redirected, then "out " and "err " printed twice; exits with 0
#include "JvmSupport.h"

#include "jvm/JavaStreams.h"
#include "jvm/JavaThreadAttachment.h"
#include "jvm/MainClass.h"

#include <thread>

namespace {

// Exit statuses that tell the test the child came back where it should not have.
constexpr int cameBack = 100;
constexpr int setupFailed = 101;

int runApp(JNIEnv* env, const std::vector<std::wstring>& arguments) {
    MainMethod main;
    if (findMainMethod(env, L"koru/test/App", main) != MainLookup::Found)
        return setupFailed;
    jthrowable exception = nullptr;
    return callMain(env, main, arguments, nullptr, exception) == MainOutcome::Returned ? 0 : cameBack;
}

int runRedirected(JNIEnv* env, const std::string& output, const std::string& error) {
    redirectStandardStreams(env, widen(output), widen(error));
    if (env->ExceptionCheck())
        return cameBack;
    return runApp(env, {L"print", L"out ", L"err "}) + runApp(env, {L"print", L"out ", L"err "});
}

// As the launcher does it: the VM is created on a thread of its own, which fails to find the main class and ends;
// the first thread then destroys the VM. A thread that ended still attached keeps DestroyJavaVM waiting for ever.
int runFailedStart() {
    JavaVM* vm = nullptr;
    MainLookup lookup = MainLookup::Found;
    std::thread javaMain([&] {
        JNIEnv* env = nullptr;
        if (createTestVm({}, &vm, &env) != JNI_OK)
            return;
        bool attached = true;
        JavaThreadAttachment attachment(vm, attached);
        MainMethod main;
        lookup = findMainMethod(env, L"koru/test/Missing", main);
    });
    javaMain.join();
    if (vm == nullptr || lookup != MainLookup::ClassNotFound)
        return setupFailed;
    return vm->DestroyJavaVM() == JNI_OK ? 0 : cameBack;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    arguments.resize(3);
    const std::string& mode = arguments[0];
    if (mode == "failed-start")
        return runFailedStart();
    JavaVM* vm = nullptr;
    JNIEnv* env = nullptr;
    if (createTestVm({"-Xcheck:jni"}, &vm, &env) != JNI_OK)
        return setupFailed;
    if (mode == "exit-main")
        return runApp(env, {L"exit", widen(arguments[1])});
    if (mode == "redirect")
        return runRedirected(env, arguments[1], arguments[2]);
    return cameBack;
}
