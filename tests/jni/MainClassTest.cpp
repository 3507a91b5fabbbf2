// The main class lookup and call on the JVM of the test process, made on first use (a process can create only
// one), with the test module in its boot layer. Each test runs in a local frame of its own and must leave no Java
// exception pending.
#include "JvmSupport.h"

#include "jvm/MainClass.h"
#include "jvm/SecondaryMain.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using Texts = std::vector<std::u16string>;

// The static String[] "received" of a class of App.java as UTF-16 texts (empty when null), set to null when asked.
Texts received(JNIEnv* env, const char* className, bool forget = true) {
    jclass type = env->FindClass(className);
    jfieldID field = env->GetStaticFieldID(type, "received", "[Ljava/lang/String;");
    auto array = static_cast<jobjectArray>(env->GetStaticObjectField(type, field));
    if (forget)
        env->SetStaticObjectField(type, field, nullptr);
    Texts texts;
    for (jsize i = 0; array != nullptr && i < env->GetArrayLength(array); ++i) {
        auto element = static_cast<jstring>(env->GetObjectArrayElement(array, i));
        texts.emplace_back(size_t(env->GetStringLength(element)), u'\0');
        env->GetStringRegion(element, 0, jsize(texts.back().size()), reinterpret_cast<jchar*>(&texts.back()[0]));
    }
    return texts;
}

class MainClassTest : public testing::Test {
protected:
    void SetUp() override {
        static JNIEnv* processEnv = nullptr;
        JavaVM* vm = nullptr;
        // -Xcheck:jni reports misuse of JNI; the default charset of a Western Windows installation, which holds no
        // supplementary characters, shows whether text is lost to it.
        const std::vector<std::string> options{"-Xcheck:jni", "-Dfile.encoding=windows-1252", "--add-modules=koru.mod"};
        if (processEnv == nullptr) {
            ASSERT_EQ(createTestVm(options, &vm, &processEnv), JNI_OK);
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

    JNIEnv* env = nullptr;
};

TEST_F(MainClassTest, LookupAndCallOfMain) {
    const std::vector<std::wstring> arguments{L"", L" \u00E9\u20AC\u4E2D \"q\" ", L"\U0001D11E",
                                              std::wstring(L"a\0b", 3)};
    const Texts units{u"", u" \u00E9\u20AC\u4E2D \"q\" ", u"\U0001D11E", std::u16string(u"a\0b", 3)};
    MainMethod main;
    ASSERT_EQ(findMainMethod(env, L"koru/test/App", main), MainLookup::Found);
    jthrowable exception = nullptr;
    for (size_t count : {arguments.size(), size_t(0)}) {
        ASSERT_EQ(callMain(env, main, {arguments.begin(), arguments.begin() + count}, nullptr, exception),
                  MainOutcome::Returned);
        EXPECT_EQ(received(env, "koru/test/App"), Texts(units.begin(), units.begin() + count));
    }
    // What the other lookups and outcomes lead to is told by the starts of JavaMainThread.EachStartEndsWithItsStatus.
    for (const std::wstring& name : {std::wstring(L"koru/test/Gone\U0001D11E\u00E9"), std::wstring(L"koru/A\0B", 8)}) {
        MainMethod missing;
        EXPECT_EQ(findMainMethod(env, name, missing), MainLookup::ClassNotFound);
        EXPECT_EQ(missing.classNameAsPassed, name) << "what message 215 names";
        EXPECT_FALSE(env->ExceptionCheck()) << "the VM's error is described, which clears it";
    }
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
        Texts received;
        const char* module = ""; // the main module, whose descriptor names the class when none is
    } cases[] = {
        {voidForm, voidForm, {L"a", L"b"}, false, 0, false, {u"a", u"b"}},
        {intForm, intForm, {L"-2", L""}, true, -2, true, {u"-2", u""}},
        {intForm, intForm, {L"not a number"}, false, -1, false, {u"not a number"}},
        {"java/lang/Object", voidForm, {L"a"}, false, -1, false, {}},
        {"koru/test/Missing", voidForm, {L"a"}, false, -1, false, {}},
        {"", voidForm, {L"m"}, false, 0, false, {u"m"}, "koru.mod"},
    };
    JavaVM* vm = nullptr;
    ASSERT_EQ(env->GetJavaVM(&vm), JNI_OK);
    for (const auto& c : cases) {
        received(env, c.probe);
        std::vector<int32_t> replies;
        bool called = false;
        JNIEnv* requestEnv = nullptr;
        std::thread request([&] {
            serveForwardedStart(
                vm, {widen(c.className), widen(c.module), c.arguments, c.keepAlive}, [&](int32_t value) {
                    replies.push_back(value);
                    vm->GetEnv(reinterpret_cast<void**>(&requestEnv), JNI_VERSION_1_2);
                    called = !requestEnv->ExceptionCheck() && !received(requestEnv, c.probe, false).empty();
                });
            requestEnv = nullptr;
            if (vm->GetEnv(reinterpret_cast<void**>(&requestEnv), JNI_VERSION_1_2) == JNI_OK)
                vm->DetachCurrentThread();
        });
        request.join();
        EXPECT_EQ(replies, std::vector<int32_t>{c.reply}) << c.className;
        EXPECT_EQ(called, c.calledBeforeReply) << c.className;
        EXPECT_EQ(requestEnv != nullptr, c.keepAlive) << c.className << ": still attached afterwards";
        EXPECT_EQ(received(env, c.probe), c.received) << c.className;
    }
}

} // namespace
