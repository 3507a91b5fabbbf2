// The main class lookup and call on the JVM of the test process, made on first use (a process can create only
// one). Each test runs in a local frame of its own and must leave no Java exception pending.
#include "JvmSupport.h"

#include "jvm/MainClass.h"
#include "jvm/SecondaryMain.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

class MainClassTest : public testing::Test {
protected:
    void SetUp() override {
        static JNIEnv* processEnv = nullptr;
        JavaVM* vm = nullptr;
        // -Xcheck:jni reports misuse of JNI; the default charset of a Western Windows installation, which holds no
        // supplementary characters, shows whether text is lost to it.
        if (processEnv == nullptr) {
            ASSERT_EQ(createTestVm({"-Xcheck:jni", "-Dfile.encoding=windows-1252"}, &vm, &processEnv), JNI_OK);
        }
        env = processEnv;
        ASSERT_EQ(env->PushLocalFrame(64), JNI_OK);
    }

    void TearDown() override {
        if (env == nullptr)
            return;
        EXPECT_FALSE(env->ExceptionCheck()) << "a Java exception was left pending";
        env->ExceptionClear();
        env->PopLocalFrame(nullptr);
    }

    // main of koru.test.App with the arguments.
    MainOutcome runApp(const std::vector<std::wstring>& arguments, jthrowable& exception) {
        MainMethod main;
        EXPECT_EQ(findMainMethod(env, L"koru/test/App", main), MainLookup::Found);
        return callMain(env, main, arguments, nullptr, exception);
    }

    JNIEnv* env = nullptr;
};

TEST_F(MainClassTest, ArgumentsReachMainUnchanged) {
    const std::vector<std::wstring> arguments{L"", L" \u00E9\u20AC\u4E2D \"q\" ", L"\U0001D11E",
                                              std::wstring(L"a\0b", 3)};
    const std::vector<std::u16string> units{u"", u" \u00E9\u20AC\u4E2D \"q\" ", u"\U0001D11E",
                                            std::u16string(u"a\0b", 3)};
    jclass app = env->FindClass("koru/test/App");
    jfieldID received = env->GetStaticFieldID(app, "received", "[Ljava/lang/String;");
    for (size_t count : {arguments.size(), size_t(0)}) {
        jthrowable exception = nullptr;
        ASSERT_EQ(runApp({arguments.begin(), arguments.begin() + count}, exception), MainOutcome::Returned);
        auto array = static_cast<jobjectArray>(env->GetStaticObjectField(app, received));
        ASSERT_EQ(env->GetArrayLength(array), jsize(count));
        for (size_t i = 0; i < count; ++i) {
            auto element = static_cast<jstring>(env->GetObjectArrayElement(array, jsize(i)));
            std::u16string text(size_t(env->GetStringLength(element)), u'\0');
            env->GetStringRegion(element, 0, jsize(text.size()), reinterpret_cast<jchar*>(&text[0]));
            EXPECT_EQ(text, units[i]) << "argument " << i;
        }
    }
}

TEST_F(MainClassTest, MissingClassKeepsTheNameAsPassed) {
    for (const std::wstring& name : {std::wstring(L"koru/test/Gone\U0001D11E\u00E9"), std::wstring(L"koru/A\0B", 8)}) {
        MainMethod main;
        EXPECT_EQ(findMainMethod(env, name, main), MainLookup::ClassNotFound);
        EXPECT_EQ(main.classNameAsPassed, name);
        EXPECT_FALSE(env->ExceptionCheck()) << "the VM's error is described, which clears it";
    }
}

// The real VM raises NoSuchMethodError for a class without main, so MainMissing (message 216) is not seen here.
TEST_F(MainClassTest, ClassWithoutMainAndMainThatThrows) {
    MainMethod main;
    EXPECT_EQ(findMainMethod(env, L"java/lang/Object", main), MainLookup::MainLookupFailed);
    EXPECT_FALSE(env->ExceptionCheck());
    jthrowable exception = nullptr;
    EXPECT_EQ(runApp({L"throw", L"bad"}, exception), MainOutcome::Threw);
    EXPECT_TRUE(env->ExceptionCheck()) << "left pending for the caller";
    env->ExceptionClear();
    EXPECT_TRUE(env->IsInstanceOf(exception, env->FindClass("java/lang/IllegalStateException")));
}

// What the probe class's secondaryMain kept (null when it has not run), forgotten afterwards when asked.
jobjectArray received(JNIEnv* env, const char* probe, bool forget) {
    jclass type = env->FindClass(probe);
    jfieldID field = env->GetStaticFieldID(type, "received", "[Ljava/lang/String;");
    auto array = static_cast<jobjectArray>(env->GetStaticObjectField(type, field));
    if (forget)
        env->SetStaticObjectField(type, field, nullptr);
    return array;
}

// Forwarded starts, each served on a thread of its own: which form is called, when the reply is made, and whether
// the thread stays attached.
TEST_F(MainClassTest, SecondaryMainFormsRepliesAndAttachment) {
    const char* const voidForm = "koru/test/App";
    const char* const intForm = "koru/test/App$Answer";
    const struct {
        const char* className;
        const char* probe; // the class whose secondaryMain may run
        std::vector<std::wstring> arguments;
        bool keepAlive;
        int32_t reply;
        bool calledBeforeReply; // an int form that threw leaves its error pending: the probe cannot look
        std::vector<std::u16string> received;
    } cases[] = {
        {voidForm, voidForm, {L"a", L"b"}, false, 0, false, {u"a", u"b"}},
        {intForm, intForm, {L"-2", L""}, true, -2, true, {u"-2", u""}},
        {intForm, intForm, {L"not a number"}, false, -1, false, {u"not a number"}},
        {"java/lang/Object", voidForm, {L"a"}, false, -1, false, {}},
        {"koru/test/Missing", voidForm, {L"a"}, false, -1, false, {}},
    };
    JavaVM* vm = nullptr;
    ASSERT_EQ(env->GetJavaVM(&vm), JNI_OK);
    for (const auto& c : cases) {
        received(env, c.probe, true);
        std::vector<int32_t> replies;
        bool called = false;
        JNIEnv* requestEnv = nullptr;
        std::thread request([&] {
            serveForwardedStart(vm, {widen(c.className), c.arguments, c.keepAlive}, [&](int32_t value) {
                replies.push_back(value);
                vm->GetEnv(reinterpret_cast<void**>(&requestEnv), JNI_VERSION_1_2);
                called = !requestEnv->ExceptionCheck() && received(requestEnv, c.probe, false) != nullptr;
            });
            requestEnv = nullptr;
            if (vm->GetEnv(reinterpret_cast<void**>(&requestEnv), JNI_VERSION_1_2) == JNI_OK)
                vm->DetachCurrentThread();
        });
        request.join();
        EXPECT_EQ(replies, std::vector<int32_t>{c.reply}) << c.className;
        EXPECT_EQ(called, c.calledBeforeReply) << c.className;
        EXPECT_EQ(requestEnv != nullptr, c.keepAlive) << c.className << ": still attached afterwards";
        std::vector<std::u16string> texts;
        jobjectArray array = received(env, c.probe, true);
        for (jsize i = 0; array != nullptr && i < env->GetArrayLength(array); ++i) {
            auto element = static_cast<jstring>(env->GetObjectArrayElement(array, i));
            texts.emplace_back(size_t(env->GetStringLength(element)), u'\0');
            env->GetStringRegion(element, 0, jsize(texts.back().size()), reinterpret_cast<jchar*>(&texts.back()[0]));
        }
        EXPECT_EQ(texts, c.received) << c.className;
    }
}

} // namespace
