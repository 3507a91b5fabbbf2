// Classes, members, objects, strings and throwables of the modelled Java side.
#include "JavaModel.h"

#include <windows.h>

#include <map>
#include <mutex>

namespace standin {
namespace {

std::mutex classLock;

bool endsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

const Method methods[] = {
    {Member::StringFromChars, false, ClassKind::String, "<init>", "([C)V"},
    {Member::SystemExit, true, ClassKind::System, "exit", "(I)V"},
    {Member::SystemSetOut, true, ClassKind::System, "setOut", "(Ljava/io/PrintStream;)V"},
    {Member::SystemSetErr, true, ClassKind::System, "setErr", "(Ljava/io/PrintStream;)V"},
    {Member::FileStreamOpen, false, ClassKind::FileOutputStream, "<init>", "(Ljava/lang/String;)V"},
    {Member::PrintStreamOpen, false, ClassKind::PrintStream, "<init>", "(Ljava/io/OutputStream;)V"},
    {Member::PrintStreamOpenWithCharset, false, ClassKind::PrintStream, "<init>",
     "(Ljava/io/OutputStream;ZLjava/lang/String;)V"},
    {Member::ByteBufferOpen, false, ClassKind::ByteBuffer, "<init>", "()V"},
    {Member::ByteBufferToString, false, ClassKind::ByteBuffer, "toString", "()Ljava/lang/String;"},
    {Member::ByteBufferToStringWithCharset, false, ClassKind::ByteBuffer, "toString",
     "(Ljava/lang/String;)Ljava/lang/String;"},
    {Member::PrintStackTrace, false, ClassKind::Throwable, "printStackTrace", "(Ljava/io/PrintStream;)V"},
    {Member::ThrowableOpen, false, ClassKind::Throwable, "<init>", "(Ljava/lang/String;)V"},
    {Member::Main, true, ClassKind::Application, "main", "([Ljava/lang/String;)V"},
    {Member::SecondaryVoid, true, ClassKind::Application, "secondaryMain", "([Ljava/lang/String;)V"},
    {Member::SecondaryInt, true, ClassKind::Application, "secondaryMain", "([Ljava/lang/String;)I"},
};

const StaticField staticFields[] = {
    {FieldKind::SystemOut, ClassKind::System, "out", "Ljava/io/PrintStream;"},
    {FieldKind::SystemErr, ClassKind::System, "err", "Ljava/io/PrintStream;"},
};

// What the script leaves of the application's members.
bool scriptProvides(Member member) {
    const Script& script = vmState().script;
    if (member == Member::Main)
        return !script.noMain && !script.noMainSilent;
    if (member == Member::SecondaryVoid)
        return script.secondary == Script::Void;
    if (member == Member::SecondaryInt)
        return script.secondary == Script::Int;
    return true;
}

void appendModifiedUtf8(std::string& out, char16_t unit) {
    if (unit != 0 && unit < 0x80) {
        out += static_cast<char>(unit);
    } else if (unit < 0x800) {
        out += static_cast<char>(0xC0 | (unit >> 6));
        out += static_cast<char>(0x80 | (unit & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (unit >> 12));
        out += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (unit & 0x3F));
    }
}

// Length of the sequence that starts with lead, or 0 when it cannot start one.
int sequenceLength(unsigned char lead) {
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0)
        return 2;
    if ((lead & 0xF0) == 0xE0)
        return 3;
    if ((lead & 0xF8) == 0xF0)
        return 4;
    return 0;
}

void appendCodePoint(std::u16string& out, uint32_t codePoint) {
    if (codePoint < 0x10000) {
        out += static_cast<char16_t>(codePoint);
        return;
    }
    codePoint -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (codePoint >> 10));
    out += static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF));
}

} // namespace

[[noreturn]] void fatal(const std::string& what) {
    record("fatal", what);
    ExitProcess(fatalExitCode);
}

ClassKind classKind(const std::string& name) {
    static const std::map<std::string, ClassKind> known = {
        {"java/lang/String", ClassKind::String},
        {"java/lang/System", ClassKind::System},
        {"java/lang/Object", ClassKind::Object},
        {"java/lang/Throwable", ClassKind::Throwable},
        {"java/io/FileOutputStream", ClassKind::FileOutputStream},
        {"java/io/PrintStream", ClassKind::PrintStream},
        {"java/io/OutputStream", ClassKind::OutputStream},
        {"java/io/ByteArrayOutputStream", ClassKind::ByteBuffer},
    };
    auto found = known.find(name);
    if (found != known.end())
        return found->second;
    // A dotted name is no class name for FindClass: the launcher must pass the slash form.
    if (name.empty() || name.find('.') != std::string::npos)
        return ClassKind::Missing;
    if (endsWith(name, "Exception") || endsWith(name, "Error"))
        return ClassKind::Throwable;
    return name.compare(0, 5, "java/") == 0 ? ClassKind::Missing : ClassKind::Application;
}

JavaObject* classObject(const std::string& name) {
    static std::map<std::string, JavaObject*> classes;
    std::lock_guard<std::mutex> guard(classLock);
    JavaObject*& entry = classes[name];
    if (!entry)
        entry = newObject(ObjectKind::Class, name);
    return entry;
}

const Method* findMethod(const std::string& className, const std::string& name, const std::string& signature,
                         bool isStatic) {
    ClassKind owner = classKind(className);
    for (const Method& method : methods) {
        if (method.owner == owner && method.isStatic == isStatic && name == method.name &&
            signature == method.signature)
            return scriptProvides(method.member) ? &method : nullptr;
    }
    return nullptr;
}

const StaticField* findStaticField(const std::string& className, const std::string& name,
                                   const std::string& signature) {
    ClassKind owner = classKind(className);
    for (const StaticField& field : staticFields) {
        if (field.owner == owner && name == field.name && signature == field.signature)
            return &field;
    }
    return nullptr;
}

JavaObject* newObject(ObjectKind kind, const std::string& className) {
    JavaObject* result = new JavaObject();
    result->kind = kind;
    result->className = className;
    return result;
}

JavaObject* newString(const std::u16string& chars) {
    JavaObject* result = newObject(ObjectKind::String, "java/lang/String");
    result->chars = chars;
    return result;
}

JavaObject* newConsoleStream(bool error) {
    JavaObject* result = newObject(ObjectKind::PrintStream, "java/io/PrintStream");
    result->consoleKey = error ? "stderr" : "stdout";
    return result;
}

JavaObject* newThrowable(const std::string& className, const std::u16string& message) {
    JavaObject* result = newObject(ObjectKind::Throwable, className);
    result->chars = message;
    return result;
}

void throwObject(ThreadEnv& thread, JavaObject* throwable) {
    std::string text = throwable->className;
    if (!throwable->chars.empty())
        text += ": " + toUtf8(throwable->chars);
    record("exception", text);
    thread.pending = throwable;
}

void throwNew(ThreadEnv& thread, const std::string& className, const std::u16string& message) {
    throwObject(thread, newThrowable(className, message));
}

// Java's own form: U+0000 as C0 80 and every UTF-16 unit on its own, so a supplementary character becomes two
// three-byte surrogate sequences.
std::string modifiedUtf8(const std::u16string& text) {
    std::string result;
    for (char16_t unit : text)
        appendModifiedUtf8(result, unit);
    return result;
}

// Accepts modified UTF-8 and, leniently, standard four-byte sequences; malformed bytes become U+FFFD.
std::u16string fromModifiedUtf8(const char* bytes) {
    std::u16string result;
    const unsigned char* next = reinterpret_cast<const unsigned char*>(bytes);
    while (*next) {
        int length = sequenceLength(*next);
        uint32_t codePoint = length == 1 ? *next : *next & (0x7F >> length);
        int taken = 1;
        for (; taken < length && (next[taken] & 0xC0) == 0x80; ++taken)
            codePoint = (codePoint << 6) | (next[taken] & 0x3F);
        appendCodePoint(result, length > 0 && taken == length ? codePoint : 0xFFFD);
        next += taken;
    }
    return result;
}

std::string traceText(const JavaObject& throwable) {
    std::string text = throwable.className;
    for (char& c : text)
        if (c == '/')
            c = '.';
    if (!throwable.chars.empty())
        text += ": " + toUtf8(throwable.chars);
    return text + "\r\n\tat Main.main(Main.java:1)\r\n";
}

} // namespace standin
