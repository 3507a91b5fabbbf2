// The floor of the start-up benchmark: the least a GUI program must do to run a Java main class. It loads the
// runtime library, creates the VM on a thread of its own with the options it is given, calls main with the
// arguments it is given, detaches and destroys the VM; nothing else. It uses the JNI functions the launcher uses.
//   KORU_BENCH_JVM        the jvm.dll to load
//   KORU_BENCH_MAIN       the main class, slash form
//   KORU_BENCH_OPTIONS    the VM options, one a line
//   KORU_BENCH_ARGUMENTS  the arguments of main, one a line (may be absent)
#include <windows.h>

#include <jni.h>

#include <string>
#include <vector>

namespace {

std::wstring variable(const wchar_t* name) {
    std::wstring value(32767, L'\0');
    value.resize(GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size())));
    return value;
}

std::vector<std::wstring> lines(const std::wstring& text) {
    std::vector<std::wstring> result;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos)
            end = text.size();
        result.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return result;
}

std::string ansi(const std::wstring& text) {
    int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), result.data(), size, nullptr, nullptr);
    return result;
}

void JNICALL exitHook(jint) {}
void JNICALL abortHook() {}

using CreateJavaVm = jint(JNICALL*)(JavaVM**, void**, void*);

struct Host {
    CreateJavaVm create = nullptr;
    JavaVM* vm = nullptr;
};

jstring javaString(JNIEnv* env, jclass stringClass, jmethodID fromChars, const std::wstring& text) {
    jcharArray chars = env->NewCharArray(static_cast<jsize>(text.size()));
    env->SetCharArrayRegion(chars, 0, static_cast<jsize>(text.size()), reinterpret_cast<const jchar*>(text.data()));
    jstring string = static_cast<jstring>(env->NewObject(stringClass, fromChars, chars));
    env->DeleteLocalRef(chars);
    return string;
}

DWORD WINAPI javaMain(void* parameter) {
    Host& host = *static_cast<Host*>(parameter);
    std::vector<std::string> texts;
    for (const std::wstring& option : lines(variable(L"KORU_BENCH_OPTIONS")))
        texts.push_back(ansi(option));
    std::vector<JavaVMOption> options;
    for (std::string& text : texts)
        options.push_back({text.data(), nullptr});
    options.push_back({const_cast<char*>("abort"), reinterpret_cast<void*>(&abortHook)});
    options.push_back({const_cast<char*>("exit"), reinterpret_cast<void*>(&exitHook)});
    JavaVMInitArgs args{JNI_VERSION_1_2, static_cast<jint>(options.size()), options.data(), JNI_FALSE};
    JNIEnv* env = nullptr;
    if (host.create(&host.vm, reinterpret_cast<void**>(&env), &args) != JNI_OK)
        return 1;

    jclass mainClass = env->FindClass(ansi(variable(L"KORU_BENCH_MAIN")).c_str());
    jmethodID main = mainClass ? env->GetStaticMethodID(mainClass, "main", "([Ljava/lang/String;)V") : nullptr;
    if (!main)
        return 1;
    jclass stringClass = env->FindClass("java/lang/String");
    jmethodID fromChars = env->GetMethodID(stringClass, "<init>", "([C)V");
    std::vector<std::wstring> arguments = lines(variable(L"KORU_BENCH_ARGUMENTS"));
    jobjectArray array = env->NewObjectArray(static_cast<jsize>(arguments.size()), stringClass, nullptr);
    for (size_t i = 0; i < arguments.size(); ++i) {
        jstring argument = javaString(env, stringClass, fromChars, arguments[i]);
        env->SetObjectArrayElement(array, static_cast<jsize>(i), argument);
        env->DeleteLocalRef(argument);
    }
    env->CallStaticVoidMethod(mainClass, main, array);
    return host.vm->DetachCurrentThread() == JNI_OK ? 0 : 1;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    Host host;
    HMODULE library = LoadLibraryW(variable(L"KORU_BENCH_JVM").c_str());
    if (!library)
        return 1;
    host.create = reinterpret_cast<CreateJavaVm>(reinterpret_cast<void*>(GetProcAddress(library, "JNI_CreateJavaVM")));
    if (!host.create)
        return 1;
    HANDLE thread = CreateThread(nullptr, 0, javaMain, &host, 0, nullptr);
    if (!thread)
        return 1;
    WaitForSingleObject(thread, INFINITE);
    DWORD result = 1;
    GetExitCodeThread(thread, &result);
    CloseHandle(thread);
    if (host.vm)
        host.vm->DestroyJavaVM();
    return static_cast<int>(result);
}
