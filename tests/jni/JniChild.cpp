// Helper of the JNI tests for what ends or spoils a process:
//   koru_jni_child exit-main N     main of a class that calls System.exit(N)
//   koru_jni_child system-exit     callSystemExit
//   koru_jni_child create OPTION   a VM created with one more option; exits with minus the creation result
#include "JvmSupport.h"

#include "jvm/MainClass.h"

#include <cstdio>
#include <string>

namespace {

// Exit statuses that tell the test the child came back where it should not have.
constexpr int cameBack = 100;
constexpr int setupFailed = 101;

int runExitMain(JNIEnv* env, const std::string& status) {
    MainMethod main;
    if (findMainMethod(env, L"koru/test/Exit", main) != MainLookup::Found)
        return setupFailed;
    jthrowable exception = nullptr;
    callMain(env, main, {widen(status)}, nullptr, exception);
    return cameBack;
}

int runSystemExit(JNIEnv* env) {
    callSystemExit(env);
    return cameBack;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return setupFailed;
    std::string mode = argv[1];
    std::vector<std::string> extra;
    if (mode == "create" && argc > 2)
        extra.push_back(argv[2]);
    JavaVM* vm = nullptr;
    JNIEnv* env = nullptr;
    jint created = createTestVm(extra, &vm, &env);
    if (mode == "create") {
        std::printf("creation result %d\n", int(created));
        return created == JNI_OK ? 0 : -created;
    }
    if (created != JNI_OK)
        return setupFailed;
    if (mode == "exit-main" && argc > 2)
        return runExitMain(env, argv[2]);
    if (mode == "system-exit")
        return runSystemExit(env);
    return setupFailed;
}
