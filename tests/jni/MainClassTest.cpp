#include "JniTest.h"

namespace {

using MainClassTest = JniTest;

TEST_F(MainClassTest, ArgumentsReachMainUnchanged) {
    const std::vector<std::wstring> arguments{L"", L" \u00E9\u20AC\u4E2D \"q\" ", L"\U0001D11E",
                                              std::wstring(L"a\0b", 3)};
    const std::vector<std::u16string> units{u"", u" \u00E9\u20AC\u4E2D \"q\" ", u"\U0001D11E",
                                            std::u16string(u"a\0b", 3)};
    for (size_t count : {arguments.size(), size_t(0)}) {
        jthrowable exception = nullptr;
        ASSERT_EQ(runApp({arguments.begin(), arguments.begin() + count}, exception), MainOutcome::Returned);
        ASSERT_EQ(env->GetArrayLength(received()), jsize(count));
        for (size_t i = 0; i < count; ++i) {
            auto element = static_cast<jstring>(env->GetObjectArrayElement(received(), jsize(i)));
            std::u16string text(size_t(env->GetStringLength(element)), u'\0');
            env->GetStringRegion(element, 0, jsize(text.size()), reinterpret_cast<jchar*>(&text[0]));
            EXPECT_EQ(text, units[i]) << "argument " << i;
        }
    }
}

TEST_F(MainClassTest, BeforeCallRunsJustBeforeMain) {
    jthrowable exception = nullptr;
    std::vector<jsize> lengthsSeen;
    runApp({L"first"}, exception);
    runApp({}, exception, [&] { lengthsSeen.push_back(env->GetArrayLength(received())); });
    EXPECT_EQ(lengthsSeen, std::vector<jsize>{1}) << "once, before main stored its empty arguments";
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
