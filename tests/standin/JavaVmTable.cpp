// The library's exports and the JavaVM function table: creation (with everything it was handed recorded),
// threads attaching and detaching, and destruction that waits for the lingering thread.
#include "JavaModel.h"
#include "JniInitArgs11.h"

#include <windows.h>

#include <cstdio>

namespace standin {
namespace {

using StackLimitsProc = void(WINAPI*)(PULONG_PTR, PULONG_PTR);

thread_local ThreadEnv* currentThread = nullptr;
LONG attachedCount = 0;

std::string hex(jint value) {
    char text[16];
    std::snprintf(text, sizeof(text), "0x%08lX", static_cast<unsigned long>(value));
    return text;
}

void recordStackReserve() {
    auto limits = reinterpret_cast<StackLimitsProc>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetCurrentThreadStackLimits")));
    if (!limits)
        return;
    ULONG_PTR low = 0, high = 0;
    limits(&low, &high);
    record("thread.stackReserve", std::to_string(high - low));
}

void recordEnvironment(const wchar_t* name) {
    bool isSet = false;
    std::string value = environmentVariable(name, isSet);
    if (isSet)
        record("env." + toUtf8(std::wstring(name)), value);
}

void recordProcessState() {
    recordStackReserve();
    record("thread.id", std::to_string(GetCurrentThreadId()));
    recordEnvironment(L"KORU_JVM_PATH");
    recordEnvironment(L"KORU_JVM_HOME");
    recordEnvironment(L"Path");
    wchar_t folder[32768];
    DWORD length = GetCurrentDirectoryW(32768, folder);
    record("cwd", toUtf8(std::wstring(folder, length < 32768 ? length : 0)));
}

bool isHook(const char* option, const char* name) { return option && std::string(option) == name; }

void recordArguments(const JavaVMInitArgs& args) {
    record("create.version", hex(args.version));
    record("create.nOptions", std::to_string(args.nOptions));
    record("create.ignoreUnrecognized", args.ignoreUnrecognized ? "1" : "0");
    for (jint i = 0; i < args.nOptions; ++i) {
        const JavaVMOption& option = args.options[i];
        record("option", option.optionString ? fromAnsi(option.optionString) : "<null>");
        if ((isHook(option.optionString, "abort") || isHook(option.optionString, "exit")) && option.extraInfo)
            record("option.hook", option.optionString);
    }
    recordProcessState();
}

bool isRecognized(const std::string& option) {
    static const char* const prefixes[] = {"-D", "-X", "-verbose", "-ea", "-da", "-agent", "-javaagent"};
    for (const char* prefix : prefixes)
        if (option.compare(0, std::string(prefix).size(), prefix) == 0)
            return true;
    return option == "abort" || option == "exit";
}

jint creationResult(const Script& script, const JavaVMInitArgs& args) {
    if (script.hasCreateResult)
        return script.createResult;
    if (!script.rejectUnknown || args.ignoreUnrecognized)
        return JNI_OK;
    for (jint i = 0; i < args.nOptions; ++i) {
        std::string option = args.options[i].optionString ? fromAnsi(args.options[i].optionString) : "";
        if (!isRecognized(option)) {
            record("stderr", "Unrecognized option: " + option);
            return JNI_ERR;
        }
    }
    return JNI_OK;
}

void takeHooks(VmState& vm, const JavaVMInitArgs& args) {
    for (jint i = 0; i < args.nOptions; ++i) {
        const JavaVMOption& option = args.options[i];
        if (isHook(option.optionString, "exit"))
            vm.exitHook = reinterpret_cast<void(JNICALL*)(jint)>(option.extraInfo);
        else if (isHook(option.optionString, "abort"))
            vm.abortHook = reinterpret_cast<void(JNICALL*)()>(option.extraInfo);
    }
}

jint createVm(JavaVM** vm, void** env, const JavaVMInitArgs& args) {
    VmState& state = vmState();
    if (state.created)
        return JNI_EEXIST;
    state = VmState();
    state.script = currentScript();
    jint result = creationResult(state.script, args);
    if (result != JNI_OK)
        return result;
    takeHooks(state, args);
    state.out = newConsoleStream(false);
    state.err = newConsoleStream(true);
    state.created = true;
    *vm = javaVm();
    *env = &attachThread("main").env;
    return JNI_OK;
}

jint JNICALL DestroyJavaVM(JavaVM*) {
    record("destroy.begin");
    VmState& state = vmState();
    if (state.lingerThread) {
        WaitForSingleObject(state.lingerThread, INFINITE);
        CloseHandle(state.lingerThread);
        state.lingerThread = nullptr;
    }
    state.created = false;
    record("destroy.end");
    return JNI_OK;
}

jint JNICALL AttachCurrentThread(JavaVM*, void** env, void*) {
    const Script& script = vmState().script;
    if (script.hasAttachResult) {
        record("attach", std::to_string(script.attachResult));
        *env = nullptr;
        return script.attachResult;
    }
    ThreadEnv* thread = attachedThread();
    if (!thread)
        thread = &attachThread("Thread-" + std::to_string(InterlockedIncrement(&attachedCount)));
    record("attach");
    *env = &thread->env;
    return JNI_OK;
}

jint JNICALL DetachCurrentThread(JavaVM*) {
    const Script& script = vmState().script;
    if (script.hasDetachResult) {
        record("detach", std::to_string(script.detachResult));
        return script.detachResult;
    }
    detachThread();
    record("detach");
    return JNI_OK;
}

jint JNICALL GetEnv(JavaVM*, void** env, jint) {
    ThreadEnv* thread = attachedThread();
    *env = thread ? &thread->env : nullptr;
    return thread ? JNI_OK : JNI_EDETACHED;
}

const JNIInvokeInterface_ invokeFunctions = {
    nullptr, nullptr, nullptr, DestroyJavaVM, AttachCurrentThread, DetachCurrentThread, GetEnv, AttachCurrentThread,
};

} // namespace

VmState& vmState() {
    static VmState state;
    return state;
}

JavaVM* javaVm() {
    static JavaVM vm = {&invokeFunctions};
    return &vm;
}

ThreadEnv* attachedThread() { return currentThread; }

ThreadEnv& attachThread(const std::string& name) {
    currentThread = new ThreadEnv();
    currentThread->env.functions = envFunctions();
    currentThread->name = name;
    return *currentThread;
}

// The virtual machine prints an exception still pending when its thread leaves, as an uncaught one.
void detachThread() {
    if (currentThread && currentThread->pending)
        reportUncaught(*currentThread);
    currentThread = nullptr;
}

} // namespace standin

using namespace standin;

extern "C" {

JNIEXPORT jint JNICALL JNI_GetDefaultJavaVMInitArgs(void* args) {
    if (!args)
        return JNI_EINVAL;
    jint version = *static_cast<jint*>(args);
    record("defaultArgs.version", hex(version));
    Script script = currentScript();
    if (version == JNI_VERSION_1_1 && script.defaultStack > 0)
        static_cast<JniInitArgs11*>(args)->javaStackSize = script.defaultStack;
    return JNI_OK;
}

JNIEXPORT jint JNICALL JNI_CreateJavaVM(JavaVM** vm, void** env, void* args) {
    if (!vm || !env || !args)
        return JNI_EINVAL;
    const JavaVMInitArgs& initArgs = *static_cast<const JavaVMInitArgs*>(args);
    if (initArgs.nOptions < 0 || (initArgs.nOptions > 0 && !initArgs.options))
        return JNI_EINVAL;
    recordArguments(initArgs);
    jint result = createVm(vm, env, initArgs);
    record("create.result", std::to_string(result));
    return result;
}

JNIEXPORT jint JNICALL JNI_GetCreatedJavaVMs(JavaVM** vms, jsize length, jsize* count) {
    bool created = vmState().created;
    if (created && length > 0)
        vms[0] = javaVm();
    if (count)
        *count = created ? 1 : 0;
    return JNI_OK;
}

} // extern "C"
