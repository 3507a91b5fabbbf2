#include "launcher/CommandLine.h"

#include <gtest/gtest.h>

namespace {

using List = StringList;

TEST(SplitArguments, OnlySpacesSeparateAndOnlyQuotesGroup) {
    EXPECT_EQ(splitArguments(L"a  \"b c\"d \"\""), (List{L"a", L"b c", L"d", L""}));
    EXPECT_EQ(splitArguments(L"x=\"1 2\""), (List{L"x=\"1", L"2\""}));
    EXPECT_EQ(splitArguments(L"\"open"), (List{L"open"}));
    EXPECT_EQ(splitArguments(L"one\ttwo"), (List{L"one\ttwo"}));
    EXPECT_EQ(splitArguments(L""), List{});
    EXPECT_EQ(splitArguments(L"   "), (List{L""}));
}

TEST(SplitArguments, LeadingAndTrailingSpaces) {
    // A text that starts with spaces gives an empty first argument: the text up to the first space.
    EXPECT_EQ(splitArguments(L" a"), (List{L"", L"a"}));
    EXPECT_EQ(splitArguments(L"a   "), (List{L"a"}));
}

TEST(CaptureCommandLine, DropsOnlyTheProgramPath) {
    EXPECT_EQ(argumentsFromCommandLine(L"\"C:\\Program Files\\App\\app.exe\" -x \"two words\""),
              (List{L"-x", L"two words"}));
    EXPECT_EQ(argumentsFromCommandLine(L"app.exe \"\""), (List{L""}));
    EXPECT_EQ(argumentsFromCommandLine(L"app.exe \"a\\\" b"), (List{L"a\\", L"b"}));
    EXPECT_EQ(argumentsFromCommandLine(L"C:\\Program Files\\app.exe x"), (List{L"Files\\app.exe", L"x"}));
    EXPECT_EQ(argumentsFromCommandLine(L" \t app.exe a \r\n"), (List{L"a"}));
    EXPECT_EQ(argumentsFromCommandLine(L""), List{});
}

TEST(NoSplashSwitch, ExactAndCaseSensitive) {
    EXPECT_TRUE(hasNoSplashSwitch({L"a", L"-nosplash"}));
    EXPECT_TRUE(hasNoSplashSwitch({L"/nosplash"}));
    EXPECT_FALSE(hasNoSplashSwitch({L"-NOSPLASH"}));
    EXPECT_FALSE(hasNoSplashSwitch({L"-nosplash2", L"x-nosplash"}));
    EXPECT_FALSE(hasNoSplashSwitch({}));
}

TEST(SplitList, KeepsInnerEmptyPiecesButNoTrailingOne) {
    EXPECT_EQ(splitList(L"a;;b", L";"), (List{L"a", L"", L"b"}));
    EXPECT_EQ(splitList(L"a;", L";"), (List{L"a"}));
    EXPECT_EQ(splitList(L";a", L";"), (List{L"", L"a"}));
    EXPECT_EQ(splitList(L"whole", L";"), (List{L"whole"}));
    EXPECT_EQ(splitList(L"", L";"), List{});
    EXPECT_EQ(splitList(L"a\r\nb\r\n\r\nc", L"\r\n"), (List{L"a", L"b", L"", L"c"}));
}

} // namespace
