// The main class lookup and call on the JVM of the test process, made on first use (a process can create only
// one). Each test runs in a local frame of its own and must leave no Java exception pending.
#include "JvmSupport.h"

#include "jvm/MainClass.h"

#include <gtest/gtest.h>

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

} // namespace
