#pragma once
// The stand-in Java runtime: a jvm.dll built with the tests (bin\standin\jvm.dll, never shipped) that implements
// the JNI invocation interface, records what the launcher hands it and plays a behaviour chosen by the test.
//
// Both environment variables are read afresh by every JNI_GetDefaultJavaVMInitArgs and JNI_CreateJavaVM call,
// and the record path at every line, so a test sets them before starting the launcher (which passes them on).
// After DestroyJavaVM a new virtual machine may be created in the same process (tests that load the library
// themselves use this); a second creation while one exists returns JNI_EEXIST (-5). RecordFile.h reads the record.
//
// KORU_STANDIN_RECORD: a file that gets one UTF-8 line per fact, `key=value` or a bare `key`, appended (open,
// append, close per line: nothing is lost when the process is killed or exits). CR and LF inside a value are
// written as \r and \n; text spanning several lines (traces) gives one line per text line under the same key.
//   defaultArgs.version=0x00010001      JNI_GetDefaultJavaVMInitArgs was called with that record version
//   create.version=0x00010002           JNI_CreateJavaVM: the JavaVMInitArgs version,
//   create.nOptions=<n>                 the option count,
//   create.ignoreUnrecognized=0|1       the flag,
//   option=<optionString>               each option in order (ANSI code page, recorded as UTF-8),
//   option.hook=abort|exit              after the "abort"/"exit" option when its extraInfo is not null,
//   thread.stackReserve=<bytes>         stack reservation of the calling thread (high - low limit),
//   thread.id=<n>                       the calling thread's id,
//   env.KORU_JVM_PATH=... env.KORU_JVM_HOME=... env.Path=...   only the variables that are set,
//   cwd=<current directory>
//   create.result=<n>                   what JNI_CreateJavaVM returned (0 when the virtual machine exists)
//   findClass=<name>                    every FindClass of a class outside the modelled runtime (the application's
//                                       main class, missing classes), as given (modified UTF-8)
//   findRuntimeClass=<name>             every FindClass of a modelled runtime class (java/lang/String, ...)
//   getMethodID=<name> <sig>            every GetMethodID
//   getStaticMethodID=<name> <sig>      every GetStaticMethodID
//   getStaticFieldID=<name> <sig>       every GetStaticFieldID
//   fileOutputStream=<path>             a FileOutputStream opened (file created or truncated)
//   fileOutputStream.failed=<path>      ... and one that could not be (FileNotFoundException pending)
//   setOut=<file path> / setErr=<file path>   System.setOut/setErr with a print stream over a file
//                                       (<memory> for a ByteArrayOutputStream, <console> for a stream the virtual
//                                       machine started with, <none> for null)
//   main.called                         the application's main method runs; then
//   main.time=<100 ns units>            GetSystemTimePreciseAsFileTime as a decimal number,
//   main.thread=<n>                     the calling thread's id,
//   main.argc=<n>, main.arg=<UTF-8>     the String[] argument, one main.arg line per element in order
//                                       (main.arg.null for a null element, main.args.null for a null array)
//   stdout=<text>                       a line written to the System.out the virtual machine started with (while
//                                       it is not redirected to a file)
//   stderr=<text>                       the same for System.err: eprint lines, ExceptionDescribe traces and
//                                       the trace of an exception still pending when a thread detaches
//   exception=<class>: <message>        a throwable became pending (Throw, ThrowNew, or thrown by the model)
//   exceptionDescribe                   ExceptionDescribe was called with an exception pending
//   uncaught=<class>                    a thread detached with an exception pending (printed as the virtual
//                                       machine does: Exception in thread "main" <trace>; attached threads are
//                                       named Thread-<n>)
//   exit=<n>                            System.exit(n): the "exit" hook is called with n, then ExitProcess(n)
//   attach / detach                     AttachCurrentThread / DetachCurrentThread succeeded
//   attach=<n> / detach=<n>             ... failed with n, as the script asked (see attach=, detach=)
//   secondaryMain.called, secondaryMain.argc=<n>, secondaryMain.arg=<UTF-8>, secondaryMain.result=<n> (int form)
//   thread.started / thread.ended       the lingering non-daemon thread (see linger)
//   destroy.begin / destroy.end         DestroyJavaVM entered / about to return
//   unimplemented:<JNI function name>   a JNI function the stand-in lacks; the process ends with 0xBAD0
//   fatal=<what>                        a call no runtime survives (a null method ID or class, a non-string
//                                       given as a string, FatalError); the process ends with 0xBAD1
//
// KORU_STANDIN_SCRIPT: directives separated by ";" (text may hold any Unicode, but no ";" and, in main
// actions, no ","):
//   create=<n>            JNI_CreateJavaVM returns n (for example -1 to -7) after recording its arguments
//   reject-unknown        with ignoreUnrecognized false, an option that does not start with -D, -X, -verbose,
//                         -ea, -da, -agent or -javaagent and is not "abort"/"exit" makes creation return -1
//                         and records stderr=Unrecognized option: <option>
//   class-missing         FindClass of the main class (any application class, see below) returns null with a
//                         pending java/lang/NoClassDefFoundError (message: the name as given)
//   string-missing        FindClass of java/lang/String returns null with a pending NoClassDefFoundError, so that
//                         no launcher text can become a Java string
//   no-main               GetStaticMethodID for main returns null with a pending java/lang/NoSuchMethodError
//   no-main-silent        ... returns null without an exception
//   main=<actions>        actions separated by "," run in order when main is called:
//                           return            main returns (also the end of the list)
//                           print:<text>      text and CRLF on System.out (the setOut file, else stdout=<text>)
//                           eprint:<text>     the same on System.err (the setErr file, else stderr=<text>)
//                           throw:<class>:<message>   main ends with that throwable pending (class with dots or
//                                             slashes; the message may hold ":"); its printStackTrace
//                                             writes "<class with dots>: <message>" (just the class when the
//                                             message is empty) and "\tat Main.main(Main.java:1)", CRLF each
//                           exit:<n>          System.exit(n)
//                           sleep:<ms>        Sleep(ms)
//   linger=<ms>           main starts a non-daemon thread that lives ms milliseconds; DestroyJavaVM waits for it
//                         (thread.ended is recorded before destroy.end)
//   default-stack=<bytes> JNI_GetDefaultJavaVMInitArgs sets javaStackSize of the JNI 1.1 record (else 0)
//   secondary=none|void|int:<n>   which secondaryMain the main class has (default none); the int form returns n
//   attach=<n>            AttachCurrentThread returns n (no environment) instead of 0
//   detach=<n>            DetachCurrentThread returns n instead of 0 (the thread stays attached)
//
// Modelled Java: java/lang/String (from char[]), java/lang/System (exit, setOut, setErr, the static fields out and
// err), java/io/FileOutputStream (String), java/io/PrintStream (OutputStream; OutputStream, boolean, String),
// java/io/ByteArrayOutputStream (() and toString(), toString(String)), java/lang/Object. Streams write UTF-8; a
// charset name other than UTF-8/UTF8 (any case) throws java/io/UnsupportedEncodingException.
// throwables: any class whose name ends in Exception or Error (printStackTrace(PrintStream), <init>(String)), and
// the application: every other class outside java/, with main and the chosen secondaryMain. Other java/ classes and
// dotted names are missing (NoClassDefFoundError). Objects are never freed: the process is short-lived.
#include <jni.h>

#include <string>
#include <vector>

namespace standin {

constexpr unsigned unimplementedExitCode = 0xBAD0;
constexpr unsigned fatalExitCode = 0xBAD1;

// Appends one line to the record file, if one is named.
void record(const std::string& key, const std::string& value);
void record(const std::string& key);
// Several lines of text under one key, split at CRLF or LF.
void recordLines(const std::string& key, const std::string& text);

std::string toUtf8(const std::u16string& text);
std::string toUtf8(const std::wstring& text);
std::u16string fromUtf8(const std::string& text);
std::string fromAnsi(const char* text);
std::string environmentVariable(const wchar_t* name, bool& isSet);

struct MainAction {
    enum Kind { Return, Print, ErrorPrint, Throw, Exit, Sleep };
    Kind kind = Return;
    std::u16string text;   // Print, ErrorPrint; the message of Throw
    std::string className; // Throw, with slashes
    long number = 0;       // Exit, Sleep
};

struct Script {
    bool hasCreateResult = false;
    jint createResult = 0;
    bool rejectUnknown = false;
    bool classMissing = false;
    bool stringMissing = false;
    bool noMain = false;
    bool noMainSilent = false;
    std::vector<MainAction> mainActions;
    unsigned long lingerMs = 0;
    jint defaultStack = 0;
    enum Secondary { None, Void, Int } secondary = None;
    jint secondaryResult = 0;
    bool hasAttachResult = false;
    jint attachResult = 0;
    bool hasDetachResult = false;
    jint detachResult = 0;
};

Script parseScript(const std::u16string& text);
// The script of KORU_STANDIN_SCRIPT as it is now.
Script currentScript();

} // namespace standin
