// The Java side: the few classes and members the launcher uses, and the application's main as the script plays it.
#include "StandIn.h"

#include <windows.h>

#include <algorithm>
#include <mutex>
#include <thread>

namespace standin {
namespace {

const char* const throwableOwner = "<throwable>";
const char* const applicationOwner = "<application>";

const Method methods[] = {
    {false, "java/lang/String", "<init>", "([C)V"},
    {true, "java/lang/System", "exit", "(I)V"},
    {true, "java/lang/System", "setOut", "(Ljava/io/PrintStream;)V"},
    {true, "java/lang/System", "setErr", "(Ljava/io/PrintStream;)V"},
    {false, "java/io/FileOutputStream", "<init>", "(Ljava/lang/String;)V"},
    {false, "java/io/PrintStream", "<init>", "(Ljava/io/OutputStream;)V"},
    {false, "java/io/PrintStream", "<init>", "(Ljava/io/OutputStream;ZLjava/lang/String;)V"},
    {false, "java/io/ByteArrayOutputStream", "<init>", "()V"},
    {false, "java/io/ByteArrayOutputStream", "toString", "(Ljava/lang/String;)Ljava/lang/String;"},
    {false, throwableOwner, "printStackTrace", "(Ljava/io/PrintStream;)V"},
    {true, applicationOwner, "main", "([Ljava/lang/String;)V"},
    {true, applicationOwner, "secondaryMain", "([Ljava/lang/String;)V"},
    {true, applicationOwner, "secondaryMain", "([Ljava/lang/String;)I"},
};

bool isThrowableClass(const std::string& name) {
    auto endsWith = [&name](const std::string& suffix) {
        return name.size() >= suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
    };
    return name.find('.') == std::string::npos && (endsWith("Exception") || endsWith("Error"));
}

bool isApplicationClass(const std::string& name) {
    return !name.empty() && name.compare(0, 5, "java/") != 0 && name.find('.') == std::string::npos &&
           !isThrowableClass(name);
}

// The application's classes lie where a real runtime would look for them: in any jar file of the class path that
// exists (each holds them all), or as class files below a folder of it. An empty entry, or none at all, is the current
// folder (the ";" added makes the last entry, empty or not, one of the parts).
bool onClassPath(const std::string& name) {
    for (std::wstring entry : split(vm.classPath + L";", L';')) {
        entry = entry.empty() ? L"." : entry;
        DWORD attributes = GetFileAttributesW(entry.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            return true;
        if (GetFileAttributesW((entry + L"\\" + fromUtf8(name) + L".class").c_str()) != INVALID_FILE_ATTRIBUTES)
            return vm.classFromFolder = true;
    }
    return false;
}

bool classExists(const std::string& name) {
    if (isApplicationClass(name))
        return (onClassPath(name) || !vm.mainModule.empty()) && directive(L"missing") != L"class";
    return isThrowableClass(name) ||
           std::any_of(std::begin(methods), std::end(methods), [&](const Method& m) { return name == m.owner; });
}

// What the script leaves of the application's members.
bool scriptHas(const Method& method) {
    std::string name = method.name;
    std::wstring secondary = directive(L"secondary");
    if (name == "main")
        return directive(L"missing").compare(0, 4, L"main") != 0;
    if (name != "secondaryMain")
        return true;
    return returnType(method) == 'V' ? secondary == L"void" : !secondary.empty() && secondary != L"void";
}

Object* newString(const std::wstring& text) { return make(Kind::String, "java/lang/String", text); }

std::string traceText(const Object& throwable) {
    std::string type = throwable.type;
    for (char& c : type)
        c = c == '/' ? '.' : c;
    std::string message = throwable.text.empty() ? "" : ": " + utf8(throwable.text);
    return type + message + "\r\n\tat Main.main(Main.java:1)\r\n";
}

void write(Object* stream, const std::string& text) {
    // PrintStream(OutputStream) encodes with the default charset, which is the ANSI code page on Windows.
    bool ansi = stream && stream->kind == Kind::PrintStream && !stream->console && stream->text.empty();
    std::string bytes = ansi ? utf8(fromUtf8(text), CP_ACP) : text;
    while (stream && stream->kind == Kind::PrintStream && !stream->console)
        stream = stream->target;
    if (!stream)
        return;
    DWORD written = 0;
    if (stream->console) {
        // As a real VM does, it writes to the process's own standard handles too (a console launcher has them).
        recordLines(stream->console, bytes);
        DWORD handle = std::strcmp(stream->console, "stdout") == 0 ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE;
        WriteFile(GetStdHandle(handle), bytes.data(), DWORD(bytes.size()), &written, nullptr);
    } else if (stream->kind == Kind::FileStream)
        WriteFile(stream->file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    else if (stream->kind == Kind::ByteStream)
        stream->bytes += bytes;
}

// Java's FileOutputStream: the file is created or truncated, and the stream writes on from its own position.
Object* openFile(Thread& thread, const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (throwIf(file == INVALID_HANDLE_VALUE, thread, "java/io/FileNotFoundException", path + L" (cannot be opened)"))
        return nullptr;
    Object* stream = make(Kind::FileStream, "java/io/FileOutputStream");
    stream->file = file;
    return stream;
}

bool present(Thread& thread, Object* argument) {
    return !throwIf(!argument, thread, "java/lang/NullPointerException", L"");
}

// The stand-in's streams encode only UTF-8; another charset name is refused rather than written wrongly.
bool isUtf8(Thread& thread, Object* charset) {
    return present(thread, charset) &&
           !throwIf(CompareStringOrdinal(charset->text.c_str(), -1, L"UTF-8", -1, TRUE) != CSTR_EQUAL, thread,
                    "java/io/UnsupportedEncodingException", charset->text);
}

// The VM is torn down (whatever touches it from now on waits for ever); then its own thread calls the exit hook and
// ends the process, while the thread that called System.exit never comes back.
[[noreturn]] void systemExit(jint status) {
    record("exit", std::to_string(status));
    vm.exiting = true;
    std::thread([status] {
        writeArchive();
        if (vm.exitHook)
            vm.exitHook(status);
        ExitProcess(UINT(status));
    }).detach();
    for (;;)
        Sleep(INFINITE);
}

// The arguments in one piece, so that the calls of several threads at once do not interleave in the record.
void takeArguments(const std::string& method, Object* array) {
    std::vector<std::pair<std::string, std::string>> lines{
        {method + ".argc", array ? std::to_string(array->items.size()) : "null"}};
    for (Object* argument : array ? array->items : std::vector<Object*>())
        lines.emplace_back(method + ".arg", argument ? utf8(argument->text) : "(null)");
    recordTogether(lines);
}

// A non-daemon thread of the application: DestroyJavaVM waits for it.
void linger(long milliseconds) {
    InterlockedIncrement(&vm.liveThreads);
    std::thread([milliseconds] {
        Sleep(DWORD(milliseconds));
        record("thread.ended");
        InterlockedDecrement(&vm.liveThreads);
    }).detach();
}

// Plays the actions of a script directive; false when one of them left an exception pending.
bool play(Thread& thread, const std::wstring& actions) {
    for (const std::wstring& action : split(actions, L',')) {
        size_t colon = action.find(L':');
        std::wstring verb = action.substr(0, colon);
        std::wstring rest = colon == std::wstring::npos ? L"" : action.substr(colon + 1);
        if (verb == L"print" || verb == L"eprint")
            write(verb == L"print" ? vm.out : vm.err, utf8(rest) + "\r\n");
        else if (verb == L"exit")
            systemExit(number(rest));
        else if (verb == L"sleep")
            Sleep(DWORD(number(rest)));
        else if (verb == L"linger")
            linger(number(rest));
        else if (verb == L"throw") {
            size_t end = rest.find(L':');
            throwIf(true, thread, utf8(rest.substr(0, end)), end == std::wstring::npos ? L"" : rest.substr(end + 1));
            return false;
        }
    }
    return true;
}

void runMain(Thread& thread, Object* arguments) {
    takeArguments("main", arguments);
    FILETIME now;
    GetSystemTimePreciseAsFileTime(&now);
    record("main.time", std::to_string((uint64_t(now.dwHighDateTime) << 32) | now.dwLowDateTime));
    play(thread, directive(L"main"));
}

// The int form answers with the scripted number, or with its first argument read as one ("secondary=arg"); a real
// runtime returns 0 from a method that threw.
jint runSecondaryMain(Thread& thread, Object* arguments) {
    takeArguments("secondaryMain", arguments);
    if (!play(thread, directive(L"secondaryMain")))
        return 0;
    std::wstring secondary = directive(L"secondary");
    if (secondary != L"arg")
        return secondary == L"void" ? 0 : number(secondary);
    return arguments && !arguments->items.empty() && arguments->items[0] ? number(arguments->items[0]->text) : 0;
}

Object* construct(Thread& thread, const Method& method, const std::vector<Value>& arguments) {
    std::string owner = method.owner;
    if (arguments.empty())
        return make(Kind::ByteStream, owner);
    Object* first = arguments[0].object;
    if (!present(thread, first) || (arguments.size() == 3 && !isUtf8(thread, arguments[2].object)))
        return nullptr;
    if (owner == "java/lang/String")
        return newString(first->text);
    if (owner == "java/io/FileOutputStream")
        return openFile(thread, first->text);
    // A print stream keeps the name of the charset it was given: none means the default one.
    return make(Kind::PrintStream, owner, arguments.size() == 3 ? arguments[2].object->text : L"", first);
}

} // namespace

Object* make(Kind kind, const std::string& type, const std::wstring& text, Object* target) {
    return new Object{kind, type, text, {}, {}, nullptr, target};
}

bool throwIf(bool condition, Thread& thread, const std::string& type, const std::wstring& message) {
    if (condition) {
        record("exception", type);
        thread.pending = make(Kind::Throwable, type, message);
    }
    return condition;
}

void describe(Thread& thread) {
    if (!thread.pending)
        return;
    write(vm.err, "Exception in thread \"" + thread.name + "\" " + traceText(*thread.pending));
    thread.pending = nullptr;
}

void uncaught(Thread& thread) {
    if (thread.pending)
        record("uncaught", thread.pending->type);
    if (thread.pending && !directive(L"handler").empty()) {
        thread.pending = nullptr;
        play(thread, directive(L"handler"));
    }
    describe(thread);
}

// The application class's static initialiser runs at its first lookup, once, while other lookups wait for it. When
// it throws, that lookup fails with ExceptionInInitializerError, and every later one with NoClassDefFoundError.
bool initialized(Thread& thread, const std::string& name) {
    static std::mutex lock;
    static enum { NotYet, Done, Failed } state = NotYet;
    std::lock_guard<std::mutex> guard(lock);
    if (state == NotYet) {
        state = play(thread, directive(L"clinit")) ? Done : Failed;
        return state == Done || !throwIf(true, thread, "java/lang/ExceptionInInitializerError", L"");
    }
    return state == Done ||
           !throwIf(true, thread, "java/lang/NoClassDefFoundError", L"Could not initialize class " + fromUtf8(name));
}

Object* findClass(Thread& thread, const std::string& name) {
    bool application = isApplicationClass(name);
    if (application)
        record("findClass", name);
    if (throwIf(!classExists(name), thread, "java/lang/NoClassDefFoundError", fromUtf8(name)))
        return nullptr;
    return !application || initialized(thread, name) ? make(Kind::Class, name) : nullptr;
}

std::string ownerOf(const std::string& className) {
    if (isApplicationClass(className))
        return applicationOwner;
    return isThrowableClass(className) ? throwableOwner : className;
}

const Method* findMethod(Thread& thread, const std::string& className, const std::string& name,
                         const std::string& signature, bool isStatic) {
    std::string owner = ownerOf(className);
    for (const Method& method : methods) {
        if (owner == method.owner && name == method.name && signature == method.signature &&
            isStatic == method.isStatic && scriptHas(method))
            return &method;
    }
    throwIf(name != "main" || directive(L"missing") != L"main-silent", thread, "java/lang/NoSuchMethodError",
            fromUtf8(name));
    return nullptr;
}

Value invoke(Thread& thread, Object* self, const Method& method, const std::vector<Value>& arguments) {
    Value result;
    std::string name = method.name;
    Object* first = arguments.empty() ? nullptr : arguments[0].object;
    if (name == "<init>")
        result.object = construct(thread, method, arguments);
    else if (name == "exit")
        systemExit(arguments[0].number);
    else if (name == "setOut" || name == "setErr")
        (name == "setOut" ? vm.out : vm.err) = first;
    else if (name == "toString" && isUtf8(thread, first))
        result.object = newString(fromUtf8(self->bytes));
    else if (name == "printStackTrace" && present(thread, first))
        write(first, traceText(*self));
    else if (name == "main")
        runMain(thread, first);
    else if (name == "secondaryMain")
        result.number = runSecondaryMain(thread, first);
    return result;
}

} // namespace standin
