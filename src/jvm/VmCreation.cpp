#include "VmCreation.h"

#include <cstdio>
#include <cstdarg>
#include <cstring>

namespace {

// The JNI 1.1 initialization record, which current jni.h files no longer declare. Runtimes still fill its
// javaStackSize to tell their default thread stack size.
struct JniInitArgs11 {
    jint version;
    char** properties;
    jint checkSource;
    jint nativeStackSize;
    jint javaStackSize;
    jint minHeapSize;
    jint maxHeapSize;
    jint verifyMode;
    char* classpath;
    jint(JNICALL* vfprintf)(FILE* stream, const char* format, va_list arguments);
    void(JNICALL* exit)(jint code);
    void(JNICALL* abort)();
    jint enableClassGC;
    jint enableVerboseGC;
    jint disableAsyncGC;
    jint verbose;
    jboolean debugging;
    jint debugPort;
};
static_assert(sizeof(void*) != 8 || sizeof(JniInitArgs11) == 96, "the runtime fills a 96-byte record");

// jni.h declares optionString non-const; the VM only reads it, and the strings stay owned by the caller.
JavaVMOption vmOption(const char* text, void* extraInfo) {
    JavaVMOption option{};
    option.optionString = const_cast<char*>(text);
    option.extraInfo = extraInfo;
    return option;
}

} // namespace

void JNICALL exitHook(jint) {}

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
