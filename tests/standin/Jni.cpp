// The JNI function tables and the library's exports. Each call is checked as strictly as a real runtime checks it by
// crashing: the JNIEnv must be the calling thread's own, references live and of the right kind, and while an exception
// is pending only the functions JNI allows then may be called.
#include "StandIn.h"

#include <windows.h>

#include <regex>

namespace standin {
namespace {

thread_local Thread* current = nullptr;
enum class State { None, Alive, Destroyed } state = State::None;
long attachedCount = 0;

struct Ref {
    Object* object;
    Thread* owner;
    bool live;
};

// Once System.exit has torn the VM down, whatever calls into it waits for ever.
void waitIfExiting() {
    while (vm.exiting)
        Sleep(INFINITE);
}

Thread& enter(JNIEnv* env, bool allowedWithPending = false) {
    waitIfExiting();
    auto* thread = reinterpret_cast<Thread*>(env);
    require(thread == current, "a JNIEnv used on a thread it does not belong to, or after its detach");
    require(!thread->pending || allowedWithPending, "a JNI call with an exception pending");
    return *thread;
}

jobject local(Thread& thread, Object* object) {
    return object ? reinterpret_cast<jobject>(new Ref{object, &thread, true}) : nullptr;
}

Object* deref(Thread& thread, jobject handle) {
    auto* ref = reinterpret_cast<Ref*>(handle);
    require(!ref || (ref->live && ref->owner == &thread), "a local reference used after its deletion or elsewhere");
    return ref ? ref->object : nullptr;
}

Object& derefAs(Thread& thread, jobject handle, Kind kind) {
    Object* object = deref(thread, handle);
    require(object && object->kind == kind, "a null object, or one of the wrong kind");
    return *object;
}

const Method& methodOf(jmethodID id) {
    require(id, "a null method ID");
    return *reinterpret_cast<const Method*>(id);
}

// The launcher knows every size and index it passes: one outside the array is a fault, not a Java exception.
void checkRange(size_t size, jsize start, jsize length) {
    require(start >= 0 && length >= 0 && size_t(start) + size_t(length) <= size, "an index or size outside the array");
}

bool failing(Thread& thread, const char* function) {
    return throwIf(directive(L"fail") == fromUtf8(function), thread, "java/lang/OutOfMemoryError", L"Java heap space");
}

// The V forms read their arguments by the method's signature; the launcher passes only objects and ints.
std::vector<Value> arguments(Thread& thread, const Method& method, va_list list) {
    std::vector<Value> values;
    for (const char* type = method.signature + 1; *type != ')'; ++type) {
        bool isObject = *type == 'L' || *type == '[';
        type += std::strspn(type, "[");
        type = *type == 'L' ? std::strchr(type, ';') : type;
        values.push_back(isObject ? Value{deref(thread, va_arg(list, jobject))} : Value{nullptr, va_arg(list, jint)});
    }
    return values;
}

template <bool IsStatic> jmethodID JNICALL lookUp(JNIEnv* env, jclass type, const char* name, const char* signature) {
    Thread& thread = enter(env);
    Object& owner = derefAs(thread, type, Kind::Class);
    require(name && signature, "a method lookup without name or signature");
    return reinterpret_cast<jmethodID>(const_cast<Method*>(findMethod(thread, owner.type, name, signature, IsStatic)));
}

Value call(JNIEnv* env, jobject target, jmethodID id, va_list list, bool isStatic, char result) {
    Thread& thread = enter(env);
    const Method& method = methodOf(id);
    Object* self = deref(thread, target);
    require(self && method.isStatic == isStatic && isStatic == (self->kind == Kind::Class) &&
                ownerOf(self->type) == method.owner && returnType(method) == result,
            "a method called in a form that does not fit it, or through a class or object it does not belong to");
    return invoke(thread, isStatic ? nullptr : self, method, arguments(thread, method, list));
}

jobject JNICALL newObject(JNIEnv* env, jclass type, jmethodID id, va_list list) {
    Thread& thread = enter(env);
    const Method& method = methodOf(id);
    require(std::strcmp(method.name, "<init>") == 0 && ownerOf(derefAs(thread, type, Kind::Class).type) == method.owner,
            "NewObject without a constructor of the class");
    std::vector<Value> values = arguments(thread, method, list);
    return failing(thread, "NewObjectV") ? nullptr : local(thread, invoke(thread, nullptr, method, values).object);
}

jobject newArray(JNIEnv* env, jsize length, Kind kind, const char* function, const std::string& type) {
    Thread& thread = enter(env);
    checkRange(size_t(length), 0, length);
    if (failing(thread, function))
        return nullptr;
    Object* array = make(kind, type);
    array->text.assign(kind == Kind::Chars ? size_t(length) : 0, L'\0');
    array->items.assign(kind == Kind::Array ? size_t(length) : 0, nullptr);
    return local(thread, array);
}

// Modified UTF-8: every UTF-16 unit on its own (a surrogate pair gives two three-byte forms), U+0000 as C0 80.
std::string modifiedUtf8(const std::wstring& text) {
    std::string bytes;
    for (wchar_t unit : text) {
        if (unit != 0 && unit < 0x80)
            bytes += char(unit);
        else if (unit < 0x800)
            bytes += {char(0xC0 | unit >> 6), char(0x80 | (unit & 0x3F))};
        else
            bytes += {char(0xE0 | unit >> 12), char(0x80 | (unit >> 6 & 0x3F)), char(0x80 | (unit & 0x3F))};
    }
    return bytes;
}

template <bool IsVm, size_t Slot> void JNICALL unmodelled() {
    trap(std::string(IsVm ? "JavaVM" : "JNIEnv") + " function #" + std::to_string(Slot), 0xBAD0);
}

template <bool IsVm, typename Table, size_t... Slots> void fillWithTraps(Table& table, std::index_sequence<Slots...>) {
    auto* slots = reinterpret_cast<void**>(&table);
    ((slots[Slots] = reinterpret_cast<void*>(&unmodelled<IsVm, Slots>)), ...);
}

// Only what the launcher calls; it calls the V forms (through jni.h's C++ wrappers).
JNINativeInterface_ envTable() {
    JNINativeInterface_ table;
    fillWithTraps<false>(table, std::make_index_sequence<sizeof(table) / sizeof(void*)>());
    table.FindClass = [](JNIEnv* env, const char* name) JNICALL {
        Thread& thread = enter(env);
        require(name, "FindClass without a name");
        return jclass(local(thread, findClass(thread, name)));
    };
    table.GetMethodID = lookUp<false>;
    table.GetStaticMethodID = lookUp<true>;
    table.GetObjectClass = [](JNIEnv* env, jobject object) JNICALL {
        Thread& thread = enter(env);
        Object* self = deref(thread, object);
        require(self, "GetObjectClass of null");
        return jclass(local(thread, make(Kind::Class, self->type)));
    };
    table.NewObjectV = newObject;
    table.CallStaticVoidMethodV = [](JNIEnv* e, jclass c, jmethodID m, va_list a)
                                      JNICALL -> void { call(e, c, m, a, true, 'V'); };
    table.CallStaticIntMethodV = [](JNIEnv* e, jclass c, jmethodID m, va_list a)
                                     JNICALL -> jint { return call(e, c, m, a, true, 'I').number; };
    table.CallVoidMethodV = [](JNIEnv* e, jobject o, jmethodID m, va_list a) JNICALL { call(e, o, m, a, false, 'V'); };
    table.CallObjectMethodV = [](JNIEnv* e, jobject o, jmethodID m, va_list a) JNICALL {
        return local(*reinterpret_cast<Thread*>(e), call(e, o, m, a, false, 'L').object);
    };
    table.NewCharArray = [](JNIEnv* env, jsize length) JNICALL -> jcharArray {
        return jcharArray(newArray(env, length, Kind::Chars, "NewCharArray", "[C"));
    };
    table.SetCharArrayRegion = [](JNIEnv* env, jcharArray array, jsize start, jsize length, const jchar* chars)
                                   JNICALL -> void {
        Object& self = derefAs(enter(env), array, Kind::Chars);
        checkRange(self.text.size(), start, length);
        std::memcpy(&self.text[size_t(start)], chars, size_t(length) * sizeof(jchar));
    };
    table.NewObjectArray = [](JNIEnv* env, jsize length, jclass type, jobject) JNICALL {
        std::string element = derefAs(enter(env), type, Kind::Class).type;
        return jobjectArray(newArray(env, length, Kind::Array, "NewObjectArray", "[L" + element + ";"));
    };
    table.SetObjectArrayElement = [](JNIEnv* env, jobjectArray array, jsize index, jobject value) JNICALL {
        Thread& thread = enter(env);
        Object& self = derefAs(thread, array, Kind::Array);
        checkRange(self.items.size(), index, 1);
        self.items[size_t(index)] = deref(thread, value);
    };
    table.DeleteLocalRef = [](JNIEnv* env, jobject handle) JNICALL {
        if (deref(enter(env, true), handle))
            reinterpret_cast<Ref*>(handle)->live = false;
    };
    table.GetStringUTFChars = [](JNIEnv* env, jstring string, jboolean* isCopy) JNICALL {
        std::string bytes = modifiedUtf8(derefAs(enter(env), string, Kind::String).text);
        if (isCopy)
            *isCopy = JNI_TRUE;
        return (new std::string(std::move(bytes)))->c_str();
    };
    table.ReleaseStringUTFChars = [](JNIEnv* env, jstring string, const char*)
                                      JNICALL -> void { derefAs(enter(env, true), string, Kind::String); };
    table.ExceptionOccurred = [](JNIEnv* env) JNICALL {
        Thread& thread = enter(env, true);
        return jthrowable(local(thread, thread.pending));
    };
    table.ExceptionDescribe = [](JNIEnv* env) JNICALL { describe(enter(env, true)); };
    table.ExceptionClear = [](JNIEnv* env) JNICALL { enter(env, true).pending = nullptr; };
    table.ExceptionCheck = [](JNIEnv* env) JNICALL -> jboolean {
        return jboolean(enter(env, true).pending ? JNI_TRUE : JNI_FALSE);
    };
    return table;
}

Thread* attach(const std::string& name) {
    static const JNINativeInterface_ functions = envTable();
    auto* thread = new Thread();
    thread->env.functions = &functions;
    thread->name = name;
    InterlockedIncrement(&vm.liveThreads);
    return thread;
}

JNIInvokeInterface_ vmTable() {
    JNIInvokeInterface_ table;
    fillWithTraps<true>(table, std::make_index_sequence<sizeof(table) / sizeof(void*)>());
    // A real runtime waits for every non-daemon thread but the caller, and one that ended attached counts for ever.
    table.DestroyJavaVM = [](JavaVM*) JNICALL {
        waitIfExiting();
        require(state == State::Alive, "DestroyJavaVM without a VM");
        record("destroy.begin");
        while (vm.liveThreads != (current ? 1 : 0))
            Sleep(10);
        writeArchive();
        state = State::Destroyed;
        record("destroy.end");
        return jint(JNI_OK);
    };
    table.AttachCurrentThread = [](JavaVM*, void** env, void*) JNICALL {
        waitIfExiting();
        if (state != State::Alive)
            return jint(JNI_ERR);
        if (!current)
            current = attach("Thread-" + std::to_string(InterlockedIncrement(&attachedCount)));
        record("attach");
        *env = &current->env;
        return jint(JNI_OK);
    };
    table.DetachCurrentThread = [](JavaVM*) JNICALL {
        waitIfExiting();
        auto result = jint(number(directive(L"detach")));
        if (result != JNI_OK)
            record("detach", std::to_string(result));
        if (result != JNI_OK || !current)
            return result;
        uncaught(*current);
        current = nullptr;
        InterlockedDecrement(&vm.liveThreads);
        record("detach");
        return result;
    };
    return table;
}

void recordCreation(const JavaVMInitArgs& args) {
    char version[16];
    std::snprintf(version, sizeof version, "0x%08lX", static_cast<unsigned long>(args.version));
    record("create.version", version);
    for (jint i = 0; i < args.nOptions; ++i) {
        std::string text = args.options[i].optionString ? args.options[i].optionString : "";
        record("option", utf8(fromUtf8(text, CP_ACP)));
        if (args.options[i].extraInfo && (text == "abort" || text == "exit" || text == "vfprintf"))
            record("hook", text);
    }
    for (const wchar_t* name : {L"KORU_JVM_PATH", L"KORU_JVM_HOME", L"Path"})
        record("env." + utf8(name), utf8(environment(name)));
    wchar_t folder[MAX_PATH];
    DWORD length = GetCurrentDirectoryW(MAX_PATH, folder);
    record("cwd", utf8(std::wstring(folder, length < MAX_PATH ? length : 0)));
    // The stack's whole reservation: the regions allocated together with the one this variable lies in.
    MEMORY_BASIC_INFORMATION region;
    VirtualQuery(&region, &region, sizeof region);
    auto* base = static_cast<char*>(region.AllocationBase);
    size_t reserve = 0;
    while (VirtualQuery(base + reserve, &region, sizeof region) && region.AllocationBase == base)
        reserve += region.RegionSize;
    record("stackReserve", std::to_string(reserve));
}

// A real runtime refuses an option it does not know unless told to ignore such options: JNI_EINVAL for a size it
// cannot read, JNI_ERR for the rest. Known here: the hooks, properties, -XX: flags, sizes, -verbose and the module
// options, which it takes only as --name=value.
jint optionResult(const std::string& option) {
    jint archiveResult = takeArchiveOption(option);
    if (archiveResult != 1)
        return archiveResult;
    static const std::regex known("abort|exit|vfprintf|-D.*|-XX:.*|-verbose(:.*)?|-X(ms|mx|ss)[0-9]+[kKmMgGtT]?|--(add-"
                                  "(opens|exports|reads|modules)|limit-modules|patch-module|(upgrade-)?module-path|"
                                  "enable-native-access)=.*");
    if (std::regex_match(option, known))
        return JNI_OK;
    return std::regex_match(option, std::regex("-X(ms|mx|ss).*")) ? JNI_EINVAL : JNI_ERR;
}

// A module lies in a folder of the module path as <name>.jar.
bool onModulePath(const std::wstring& module) {
    for (const std::wstring& entry : split(vm.modulePath, L';')) {
        if (GetFileAttributesW((entry + L"\\" + module + L".jar").c_str()) != INVALID_FILE_ATTRIBUTES)
            return true;
    }
    return false;
}

jint createVm(const JavaVMInitArgs& args) {
    Sleep(static_cast<DWORD>(number(directive(L"startup"))));
    std::wstring scripted = directive(L"create");
    if (!scripted.empty())
        return number(scripted);
    for (jint i = 0; i < args.nOptions; ++i) {
        std::string text = args.options[i].optionString ? args.options[i].optionString : "";
        void* hook = args.options[i].extraInfo;
        jint result = optionResult(text);
        if (!args.ignoreUnrecognized && result != JNI_OK)
            return result;
        if (text.compare(0, 18, "-Djava.class.path=") == 0)
            vm.classPath = fromUtf8(text.substr(18), CP_ACP);
        if (text.compare(0, 14, "--module-path=") == 0)
            vm.modulePath = fromUtf8(text.substr(14), CP_ACP);
        if (text.compare(0, 18, "-Djdk.module.main=") == 0)
            vm.mainModule = fromUtf8(text.substr(18), CP_ACP);
        if (text == "exit")
            vm.exitHook = reinterpret_cast<decltype(vm.exitHook)>(hook);
        if (text == "abort")
            vm.abortHook = reinterpret_cast<decltype(vm.abortHook)>(hook);
        if (text == "vfprintf")
            vm.vfprintfHook = reinterpret_cast<decltype(vm.vfprintfHook)>(hook);
    }
    if (!directive(L"abort").empty())
        abortCreation(utf8(directive(L"abort")));
    openArchive();
    if (!vm.mainModule.empty() && !onModulePath(vm.mainModule))
        abortCreation("java.lang.module.FindException: Module " + utf8(vm.mainModule) + " not found", true);
    for (Object** stream : {&vm.out, &vm.err}) {
        *stream = make(Kind::PrintStream, "java/io/PrintStream");
        (*stream)->console = stream == &vm.out ? "stdout" : "stderr";
    }
    return JNI_OK;
}

} // namespace

// What the VM prints itself goes through the launcher's hook when it gave one, else to a standard output that a GUI
// program does not have.
void vmPrint(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    if (vm.vfprintfHook)
        vm.vfprintfHook(stdout, format, arguments);
    va_end(arguments);
}

// A start-up error as HotSpot reports it: printed in pieces, the abort hook, then the end of the process with 1. One
// of the boot layer of modules is printed by Java's own start-up code, on the standard output.
void abortCreation(const std::string& reason, bool bootLayer) {
    if (bootLayer) {
        recordLines("stdout", "Error occurred during initialization of boot layer\n" + reason);
    } else {
        vmPrint("Error occurred during initialization of VM\n");
        vmPrint("%.*s\n", int(reason.size()), reason.data());
    }
    if (vm.abortHook)
        vm.abortHook();
    ExitProcess(1);
}

} // namespace standin

using namespace standin;

// Older runtimes filled javaStackSize of the JNI 1.1 record, which jni.h no longer declares: after the version, the
// properties pointer (at 8; at 4 in a 32-bit runtime), checkSource and nativeStackSize, it lies 24 (16) bytes in.
// JNI versions 9 and later are described only by a runtime of Java 9 or later.
extern "C" JNIEXPORT jint JNICALL JNI_GetDefaultJavaVMInitArgs(void* args) {
    if (*static_cast<jint*>(args) != JNI_VERSION_1_1)
        return *static_cast<jint*>(args) >= JNI_VERSION_9 && directive(L"java") == L"8" ? JNI_ERR : JNI_OK;
    std::wstring stack = directive(L"stack");
    if (!stack.empty())
        *reinterpret_cast<jint*>(static_cast<char*>(args) + (sizeof(void*) == 8 ? 24 : 16)) = number(stack);
    return JNI_ERR; // current runtimes refuse the 1.1 version, whatever they fill in
}

// A second VM in a process is refused while the first lives, and cannot be made after it was destroyed.
extern "C" JNIEXPORT jint JNICALL JNI_CreateJavaVM(JavaVM** javaVm, void** env, void* args) {
    static const JNIInvokeInterface_ functions = vmTable();
    static JavaVM theVm = {&functions};
    if (state != State::None)
        return state == State::Alive ? JNI_EEXIST : JNI_ERR;
    const auto& initArgs = *static_cast<JavaVMInitArgs*>(args);
    recordCreation(initArgs);
    jint result = createVm(initArgs);
    if (result != JNI_OK) {
        record("create.result", std::to_string(result));
        return result;
    }
    state = State::Alive;
    current = attach("main");
    *javaVm = &theVm;
    *env = &current->env;
    return JNI_OK;
}
