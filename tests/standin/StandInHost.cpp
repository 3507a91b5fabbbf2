// Hosts the stand-in runtime the way the launcher does, for the tests of behaviours that end the process:
//   standin_host <jvm.dll> <main class> [--call-unimplemented | --null-method] [arguments...]
// Exit codes of its own: 50 library, 51 creation, 52 class, 53 main method, 54 arguments.
#include "JavaRuntime.h"

#include <windows.h>

#include <string>

namespace {

// Appends to the stand-in's record, so a test sees that the "exit" hook ran before the process ended.
void JNICALL exitHook(jint status) {
    wchar_t path[MAX_PATH * 4];
    if (!GetEnvironmentVariableW(L"KORU_STANDIN_RECORD", path, MAX_PATH * 4))
        return;
    HANDLE file =
        CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, 0, nullptr);
    std::string line = "host.exitHook=" + std::to_string(status) + "\n";
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}

void JNICALL abortHook() {}

jstring newJavaString(JNIEnv* env, const wchar_t* text) {
    jsize length = static_cast<jsize>(wcslen(text));
    jclass stringClass = env->FindClass("java/lang/String");
    jmethodID fromChars = env->GetMethodID(stringClass, "<init>", "([C)V");
    jcharArray chars = env->NewCharArray(length);
    env->SetCharArrayRegion(chars, 0, length, reinterpret_cast<const jchar*>(text));
    return static_cast<jstring>(env->NewObject(stringClass, fromChars, chars));
}

jobjectArray newStringArray(JNIEnv* env, wchar_t** texts, int count) {
    jobjectArray array = env->NewObjectArray(count, env->FindClass("java/lang/String"), nullptr);
    for (int i = 0; array && i < count; ++i)
        env->SetObjectArrayElement(array, i, newJavaString(env, texts[i]));
    return array;
}

int runMain(JNIEnv* env, const std::string& mainClass, wchar_t** arguments, int count) {
    jclass application = env->FindClass(mainClass.c_str());
    if (!application)
        return 52;
    jmethodID main = env->GetStaticMethodID(application, "main", "([Ljava/lang/String;)V");
    if (!main)
        return 53;
    jobjectArray array = newStringArray(env, arguments, count);
    if (!array)
        return 54;
    env->CallStaticVoidMethod(application, main, array);
    return 0;
}

// Calls that a runtime does not survive, for the tests of the stand-in's own alarms.
bool misuseRuntime(JNIEnv* env, const std::wstring& flag) {
    jclass stringClass = env->FindClass("java/lang/String");
    if (flag == L"--call-unimplemented")
        env->GetSuperclass(stringClass);
    else if (flag == L"--null-method")
        env->CallStaticVoidMethod(stringClass, nullptr);
    else
        return false;
    return true;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    HMODULE library = argc >= 3 ? LoadLibraryW(argv[1]) : nullptr;
    auto create = reinterpret_cast<CreateJavaVmProc>(
        library ? reinterpret_cast<void*>(GetProcAddress(library, "JNI_CreateJavaVM")) : nullptr);
    if (!create)
        return 50;
    JavaVMOption options[] = {{const_cast<char*>("-Dhost=1"), nullptr},
                              {const_cast<char*>("abort"), reinterpret_cast<void*>(abortHook)},
                              {const_cast<char*>("exit"), reinterpret_cast<void*>(exitHook)}};
    JavaVMInitArgs args = {JNI_VERSION_1_2, 3, options, JNI_FALSE};
    JavaVM* vm = nullptr;
    JNIEnv* env = nullptr;
    if (create(&vm, reinterpret_cast<void**>(&env), &args) != JNI_OK)
        return 51;
    std::wstring className(argv[2]);
    bool misuse = argc >= 4 && misuseRuntime(env, argv[3]);
    int first = misuse ? 4 : 3;
    int result = runMain(env, std::string(className.begin(), className.end()), argv + first, argc - first);
    if (result != 0)
        env->ExceptionDescribe();
    vm->DetachCurrentThread();
    vm->DestroyJavaVM();
    return result;
}
