// What the modelled Java members do when the launcher constructs or calls them, and the script's main method.
#include "JavaModel.h"

#include <windows.h>

#include <cctype>
#include <mutex>

namespace standin {
namespace {

std::mutex streamLock;

using PreciseTimeProc = void(WINAPI*)(FILETIME*);

// Like Java's file stream, each FileOutputStream writes on from its own position.
void writeFile(JavaObject& stream, const std::string& bytes) {
    HANDLE file =
        CreateFileW(stream.path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(stream.position);
    DWORD written = 0;
    if (SetFilePointerEx(file, position, nullptr, FILE_BEGIN))
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    stream.position += written;
    CloseHandle(file);
}

// The end of a chain of print streams: a file, a byte buffer or a stream the virtual machine started with.
JavaObject* sinkOf(JavaObject* stream) {
    while (stream && stream->kind == ObjectKind::PrintStream && !stream->consoleKey)
        stream = stream->target;
    return stream;
}

void writeToStream(JavaObject* stream, const std::string& bytes) {
    std::lock_guard<std::mutex> guard(streamLock);
    JavaObject* sink = sinkOf(stream);
    if (!sink)
        return;
    if (sink->consoleKey)
        recordLines(sink->consoleKey, bytes);
    else if (sink->kind == ObjectKind::FileOutputStream)
        writeFile(*sink, bytes);
    else if (sink->kind == ObjectKind::ByteBuffer)
        sink->bytes += bytes;
}

std::string streamName(JavaObject* stream) {
    JavaObject* sink = sinkOf(stream);
    if (sink && sink->consoleKey)
        return "<console>";
    if (sink && sink->kind == ObjectKind::FileOutputStream)
        return toUtf8(sink->path);
    return sink && sink->kind == ObjectKind::ByteBuffer ? "<memory>" : "<none>";
}

// Text on System.out or System.err, wherever they write now.
void printText(bool error, const std::string& text) { writeToStream(error ? vmState().err : vmState().out, text); }

// The stand-in's streams encode UTF-8 only; a charset it does not model throws rather than write other bytes.
bool isModelledCharset(ThreadEnv& thread, JavaObject* name) {
    if (!name) {
        throwNew(thread, "java/lang/NullPointerException", u"charsetName");
        return false;
    }
    std::string text = toUtf8(name->chars);
    for (char& c : text)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    if (text == "utf-8" || text == "utf8")
        return true;
    throwNew(thread, "java/io/UnsupportedEncodingException", name->chars);
    return false;
}

[[noreturn]] void systemExit(jint status) {
    record("exit", std::to_string(status));
    if (vmState().exitHook)
        vmState().exitHook(status);
    ExitProcess(static_cast<UINT>(status));
}

unsigned long long preciseTime() {
    FILETIME now = {};
    auto precise = reinterpret_cast<PreciseTimeProc>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetSystemTimePreciseAsFileTime")));
    if (precise)
        precise(&now);
    else
        GetSystemTimeAsFileTime(&now);
    return (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

void recordArguments(const std::string& prefix, JavaObject* array) {
    if (!array) {
        record(prefix + ".args.null");
        return;
    }
    record(prefix + ".argc", std::to_string(array->elements.size()));
    for (JavaObject* element : array->elements) {
        if (element)
            record(prefix + ".arg", toUtf8(element->chars));
        else
            record(prefix + ".arg.null");
    }
}

DWORD WINAPI lingerThreadProc(void* parameter) {
    record("thread.started");
    Sleep(static_cast<DWORD>(reinterpret_cast<uintptr_t>(parameter)));
    record("thread.ended");
    return 0;
}

void startLingering() {
    VmState& vm = vmState();
    if (vm.script.lingerMs == 0 || vm.lingerThread)
        return;
    vm.lingerThread =
        CreateThread(nullptr, 0, lingerThreadProc, reinterpret_cast<void*>(vm.script.lingerMs), 0, nullptr);
}

void runMain(ThreadEnv& thread, JavaObject* arguments) {
    record("main.called");
    record("main.time", std::to_string(preciseTime()));
    record("main.thread", std::to_string(GetCurrentThreadId()));
    recordArguments("main", arguments);
    startLingering();
    for (const MainAction& action : vmState().script.mainActions) {
        switch (action.kind) {
        case MainAction::Return:
            return;
        case MainAction::Print:
        case MainAction::ErrorPrint:
            printText(action.kind == MainAction::ErrorPrint, toUtf8(action.text) + "\r\n");
            break;
        case MainAction::Throw:
            throwNew(thread, action.className, action.text);
            return;
        case MainAction::Exit:
            systemExit(action.number);
        case MainAction::Sleep:
            Sleep(static_cast<DWORD>(action.number));
            break;
        }
    }
}

jint runSecondaryMain(const Method& method, JavaObject* arguments) {
    record("secondaryMain.called");
    recordArguments("secondaryMain", arguments);
    if (method.member != Member::SecondaryInt)
        return 0;
    record("secondaryMain.result", std::to_string(vmState().script.secondaryResult));
    return vmState().script.secondaryResult;
}

JavaObject* openFileStream(ThreadEnv& thread, JavaObject* name) {
    std::wstring path(reinterpret_cast<const wchar_t*>(name->chars.data()), name->chars.size());
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        record("fileOutputStream.failed", toUtf8(path));
        throwNew(thread, "java/io/FileNotFoundException",
                 name->chars + u" (The system cannot find the path specified)");
        return nullptr;
    }
    CloseHandle(file);
    record("fileOutputStream", toUtf8(path));
    JavaObject* stream = newObject(ObjectKind::FileOutputStream, "java/io/FileOutputStream");
    stream->path = path;
    return stream;
}

JavaObject* newPrintStream(JavaObject* target) {
    JavaObject* stream = newObject(ObjectKind::PrintStream, "java/io/PrintStream");
    stream->target = target;
    return stream;
}

// The one argument every modelled constructor but ByteArrayOutputStream() needs; null throws as Java would.
JavaObject* requiredArgument(ThreadEnv& thread, const jvalue* args) {
    JavaObject* argument = object(args[0].l);
    if (!argument)
        throwNew(thread, "java/lang/NullPointerException", u"");
    return argument;
}

void setStandardStream(bool error, JavaObject* stream) {
    record(error ? "setErr" : "setOut", streamName(stream));
    (error ? vmState().err : vmState().out) = stream;
}

} // namespace

void describePending(ThreadEnv& thread) {
    JavaObject* pending = thread.pending;
    if (!pending)
        return;
    thread.pending = nullptr;
    record("exceptionDescribe");
    printText(true, traceText(*pending));
}

void reportUncaught(ThreadEnv& thread) {
    JavaObject* pending = thread.pending;
    thread.pending = nullptr;
    record("uncaught", pending->className);
    printText(true, "Exception in thread \"" + thread.name + "\" " + traceText(*pending));
}

JavaObject* construct(ThreadEnv& thread, const Method& method, const jvalue* args, const std::string& className) {
    if (method.member == Member::ByteBufferOpen)
        return newObject(ObjectKind::ByteBuffer, "java/io/ByteArrayOutputStream");
    if (method.member == Member::ThrowableOpen)
        return newThrowable(className, args[0].l ? object(args[0].l)->chars : std::u16string());
    JavaObject* argument = requiredArgument(thread, args);
    if (!argument)
        return nullptr;
    if (method.member == Member::StringFromChars)
        return newString(argument->chars);
    if (method.member == Member::FileStreamOpen)
        return openFileStream(thread, argument);
    if (method.member == Member::PrintStreamOpen)
        return newPrintStream(argument);
    if (method.member == Member::PrintStreamOpenWithCharset)
        return isModelledCharset(thread, object(args[2].l)) ? newPrintStream(argument) : nullptr;
    throwNew(thread, "java/lang/InstantiationError", fromUtf8(method.name));
    return nullptr;
}

jvalue invoke(ThreadEnv& thread, JavaObject* self, const Method& method, const jvalue* args) {
    jvalue result = {};
    switch (method.member) {
    case Member::SystemExit:
        systemExit(args[0].i);
    case Member::SystemSetOut:
    case Member::SystemSetErr:
        setStandardStream(method.member == Member::SystemSetErr, object(args[0].l));
        break;
    case Member::ByteBufferToString:
        result.l = handleOf<jobject>(newString(fromUtf8(self->bytes)));
        break;
    case Member::ByteBufferToStringWithCharset:
        if (isModelledCharset(thread, object(args[0].l)))
            result.l = handleOf<jobject>(newString(fromUtf8(self->bytes)));
        break;
    case Member::PrintStackTrace:
        if (requiredArgument(thread, args))
            writeToStream(object(args[0].l), traceText(*self));
        break;
    case Member::Main:
        runMain(thread, object(args[0].l));
        break;
    case Member::SecondaryVoid:
    case Member::SecondaryInt:
        result.i = runSecondaryMain(method, object(args[0].l));
        break;
    default:
        throwNew(thread, "java/lang/IncompatibleClassChangeError", fromUtf8(method.name));
    }
    return result;
}

} // namespace standin
