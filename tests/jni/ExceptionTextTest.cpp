#include "JniTest.h"

#include "jvm/ExceptionText.h"
#include "jvm/MainClass.h"

namespace {

class ExceptionTextTest : public JniTest {
protected:
    // What main of koru.test.Thrower throws, already cleared as the exception dialog's caller does.
    jthrowable thrownBy(const std::vector<std::wstring>& arguments) {
        MainMethod main;
        EXPECT_EQ(findMainMethod(env, L"koru/test/Thrower", main), MainLookup::Found);
        jthrowable exception = nullptr;
        EXPECT_EQ(callMain(env, main, arguments, nullptr, exception), MainOutcome::Threw);
        env->ExceptionClear();
        return exception;
    }
};

TEST_F(ExceptionTextTest, HoldsClassMessageFramesAndCause) {
    jthrowable exception = thrownBy({});
    ASSERT_NE(exception, nullptr);
    std::wstring text = exceptionText(env, exception);
    const std::wstring firstLine = L"java.lang.IllegalStateException: bad \u00FC\u20AC \U0001D11E end\n";
    EXPECT_EQ(text.substr(0, firstLine.size()), firstLine);
    EXPECT_NE(text.find(L"\n\tat koru.test.Thrower.fail(Thrower.java:"), std::wstring::npos);
    EXPECT_NE(text.find(L"\n\tat koru.test.Thrower.main(Thrower.java:"), std::wstring::npos);
    EXPECT_NE(text.find(L"\nCaused by: java.lang.IllegalArgumentException: root cause"), std::wstring::npos);
    EXPECT_EQ(text.find(wchar_t(0xFFFD)), std::wstring::npos);
}

TEST_F(ExceptionTextTest, ErrorWhilePrintingKeepsTheTextSoFar) {
    jthrowable exception = thrownBy({L"badtrace"});
    ASSERT_NE(exception, nullptr);
    EXPECT_EQ(exceptionText(env, exception), L"partial \u00FC\U0001D11E");
    EXPECT_FALSE(env->ExceptionCheck());
}

TEST_F(ExceptionTextTest, NoThrowableGivesNoText) { EXPECT_EQ(exceptionText(env, nullptr), L""); }

} // namespace
