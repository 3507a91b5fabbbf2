#include "JniTest.h"

#include "jvm/JavaStrings.h"
#include "jvm/MainClass.h"

namespace {

using Texts = std::vector<std::wstring>;

class MainClassTest : public JniTest {
protected:
    // main of koru.test.RecordArguments; returns what it kept.
    jobjectArray passToMain(const Texts& arguments, const std::function<void()>& beforeCall = nullptr) {
        MainMethod main;
        EXPECT_EQ(findMainMethod(env, L"koru/test/RecordArguments", main), MainLookup::Found);
        jthrowable exception = nullptr;
        EXPECT_EQ(callMain(env, main, arguments, beforeCall, exception), MainOutcome::Returned);
        EXPECT_EQ(exception, nullptr);
        return static_cast<jobjectArray>(received());
    }

    jobject received() { return staticField("koru/test/RecordArguments", "received", "[Ljava/lang/String;"); }

    void forgetReceived() {
        jclass type = env->FindClass("koru/test/RecordArguments");
        env->SetStaticObjectField(type, env->GetStaticFieldID(type, "received", "[Ljava/lang/String;"), nullptr);
    }
};

TEST_F(MainClassTest, ArgumentsReachMainUnchanged) {
    const Texts arguments{L"plain",
                          L"",
                          L"\u00E9t\u00E9 \u20AC\u4E2D",
                          L"\U0001D11E\U0001F600x",
                          std::wstring(L"nul\0inside", 10),
                          L"  spaced \"quoted\"  "};
    const std::vector<std::u16string> units{u"plain",
                                            u"",
                                            u"\u00E9t\u00E9 \u20AC\u4E2D",
                                            u"\U0001D11E\U0001F600x",
                                            std::u16string(u"nul\0inside", 10),
                                            u"  spaced \"quoted\"  "};
    jobjectArray array = passToMain(arguments);
    ASSERT_NE(array, nullptr);
    ASSERT_EQ(env->GetArrayLength(array), jsize(arguments.size()));
    for (size_t i = 0; i < arguments.size(); ++i) {
        auto element = static_cast<jstring>(env->GetObjectArrayElement(array, jsize(i)));
        EXPECT_EQ(javaUnits(env, element), units[i]) << "argument " << i;
        std::wstring back;
        EXPECT_TRUE(javaStringText(env, element, back));
        EXPECT_EQ(back, arguments[i]) << "argument " << i;
    }
}

TEST_F(MainClassTest, NoArgumentsGiveAnEmptyArray) {
    jobjectArray array = passToMain({});
    ASSERT_NE(array, nullptr);
    EXPECT_EQ(env->GetArrayLength(array), 0);
}

TEST_F(MainClassTest, BeforeCallRunsOnceJustBeforeMain) {
    forgetReceived();
    int calls = 0;
    bool mainHadRun = true;
    passToMain({L"a"}, [&] {
        ++calls;
        mainHadRun = received() != nullptr;
    });
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(mainHadRun);
    EXPECT_NE(received(), nullptr);
}

TEST_F(MainClassTest, MissingClassKeepsTheNameAsPassed) {
    const Texts names{L"koru/test/Missing", L"koru/test/Gone\U0001D11E\u00E9", std::wstring(L"koru/test/A\0B", 13)};
    for (const std::wstring& name : names) {
        MainMethod main;
        EXPECT_EQ(findMainMethod(env, name, main), MainLookup::ClassNotFound);
        EXPECT_EQ(main.classNameAsPassed, name);
        EXPECT_EQ(main.mainClass, nullptr);
        EXPECT_FALSE(env->ExceptionCheck()) << "the VM's error is described, which clears it";
    }
}

TEST_F(MainClassTest, NestedClassFoundByItsBinaryName) {
    MainMethod main;
    EXPECT_EQ(findMainMethod(env, L"koru/test/Thrower$BadTrace", main), MainLookup::MainLookupFailed);
    EXPECT_EQ(main.classNameAsPassed, L"koru/test/Thrower$BadTrace");
    EXPECT_NE(main.mainClass, nullptr);
}

// The real VM always raises NoSuchMethodError here, so MainMissing (message 216) does not occur with it.
TEST_F(MainClassTest, ClassWithoutMainFailsWithTheVmsErrorDescribed) {
    MainMethod main;
    EXPECT_EQ(findMainMethod(env, L"koru/test/NoMain", main), MainLookup::MainLookupFailed);
    EXPECT_NE(main.mainClass, nullptr);
    EXPECT_EQ(main.method, nullptr);
    EXPECT_FALSE(env->ExceptionCheck());
}

TEST_F(MainClassTest, MainThatThrowsLeavesItsExceptionPending) {
    MainMethod main;
    ASSERT_EQ(findMainMethod(env, L"koru/test/Thrower", main), MainLookup::Found);
    EXPECT_EQ(main.classNameAsPassed, L"koru/test/Thrower");
    jthrowable exception = nullptr;
    EXPECT_EQ(callMain(env, main, {}, nullptr, exception), MainOutcome::Threw);
    ASSERT_NE(exception, nullptr);
    EXPECT_TRUE(env->ExceptionCheck());
    env->ExceptionClear();
    EXPECT_TRUE(env->IsInstanceOf(exception, env->FindClass("java/lang/IllegalStateException")));
}

} // namespace
