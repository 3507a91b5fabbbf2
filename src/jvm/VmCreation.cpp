#include "VmCreation.h"

#include "JniInitArgs11.h"
#include "SystemFormat.h"
#include "support/TextFormat.h"
#include "support/Trace.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace {

// jni.h declares optionString non-const; the VM only reads it, and the strings stay owned by the caller.
JavaVMOption vmOption(const char* text, void* extraInfo) {
    JavaVMOption option{};
    option.optionString = const_cast<char*>(text);
    option.extraInfo = extraInfo;
    return option;
}

// What the VM prints while it is being created, kept for a creation it aborts. The hooks are plain functions that
// any of the VM's threads may call, so this lives here, under a lock.
struct CreationWatch {
    std::mutex lock;
    CreationAbortHandler onAbort = nullptr; // set only while JNI_CreateJavaVM runs
    std::string printed;
};
CreationWatch creationWatch;

// The VM's reason comes last; logging asked for in the options may come before it in any amount.
constexpr size_t printedLimit = 4096;

void watchCreation(CreationAbortHandler onAbort) {
    std::lock_guard<std::mutex> guard(creationWatch.lock);
    creationWatch.onAbort = onAbort;
    creationWatch.printed.clear();
}

void keepPrinted(const std::string& text) {
    std::lock_guard<std::mutex> guard(creationWatch.lock);
    std::string& printed = creationWatch.printed;
    if (!creationWatch.onAbort)
        return;
    printed += text;
    if (printed.size() <= printedLimit)
        return;
    size_t lineStart = printed.find('\n', printed.size() - printedLimit);
    printed.erase(0, lineStart == std::string::npos ? printed.size() - printedLimit : lineStart + 1);
}

#ifdef _WIN32
// The system C library formats the VM's text on Windows, in its own spelling of the VM's C99 formats: the compiler's
// C99 formatter would add a tenth of the exe for this alone. A null buffer asks for the length.
std::string cFormat(const char* format) { return systemFormat(format); }
int formatText(char* buffer, size_t size, const std::string& format, va_list arguments) {
    return buffer == nullptr ? _vscprintf(format.c_str(), arguments)
                             : _vsnprintf(buffer, size, format.c_str(), arguments);
}
#else
std::string cFormat(const char* format) { return format; }
int formatText(char* buffer, size_t size, const std::string& format, va_list arguments) {
    return std::vsnprintf(buffer, size, format.c_str(), arguments);
}
#endif

std::string formatted(const char* c99Format, va_list arguments) {
    std::string format = cFormat(c99Format);
    va_list counting;
    va_copy(counting, arguments);
    int size = formatText(nullptr, 0, format, counting);
    va_end(counting);
    if (size <= 0)
        return {};
    std::string text(static_cast<size_t>(size) + 1, '\0');
    formatText(&text[0], text.size(), format, arguments);
    text.resize(static_cast<size_t>(size));
    return text;
}

// The VM's FILE may belong to another C runtime than ours (on Windows it always does) and cannot be written through
// here: its standard output is recognised only where it is ours, and anything else goes to our standard error.
jint JNICALL vfprintfHook(FILE* stream, const char* format, va_list arguments) {
    std::string text = formatted(format, arguments);
    FILE* target = stream == stdout ? stdout : stderr;
    std::fwrite(text.data(), 1, text.size(), target);
    std::fflush(target);
    keepPrinted(text);
    return static_cast<jint>(text.size());
}

VmEndHandlers vmEnd;
std::atomic<bool> finishCalled{false};
std::atomic<bool> abortCalled{false};

void vmFinished() {
    if (vmEnd.finished && !finishCalled.exchange(true))
        vmEnd.finished();
}

void vmAborted() {
    if (vmEnd.aborted && !abortCalled.exchange(true))
        vmEnd.aborted();
}

} // namespace

void setVmEndHandlers(const VmEndHandlers& handlers) { vmEnd = handlers; }

void destroyJavaVm(JavaMain& java) {
    if (java.javaVm && !java.javaMainThreadAttached && java.javaVm->DestroyJavaVM() == JNI_OK)
        vmFinished();
}

void JNICALL exitHook(jint status) {
    vmFinished();
    traceWithoutWaiting([&] { return L"end: Java ends the process with System.exit(" + decimalText(status) + L")"; });
}

void JNICALL abortHook() {
    vmAborted();
    std::unique_lock<std::mutex> guard(creationWatch.lock);
    CreationAbortHandler onAbort = creationWatch.onAbort;
    std::string printed = creationWatch.printed;
    guard.unlock();
    if (onAbort)
        onAbort(printed);
}

jint createJavaVm(CreateJavaVmProc create, const std::vector<std::string>& options, JavaVM** vm, JNIEnv** env,
                  CreationAbortHandler onAbort) {
    std::vector<JavaVMOption> array;
    array.reserve(options.size() + 3);
    for (const std::string& text : options)
        array.push_back(vmOption(text.c_str(), nullptr));
    array.push_back(vmOption("abort", reinterpret_cast<void*>(&abortHook)));
    array.push_back(vmOption("exit", reinterpret_cast<void*>(&exitHook)));
    array.push_back(vmOption("vfprintf", reinterpret_cast<void*>(&vfprintfHook)));

    JavaVMInitArgs args{};
    args.version = JNI_VERSION_1_2;
    args.nOptions = jint(array.size());
    args.options = array.data();
    args.ignoreUnrecognized = JNI_FALSE;
    watchCreation(onAbort);
    jint result = create(vm, reinterpret_cast<void**>(env), &args);
    watchCreation(nullptr);
    return result;
}

bool abortedInBootLayer(const std::string& printed) {
    return printed.find("Error occurred during initialization of VM") == std::string::npos;
}

int creationFailureReasonId(jint result) {
    if (result >= JNI_EINVAL && result <= JNI_ERR)
        return 224 - result;
    return 0;
}

// The larger JNI 1.1 record, in case a runtime writes more than the version asked for.
bool runtimeHasModules(GetDefaultInitArgsProc getDefaults) {
    JniInitArgs11 args;
    std::memset(&args, 0, sizeof args);
    args.version = JNI_VERSION_9;
    return getDefaults(&args) == JNI_OK;
}

jint queryDefaultStackSize(GetDefaultInitArgsProc getDefaults) {
    JniInitArgs11 args;
    std::memset(&args, 0, sizeof args);
    args.version = JNI_VERSION_1_1;
    getDefaults(&args);
    return args.javaStackSize > 0 ? args.javaStackSize : 0;
}
