#pragma once
// The stand-in Java runtime: a jvm.dll built with the tests (bin\standin\jvm.dll, never shipped). It offers only the
// JNI functions the launcher calls, over a tiny model of the Java classes it uses, and it is no kinder than a real
// runtime: DestroyJavaVM waits for ever while another thread is attached or a non-daemon thread lives, and a misuse
// that a real runtime answers with a crash ends the process at once (a trap).
//
// KORU_STANDIN_SCRIPT: directives separated by ";", read afresh whenever one matters.
//   create=<n>            JNI_CreateJavaVM returns n and creates nothing (it also refuses, as a real runtime does,
//                         options it does not know: JNI_EINVAL for an unreadable size, JNI_ERR for others)
//   startup=<ms>          JNI_CreateJavaVM takes that long first, as a real runtime does on a cold machine
//   abort=<text>          JNI_CreateJavaVM fails as HotSpot does at a start-up error: the text (after "Error occurred
//                         during initialization of VM") through the "vfprintf" hook, the "abort" hook, exit code 1
//   stack=<bytes>         JNI_GetDefaultJavaVMInitArgs puts this default stack size into a JNI 1.1 record
//   archive=refuse        an archive given with -XX:SharedArchiveFile is refused (else any that exists is mapped)
//   java=8                a runtime older than Java 9: JNI_GetDefaultJavaVMInitArgs refuses JNI version 9 and later
//   missing=class         the application's classes cannot be found (NoClassDefFoundError)
//   clinit=<actions>      what the application class's static initialiser does, as for main, at its first lookup
//   handler=<actions>     what the uncaught-exception handler the application set does, as for main, when a thread
//                         detaches with an exception pending (without it the exception is printed)
//   missing=main          the application class has no main (NoSuchMethodError)
//   missing=main-silent   ... and GetStaticMethodID returns null without an exception (no runtime does this)
//   fail=<function>       NewCharArray, NewObjectArray or NewObjectV, as named, fails with OutOfMemoryError
//   detach=<n>            DetachCurrentThread returns n (not 0) and the thread stays attached
//   secondary=void|<n>|arg   the application class has secondaryMain(String[]), void or returning the int n, or
//                         (arg) returning its first argument read as a number
//   secondaryMain=<actions>   what secondaryMain does after taking its arguments, as for main
//   main=<actions>        what main does, in order, actions separated by ",":
//                           print:<text>, eprint:<text>   a line on System.out, System.err
//                           throw:<class>[:<message>]     main ends with that throwable (slashes) pending
//                           exit:<n>                      System.exit(n): the VM torn down (later calls into it
//                                                         wait for ever), the exit hook on a thread of the VM's own
//                           sleep:<ms>                    main sleeps
//                           linger:<ms>                   main starts a non-daemon thread that lives that long
//
// KORU_STANDIN_RECORD: a file that gets a UTF-8 line `key=value` per fact (the value may be empty), appended and closed
// line by line so that a sudden end loses nothing (text of several lines gives a line each).
//   option=<text>, hook=abort|exit|vfprintf   each creation option in order (ANSI code page), each hook in extraInfo
//   create.version=0x..., create.result=<n> (when creation failed)
//   env.KORU_JVM_PATH=, env.KORU_JVM_HOME=, env.Path=, cwd=, stackReserve=<bytes>   as the creating thread saw them
//   findClass=<name>                      each lookup of an application class, as given (modified UTF-8)
//   main.argc=<n>, main.arg=<text>, main.time=<100 ns since 1601>   main was called with these arguments
//   secondaryMain.argc=<n>, secondaryMain.arg=<text>   each call's lines together, whatever other threads record
//   stdout=<line>, stderr=<line>          text on the streams the VM started with (described errors too, and what
//                                         the VM prints itself when it was given no "vfprintf" hook), which also
//                                         goes to the process's standard handles
//   exception=<class>                     a throwable became pending
//   uncaught=<class>                      a thread detached with it still pending (printed as the VM does)
//   attach, detach (detach=<n> when scripted to fail), thread.ended (a lingering thread); attaching
//                                         to a destroyed VM fails with JNI_ERR, as in a real runtime
//   exit=<n>, destroy.begin, destroy.end
//   archive.mapped=, archive.refused=, archive.written=   a class-data archive (see below)
//   trap=<what>                           the process ended with 0xBAD0: a JNI function the launcher has no business
//                                         calling; or with 0xBAD1: a JNIEnv on a foreign or detached thread, a call
//                                         with an exception pending that JNI forbids, a null or dead reference, a null
//                                         class or method, a method called in the wrong form
//
// Modelled Java: String(char[]); System.exit, setOut, setErr; FileOutputStream(String); PrintStream(OutputStream),
// writing the ANSI code page as Java's default charset on Windows, and (OutputStream, boolean, "UTF-8");
// ByteArrayOutputStream() and toString("UTF-8"); any
// class whose name ends in Exception or Error is a throwable with printStackTrace(PrintStream); any other class
// outside java/ is the application, found only through the class path: in a jar file that exists, or below a folder
// as com\example\App.class; an empty entry (or no class path) is the current folder. Or it is in the main module
// ("-Djdk.module.main="), which must lie in a folder of the module path as <name>.jar: without it the VM aborts
// after printing why on the standard output. Nothing is freed.
//
// Class-data archives, as the runtime named by the "release" file of its home (JAVA_VERSION, "OpenJ9") takes them;
// without that file no archive option is known, and an unknown option fails creation with JNI_ERR.
//   -Xlog:...                        Java 9 on (HotSpot)
//   -XX:SharedArchiveFile=<file>     13 on: mapped when it exists (archive.mapped), unless the script refuses it
//   -XX:ArchiveClassesAtExit=<file>  13 on: without classes.jsa beside the library the VM does not start; at its end
//                                    (in DestroyJavaVM, or before the exit hook) the file is deleted and written anew,
//                                    read-only (archive.written). A file that cannot be made, or an application class
//                                    found below a folder, ends the process with 1 after the abort hook, as in HotSpot
//   -XX:+AutoCreateSharedArchive     19 on: a missing or refused archive is written at the end
//   -Xshareclasses:...               OpenJ9 only
#include <jni.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace standin {

void record(const std::string& key, const std::string& value = {});
// Several lines in one piece: no other thread's line comes between them.
void recordTogether(const std::vector<std::pair<std::string, std::string>>& lines);
void recordLines(const std::string& key, const std::string& text);
// Ends the process: 0xBAD1 for a misuse, 0xBAD0 for a function the launcher never calls.
[[noreturn]] void trap(const std::string& what, unsigned code = 0xBAD1);
inline void require(bool condition, const char* what) {
    if (!condition)
        trap(what);
}

// To UTF-8, or to another code page (CP_ACP is 0).
std::string utf8(const std::wstring& text, unsigned codePage = 65001);
// From UTF-8, or from another code page (CP_ACP is 0).
std::wstring fromUtf8(const std::string& text, unsigned codePage = 65001);
std::wstring environment(const wchar_t* name);
// The value of a script directive; empty when the script does not have it.
std::wstring directive(const wchar_t* name);
std::vector<std::wstring> split(const std::wstring& text, wchar_t separator);
long number(const std::wstring& text);

enum class Kind { Class, String, Chars, Array, FileStream, PrintStream, ByteStream, Throwable };

struct Object {
    Kind kind;
    std::string type;              // its class (slashes); for a Class object, the class it stands for
    std::wstring text;             // String, char[], the message of a throwable
    std::vector<Object*> items;    // Object[]
    std::string bytes;             // ByteArrayOutputStream
    void* file = nullptr;          // FileOutputStream
    Object* target = nullptr;      // PrintStream: the stream below it
    const char* console = nullptr; // the System.out and System.err the VM starts with: their record key
};

// One per attachment. It is never freed, so that a JNIEnv kept past its detach is still recognised.
struct Thread {
    JNIEnv env; // first: the JNIEnv* handed out points here
    std::string name;
    Object* pending = nullptr;
};

struct Method {
    bool isStatic;
    const char* owner; // a class name, or one of the kinds of class below
    const char* name;
    const char* signature;
};

// 'V', 'I' or 'L': what the method returns.
inline char returnType(const Method& method) { return std::strchr(method.signature, ')')[1]; }

struct Value {
    Object* object = nullptr;
    jint number = 0;
};

struct Vm {
    Object* out = nullptr;
    Object* err = nullptr;
    std::wstring classPath;  // "-Djava.class.path=", the last one given
    std::wstring modulePath; // "--module-path=", the last one given
    std::wstring mainModule; // "-Djdk.module.main=": its classes are the application's
    void(JNICALL* exitHook)(jint) = nullptr;
    void(JNICALL* abortHook)() = nullptr;
    jint(JNICALL* vfprintfHook)(FILE*, const char*, va_list) = nullptr;
    volatile bool exiting = false; // System.exit has begun
    bool classFromFolder = false;  // an application class was found below a folder of the class path
    volatile long liveThreads = 0; // attached threads and lingering ones: DestroyJavaVM waits for them
};
inline Vm vm;

Object* make(Kind kind, const std::string& type, const std::wstring& text = {}, Object* target = nullptr);
// Makes a new throwable of the type pending when the condition holds; tells whether it did.
bool throwIf(bool condition, Thread& thread, const std::string& type, const std::wstring& message);
// The pending throwable printed on System.err as the VM does, then cleared.
void describe(Thread& thread);
// A thread detaches: what it left pending goes to the uncaught-exception handler, by default describe, or what the
// script says the application's own handler does.
void uncaught(Thread& thread);
// Null (with NoClassDefFoundError pending) when the class does not exist, or with ExceptionInInitializerError when
// the application class's static initialiser threw.
Object* findClass(Thread& thread, const std::string& name);
// "<throwable>" or "<application>" for those classes, else the name itself.
std::string ownerOf(const std::string& className);
// Null when the class has no such method, with NoSuchMethodError pending unless the script says otherwise.
const Method* findMethod(Thread& thread, const std::string& className, const std::string& name,
                         const std::string& signature, bool isStatic);
Value invoke(Thread& thread, Object* self, const Method& method, const std::vector<Value>& arguments);

// What the VM prints itself: through the launcher's "vfprintf" hook when it gave one, else nowhere.
void vmPrint(const char* format, ...);
// A start-up error as HotSpot reports it: printed in pieces, the abort hook, then the end of the process with 1.
// One of the boot layer of modules is printed by Java's own start-up code, on the standard output.
[[noreturn]] void abortCreation(const std::string& reason, bool bootLayer = false);

// Class-data archive options: JNI_OK or JNI_ERR as the runtime takes the option, 1 for any other option.
jint takeArchiveOption(const std::string& option);
// At creation, once the options are read: the archive mapped or refused, or a VM that cannot start.
void openArchive();
// At the VM's end (in DestroyJavaVM, or before the exit hook after System.exit).
void writeArchive();

} // namespace standin
