#pragma once
// The Java side that the stand-in models: objects behind jobject handles, the classes and members the launcher
// uses, the per-thread JNI environments and the state of the one virtual machine.
#include "StandIn.h"

#include <cstdint>
#include <string>
#include <vector>

namespace standin {

enum class ObjectKind { Class, String, CharArray, ObjectArray, FileOutputStream, PrintStream, ByteBuffer, Throwable };

struct JavaObject {
    ObjectKind kind;
    std::string className;             // the object's class (slashes); for a Class object the class it names
    std::u16string chars;              // String, char[], the message of a Throwable
    std::vector<JavaObject*> elements; // Object[]
    std::wstring path;                 // FileOutputStream
    uint64_t position = 0;             // FileOutputStream: where its next write goes
    std::string bytes;                 // ByteArrayOutputStream
    JavaObject* target = nullptr;      // PrintStream: the stream it writes to
    const char* consoleKey = nullptr;  // the streams the VM starts with: "stdout" or "stderr", written to the record
};

enum class ClassKind {
    String,
    System,
    FileOutputStream,
    PrintStream,
    OutputStream,
    ByteBuffer,
    Object,
    Throwable,
    Application,
    Missing
};

enum class Member {
    StringFromChars,
    SystemExit,
    SystemSetOut,
    SystemSetErr,
    FileStreamOpen,
    PrintStreamOpen,
    PrintStreamOpenWithCharset,
    ByteBufferOpen,
    ByteBufferToString,
    ByteBufferToStringWithCharset,
    PrintStackTrace,
    ThrowableOpen,
    Main,
    SecondaryVoid,
    SecondaryInt
};

struct Method {
    Member member;
    bool isStatic;
    ClassKind owner;
    const char* name;
    const char* signature;
};

enum class FieldKind { SystemOut, SystemErr };

struct StaticField {
    FieldKind field;
    ClassKind owner;
    const char* name;
    const char* signature;
};

// One per attached thread; the JNIEnv handed out is the first member.
struct ThreadEnv {
    JNIEnv env;
    JavaObject* pending = nullptr;
    std::string name;
};

struct VmState {
    Script script;
    bool created = false;
    void(JNICALL* exitHook)(jint) = nullptr;
    void(JNICALL* abortHook)() = nullptr;
    void* lingerThread = nullptr;
    JavaObject* out = nullptr;
    JavaObject* err = nullptr;
};

inline JavaObject* object(jobject handle) { return reinterpret_cast<JavaObject*>(handle); }
template <typename Handle> Handle handleOf(JavaObject* object) { return reinterpret_cast<Handle>(object); }
inline ThreadEnv& threadOf(JNIEnv* env) { return *reinterpret_cast<ThreadEnv*>(env); }

VmState& vmState();
JavaVM* javaVm();
const JNINativeInterface_* envFunctions();
// The environment of the calling thread, made on first use (name: "main" or "Thread-<n>").
ThreadEnv* attachedThread();
ThreadEnv& attachThread(const std::string& name);
void detachThread();

// Ends the process for a call no runtime would survive (a null method or class), so a test notices.
[[noreturn]] void fatal(const std::string& what);

ClassKind classKind(const std::string& name);
JavaObject* classObject(const std::string& name);
const StaticField* findStaticField(const std::string& className, const std::string& name, const std::string& signature);
const Method* findMethod(const std::string& className, const std::string& name, const std::string& signature,
                         bool isStatic);

JavaObject* newObject(ObjectKind kind, const std::string& className);
JavaObject* newString(const std::u16string& chars);
// The System.out or System.err that the virtual machine starts with.
JavaObject* newConsoleStream(bool error);
JavaObject* newThrowable(const std::string& className, const std::u16string& message);
void throwObject(ThreadEnv& thread, JavaObject* throwable);
void throwNew(ThreadEnv& thread, const std::string& className, const std::u16string& message);

std::string modifiedUtf8(const std::u16string& text);
std::u16string fromModifiedUtf8(const char* bytes);

std::string traceText(const JavaObject& throwable);
void describePending(ThreadEnv& thread);
void reportUncaught(ThreadEnv& thread);

JavaObject* construct(ThreadEnv& thread, const Method& method, const jvalue* args, const std::string& className);
jvalue invoke(ThreadEnv& thread, JavaObject* self, const Method& method, const jvalue* args);

} // namespace standin
