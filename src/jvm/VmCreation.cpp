#include "VmCreation.h"

#include "JniInitArgs11.h"
#include "support/Trace.h"

#include <cstdio>
#include <cstdarg>
#include <cstring>

namespace {

// jni.h declares optionString non-const; the VM only reads it, and the strings stay owned by the caller.
JavaVMOption vmOption(const char* text, void* extraInfo) {
    JavaVMOption option{};
    option.optionString = const_cast<char*>(text);
    option.extraInfo = extraInfo;
    return option;
}

} // namespace

void JNICALL exitHook(jint status) {
    traceWithoutWaiting(
        [&] { return L"end: Java ends the process with System.exit(" + std::to_wstring(status) + L")"; });
}

void JNICALL abortHook() {}

jint createJavaVm(CreateJavaVmProc create, const std::vector<std::string>& options, JavaVM** vm, JNIEnv** env) {
    std::vector<JavaVMOption> array;
    array.reserve(options.size() + 2);
    for (const std::string& text : options)
        array.push_back(vmOption(text.c_str(), nullptr));
    array.push_back(vmOption("abort", reinterpret_cast<void*>(&abortHook)));
    array.push_back(vmOption("exit", reinterpret_cast<void*>(&exitHook)));

    JavaVMInitArgs args{};
    args.version = JNI_VERSION_1_2;
    args.nOptions = jint(array.size());
    args.options = array.data();
    args.ignoreUnrecognized = JNI_FALSE;
    return create(vm, reinterpret_cast<void**>(env), &args);
}

int creationFailureReasonId(jint result) {
    if (result >= JNI_EINVAL && result <= JNI_ERR)
        return 224 - result;
    return 0;
}

jint queryDefaultStackSize(GetDefaultInitArgsProc getDefaults) {
    JniInitArgs11 args;
    std::memset(&args, 0, sizeof args);
    args.version = JNI_VERSION_1_1;
    getDefaults(&args);
    return args.javaStackSize > 0 ? args.javaStackSize : 0;
}
