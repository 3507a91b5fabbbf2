// The stand-in runtime driven through the JNI calls the launcher makes, in this process, and through a small
// host program for the behaviours that end the process.
#include "JavaRuntime.h"
#include "RecordFile.h"
#include "TestFiles.h"
#include "TestProcess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

namespace {

const char* const mainSignature = "([Ljava/lang/String;)V";

std::wstring standInPath() { return testProgramFolder() + L"\\standin\\jvm.dll"; }

HMODULE standInLibrary() {
    static HMODULE library = LoadLibraryW(standInPath().c_str());
    return library;
}

template <typename Proc> Proc entryPoint(const char* name) {
    return reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(standInLibrary(), name)));
}

class StandIn : public testing::Test {
public:
    void SetUp() override { ASSERT_NE(standInLibrary(), nullptr); }

    void TearDown() override {
        if (vm)
            vm->DestroyJavaVM();
    }

    // The previous setting is restored first, so that it cannot overwrite the new one.
    void useScript(const std::wstring& text) {
        script.reset();
        script = std::make_unique<ScopedEnvironment>(L"KORU_STANDIN_SCRIPT", text);
    }

    jint create(std::vector<std::string> optionTexts = {}, jboolean ignoreUnrecognized = JNI_FALSE) {
        std::vector<JavaVMOption> options;
        for (auto& text : optionTexts)
            options.push_back({text.data(), nullptr});
        JavaVMInitArgs args = {JNI_VERSION_1_2, static_cast<jint>(options.size()), options.data(), ignoreUnrecognized};
        return entryPoint<CreateJavaVmProc>("JNI_CreateJavaVM")(&vm, reinterpret_cast<void**>(&env), &args);
    }

    std::vector<std::string> recorded() const { return readStandInRecord(recordPath); }

    jstring javaString(const std::u16string& text) {
        jclass stringClass = env->FindClass("java/lang/String");
        jmethodID fromChars = env->GetMethodID(stringClass, "<init>", "([C)V");
        jcharArray chars = env->NewCharArray(static_cast<jsize>(text.size()));
        env->SetCharArrayRegion(chars, 0, static_cast<jsize>(text.size()), reinterpret_cast<const jchar*>(text.data()));
        jobject result = env->NewObject(stringClass, fromChars, chars);
        env->DeleteLocalRef(chars);
        return static_cast<jstring>(result);
    }

    jobjectArray stringArray(JNIEnv* threadEnv, const std::vector<std::u16string>& texts) {
        JNIEnv* saved = env;
        env = threadEnv;
        jobjectArray array =
            env->NewObjectArray(static_cast<jsize>(texts.size()), env->FindClass("java/lang/String"), nullptr);
        for (size_t i = 0; i < texts.size(); ++i)
            env->SetObjectArrayElement(array, static_cast<jsize>(i), javaString(texts[i]));
        env = saved;
        return array;
    }

    std::string utfChars(jstring string) {
        const char* bytes = env->GetStringUTFChars(string, nullptr);
        std::string result = bytes ? bytes : "(null)";
        env->ReleaseStringUTFChars(string, bytes);
        return result;
    }

    // Calls the application's main method as the launcher does.
    void callMain(const std::vector<std::u16string>& arguments = {}) {
        jclass application = env->FindClass("com/example/App");
        ASSERT_NE(application, nullptr);
        jmethodID main = env->GetStaticMethodID(application, "main", mainSignature);
        ASSERT_NE(main, nullptr);
        env->CallStaticVoidMethod(application, main, stringArray(env, arguments));
    }

    jobject newPrintStream(jobject target) {
        jclass printClass = env->FindClass("java/io/PrintStream");
        return env->NewObject(printClass, env->GetMethodID(printClass, "<init>", "(Ljava/io/OutputStream;)V"), target);
    }

    jobject openFileStream(const std::wstring& path) {
        jclass fileClass = env->FindClass("java/io/FileOutputStream");
        jmethodID open = env->GetMethodID(fileClass, "<init>", "(Ljava/lang/String;)V");
        std::u16string chars(path.begin(), path.end());
        return env->NewObject(fileClass, open, javaString(chars));
    }

    void setSystemStream(const char* name, jobject printStream) {
        jclass system = env->FindClass("java/lang/System");
        env->CallStaticVoidMethod(system, env->GetStaticMethodID(system, name, "(Ljava/io/PrintStream;)V"),
                                  printStream);
    }

    jobject newByteBuffer() {
        jclass bufferClass = env->FindClass("java/io/ByteArrayOutputStream");
        return env->NewObject(bufferClass, env->GetMethodID(bufferClass, "<init>", "()V"));
    }

    jobject newPrintStream(jobject target, jstring charset) {
        jclass printClass = env->FindClass("java/io/PrintStream");
        jmethodID open = env->GetMethodID(printClass, "<init>", "(Ljava/io/OutputStream;ZLjava/lang/String;)V");
        return env->NewObject(printClass, open, target, JNI_FALSE, charset);
    }

    void printStackTrace(jthrowable exception, jobject printer) {
        jmethodID print =
            env->GetMethodID(env->GetObjectClass(exception), "printStackTrace", "(Ljava/io/PrintStream;)V");
        env->CallVoidMethod(exception, print, printer);
    }

    // The launcher's exceptionText: printStackTrace into a byte buffer, both ends naming UTF-8, then the modified
    // UTF-8 bytes of the text.
    std::string printedTrace(jthrowable exception) {
        jstring charset = env->NewStringUTF("UTF-8");
        jobject buffer = newByteBuffer();
        printStackTrace(exception, newPrintStream(buffer, charset));
        jmethodID toString =
            env->GetMethodID(env->GetObjectClass(buffer), "toString", "(Ljava/lang/String;)Ljava/lang/String;");
        return utfChars(static_cast<jstring>(env->CallObjectMethod(buffer, toString, charset)));
    }

    jobject systemStream(const char* name) {
        jclass system = env->FindClass("java/lang/System");
        jfieldID field = env->GetStaticFieldID(system, name, "Ljava/io/PrintStream;");
        return field ? env->GetStaticObjectField(system, field) : nullptr;
    }

    TempFolder temp;
    std::wstring recordPath = temp / L"record.txt";
    ScopedEnvironment recordVariable{L"KORU_STANDIN_RECORD", recordPath};
    std::unique_ptr<ScopedEnvironment> script = std::make_unique<ScopedEnvironment>(L"KORU_STANDIN_SCRIPT", L"");
    JavaVM* vm = nullptr;
    JNIEnv* env = nullptr;
};

TEST_F(StandIn, SecondCreationIsRefused) {
    ASSERT_EQ(create(), JNI_OK);
    JavaVM* first = vm;
    EXPECT_EQ(create(), JNI_EEXIST);
    vm = first;
}

TEST_F(StandIn, StringsComeBackAsModifiedUtf8) {
    ASSERT_EQ(create(), JNI_OK);
    jstring text = javaString(std::u16string(u"a\u00e9\u20ac") + u'\0' + u"\U0001F600");
    EXPECT_EQ(utfChars(text), "a\xC3\xA9\xE2\x82\xAC\xC0\x80\xED\xA0\xBD\xED\xB8\x80");
    EXPECT_EQ(env->GetStringLength(text), 6);
    EXPECT_EQ(env->GetStringUTFLength(text), 14);
    jstring back = env->NewStringUTF("a\xC0\x80\xED\xA0\xBD\xED\xB8\x80");
    const jchar* chars = env->GetStringChars(back, nullptr);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(chars), env->GetStringLength(back)),
              std::u16string(u"a") + u'\0' + u"\U0001F600");
    env->ReleaseStringChars(back, chars);
}

TEST_F(StandIn, TwoFileStreamsOnOneFileEachWriteFromTheirOwnPosition) {
    useScript(L"main=print:out,eprint:error!");
    ASSERT_EQ(create(), JNI_OK);
    std::wstring path = temp / L"both.log";
    setSystemStream("setOut", newPrintStream(openFileStream(path)));
    setSystemStream("setErr", newPrintStream(openFileStream(path)));
    callMain();
    EXPECT_EQ(readBytes(path), "error!\r\n");
    jclass error = env->FindClass("java/lang/IllegalStateException");
    env->ThrowNew(error, "late");
    env->ExceptionDescribe();
    EXPECT_EQ(readBytes(path), "error!\r\njava.lang.IllegalStateException: late\r\n\tat Main.main(Main.java:1)\r\n")
        << "the redirected System.err receives described exceptions";
}

TEST_F(StandIn, ThrownExceptionPrintsItsTraceAsModifiedUtf8) {
    useScript(L"main=throw:java.lang.IllegalStateException:b\u00e4d \U0001F600: really,print:never");
    ASSERT_EQ(create(), JNI_OK);
    callMain();
    jthrowable exception = env->ExceptionOccurred();
    ASSERT_NE(exception, nullptr);
    env->ExceptionClear();
    EXPECT_EQ(printedTrace(exception), "java.lang.IllegalStateException: b\xC3\xA4"
                                       "d \xED\xA0\xBD\xED\xB8\x80: really\r\n"
                                       "\tat Main.main(Main.java:1)\r\n");
    EXPECT_FALSE(env->ExceptionCheck());
    EXPECT_FALSE(recordHas(recorded(), "stdout=never"));
}

TEST_F(StandIn, TraceThroughTheDefaultCharsetFormsAndOnlyUtf8Named) {
    ASSERT_EQ(create(), JNI_OK);
    jthrowable error = static_cast<jthrowable>(env->NewObject(
        env->FindClass("java/lang/IllegalStateException"),
        env->GetMethodID(env->FindClass("java/lang/IllegalStateException"), "<init>", "(Ljava/lang/String;)V"),
        javaString(u"\u00e4")));
    jobject buffer = newByteBuffer();
    printStackTrace(error, newPrintStream(buffer));
    jmethodID toString = env->GetMethodID(env->GetObjectClass(buffer), "toString", "()Ljava/lang/String;");
    EXPECT_EQ(utfChars(static_cast<jstring>(env->CallObjectMethod(buffer, toString))),
              "java.lang.IllegalStateException: \xC3\xA4\r\n\tat Main.main(Main.java:1)\r\n");
    EXPECT_EQ(newPrintStream(buffer, env->NewStringUTF("ISO-8859-1")), nullptr);
    jthrowable unsupported = env->ExceptionOccurred();
    ASSERT_NE(unsupported, nullptr);
    env->ExceptionClear();
    EXPECT_EQ(printedTrace(unsupported).rfind("java.io.UnsupportedEncodingException: ISO-8859-1\r\n", 0), 0u);
    EXPECT_NE(newPrintStream(buffer, env->NewStringUTF("utf8")), nullptr);
}

TEST_F(StandIn, SystemStreamFieldsFollowSetOutAndSetErr) {
    useScript(L"main=print:to the console");
    ASSERT_EQ(create(), JNI_OK);
    jobject initialOut = systemStream("out");
    ASSERT_NE(initialOut, nullptr);
    EXPECT_FALSE(env->IsSameObject(initialOut, systemStream("err")));
    jobject printer = newPrintStream(newByteBuffer());
    setSystemStream("setErr", printer);
    EXPECT_TRUE(env->IsSameObject(systemStream("err"), printer));
    EXPECT_TRUE(env->IsSameObject(systemStream("out"), initialOut));
    EXPECT_EQ(systemStream("in"), nullptr);
    EXPECT_TRUE(env->ExceptionCheck()) << "System.in is not modelled";
    env->ExceptionClear();
    setSystemStream("setOut", newPrintStream(initialOut));
    callMain();
    auto record = recorded();
    EXPECT_TRUE(recordHas(record, "stdout=to the console")) << "a print stream over the console stream";
    EXPECT_TRUE(recordHas(record, "setErr=<memory>"));
    EXPECT_TRUE(recordHas(record, "setOut=<console>"));
}

TEST_F(StandIn, ExceptionStillPendingAtDetachIsPrintedAsUncaught) {
    useScript(L"main=throw:java/lang/IllegalStateException:bad");
    ASSERT_EQ(create(), JNI_OK);
    callMain();
    EXPECT_EQ(vm->DetachCurrentThread(), JNI_OK);
    auto record = recorded();
    EXPECT_TRUE(recordHas(record, "uncaught=java/lang/IllegalStateException"));
    EXPECT_TRUE(recordHas(record, "stderr=Exception in thread \"main\" java.lang.IllegalStateException: bad"));
    EXPECT_EQ(record.back(), "detach");
    void* none = nullptr;
    EXPECT_EQ(vm->GetEnv(&none, JNI_VERSION_1_2), JNI_EDETACHED);
}

TEST_F(StandIn, ThrowNewAndTheArgumentArrayFormsWork) {
    ASSERT_EQ(create(), JNI_OK);
    jclass error = env->FindClass("java/lang/IllegalArgumentException");
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(env->ThrowNew(error, "x\xC3\xA9"), JNI_OK);
    jthrowable thrown = env->ExceptionOccurred();
    env->ExceptionClear();
    EXPECT_EQ(printedTrace(thrown).substr(0, 39), "java.lang.IllegalArgumentException: x\xC3\xA9");
    jclass stringClass = env->FindClass("java/lang/String");
    jcharArray chars = env->NewCharArray(2);
    const jchar units[] = {u'o', u'k'};
    env->SetCharArrayRegion(chars, 1, 2, units);
    EXPECT_TRUE(env->ExceptionCheck()) << "a region past the end throws";
    env->ExceptionClear();
    env->SetCharArrayRegion(chars, 0, 2, units);
    jvalue argument;
    argument.l = chars;
    jobject text = env->NewObjectA(stringClass, env->GetMethodID(stringClass, "<init>", "([C)V"), &argument);
    EXPECT_EQ(utfChars(static_cast<jstring>(text)), "ok");
    jobjectArray array = stringArray(env, {u"x", u"y"});
    EXPECT_EQ(env->GetArrayLength(array), 2);
    EXPECT_EQ(utfChars(static_cast<jstring>(env->GetObjectArrayElement(array, 1))), "y");
}

TEST_F(StandIn, SecondaryMainIsServedOnAnAttachedThread) {
    useScript(L"secondary=int:42");
    ASSERT_EQ(create(), JNI_OK);
    jint reply = -1;
    bool voidFormFound = true;
    std::thread request([&] {
        JNIEnv* requestEnv = nullptr;
        if (vm->AttachCurrentThread(reinterpret_cast<void**>(&requestEnv), nullptr) != JNI_OK)
            return;
        jclass application = requestEnv->FindClass("com/example/App");
        voidFormFound = requestEnv->GetStaticMethodID(application, "secondaryMain", mainSignature) != nullptr;
        requestEnv->ExceptionClear();
        jmethodID intForm = requestEnv->GetStaticMethodID(application, "secondaryMain", "([Ljava/lang/String;)I");
        if (intForm)
            reply = requestEnv->CallStaticIntMethod(application, intForm, stringArray(requestEnv, {u"a", u"b"}));
        vm->DetachCurrentThread();
    });
    request.join();
    EXPECT_FALSE(voidFormFound);
    EXPECT_EQ(reply, 42);
    auto record = recorded();
    int called = recordIndex(record, "secondaryMain.called");
    ASSERT_GE(called, 0);
    EXPECT_EQ(std::vector<std::string>(record.begin() + called, record.begin() + called + 5),
              (std::vector<std::string>{"secondaryMain.called", "secondaryMain.argc=2", "secondaryMain.arg=a",
                                        "secondaryMain.arg=b", "secondaryMain.result=42"}));
    EXPECT_TRUE(recordHas(record, "attach"));
}

TEST_F(StandIn, SecondaryMainFormsFollowTheScript) {
    useScript(L"secondary=void");
    ASSERT_EQ(create(), JNI_OK);
    jclass application = env->FindClass("com/example/App");
    EXPECT_NE(env->GetStaticMethodID(application, "secondaryMain", mainSignature), nullptr);
    vm->DestroyJavaVM();
    useScript(L"");
    ASSERT_EQ(create(), JNI_OK);
    application = env->FindClass("com/example/App");
    EXPECT_EQ(env->GetStaticMethodID(application, "secondaryMain", mainSignature), nullptr);
    env->ExceptionClear();
    EXPECT_EQ(env->GetStaticMethodID(application, "secondaryMain", "([Ljava/lang/String;)I"), nullptr);
}

TEST_F(StandIn, AttachAndDetachResultsCanBeScripted) {
    useScript(L"attach=-1;detach=-2");
    ASSERT_EQ(create(), JNI_OK);
    jint attached = JNI_OK;
    std::thread other([&] {
        JNIEnv* otherEnv = nullptr;
        attached = vm->AttachCurrentThread(reinterpret_cast<void**>(&otherEnv), nullptr);
    });
    other.join();
    EXPECT_EQ(attached, -1);
    EXPECT_EQ(vm->DetachCurrentThread(), -2);
    auto record = recorded();
    EXPECT_TRUE(recordHas(record, "attach=-1"));
    EXPECT_TRUE(recordHas(record, "detach=-2"));
}

// The behaviours that end the process run in the host program.
class StandInHost : public testing::Test {
protected:
    std::unique_ptr<TestProcess> start(const std::wstring& scriptText, const std::wstring& arguments) {
        ScopedEnvironment recordVariable(L"KORU_STANDIN_RECORD", recordPath);
        ScopedEnvironment scriptVariable(L"KORU_STANDIN_SCRIPT", scriptText);
        std::wstring host = testProgramFolder() + L"\\standin_host.exe";
        return std::make_unique<TestProcess>(host, ::quoted(host) + L" " + ::quoted(standInPath()) + L" " + arguments);
    }

    std::vector<std::string> recorded() const { return readStandInRecord(recordPath); }

    TempFolder temp;
    std::wstring recordPath = temp / L"record.txt";
};

TEST_F(StandInHost, UnimplementedFunctionEndsTheProcessRecognisably) {
    auto process = start(L"", L"com/example/App --call-unimplemented");
    ASSERT_TRUE(process->waitForExit());
    EXPECT_EQ(process->exitCode(), 0xBAD0u);
    EXPECT_EQ(recorded().back(), "unimplemented:GetSuperclass");
}

TEST_F(StandInHost, NullMethodEndsTheProcessRecognisably) {
    auto process = start(L"", L"com/example/App --null-method");
    ASSERT_TRUE(process->waitForExit());
    EXPECT_EQ(process->exitCode(), 0xBAD1u);
    EXPECT_EQ(recorded().back(), "fatal=null method in CallStaticVoidMethod");
}

} // namespace
