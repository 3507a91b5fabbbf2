// Splitting command lines and lists, and filling in message texts.
#include "jvm/SystemFormat.h"
#include "launcher/CommandLine.h"
#include "support/TextFormat.h"

#include <gtest/gtest.h>

namespace {

using List = StringList;

TEST(CommandLine, OnlySpacesSeparateAndOnlyQuotesGroup) {
    EXPECT_EQ(splitArguments(L"a  \"b c\"d \"\""), (List{L"a", L"b c", L"d", L""}));
    EXPECT_EQ(splitArguments(L"x=\"1 2\""), (List{L"x=\"1", L"2\""}));
    EXPECT_EQ(splitArguments(L"\"open"), (List{L"open"}));
    EXPECT_EQ(splitArguments(L" a\tb   "), (List{L"", L"a\tb"})) << "the text up to the first space comes first";
    EXPECT_EQ(splitArguments(L""), List{});
    // The program path is dropped, however it is written.
    EXPECT_EQ(argumentsFromCommandLine(L"\"C:\\Program Files\\app.exe\" -x \"two words\""),
              (List{L"-x", L"two words"}));
    EXPECT_EQ(argumentsFromCommandLine(L" \t app.exe \"\" \"a\\\" b \r\n"), (List{L"", L"a\\", L"b"}));
    EXPECT_EQ(argumentsFromCommandLine(L"C:\\Program Files\\app.exe x"), (List{L"Files\\app.exe", L"x"}));
    EXPECT_EQ(argumentsFromCommandLine(L""), List{});
}

TEST(CommandLine, NoSplashSwitchAndListSplitting) {
    EXPECT_TRUE(hasNoSplashSwitch({L"a", L"-nosplash"}));
    EXPECT_TRUE(hasNoSplashSwitch({L"/nosplash"}));
    EXPECT_FALSE(hasNoSplashSwitch({L"-NOSPLASH", L"-nosplash2", L"x-nosplash"}));
    EXPECT_EQ(splitList(L";a;;b;", L";"), (List{L"", L"a", L"", L"b"}));
    EXPECT_EQ(splitList(L"", L";"), List{});
    EXPECT_EQ(splitList(L"a\r\nb\r\n\r\nc", L"\r\n"), (List{L"a", L"b", L"", L"c"}));
}

TEST(FormatText, FillsInOrderAndNeverReadsAnArgumentAsAFormat) {
    EXPECT_EQ(formatText(L"Windows exception: %s (errno = %d).\n", {L"failed to get the module path", 5u}),
              L"Windows exception: failed to get the module path (errno = 5).\n");
    EXPECT_EQ(formatText(L"%d %d", {0x80070005u, int32_t(-1)}), L"-2147024891 -1");
    EXPECT_EQ(formatText(L"a %s b", {L"%d%s%%"}), L"a %d%s%% b");
    EXPECT_EQ(formatText(L"100%% %s %s", {L"x"}), L"100% x ");
    EXPECT_EQ(formatText(L"odd %x end %", {}), L"odd %x end %");
    EXPECT_EQ(decimalText(INT64_MIN), L"-9223372036854775808");
    EXPECT_EQ(decimalText(-7, 3) + decimalText(0) + decimalText(2025, 2), L"-00702025");
}

TEST(ConsoleText, MessagesBecomeOneLineAndTheVmsFormatsTheSystemsSpelling) {
    EXPECT_EQ(errorLine(L"tool", L"JNI exception: x\nReason: y.\n"), L"tool: JNI exception: x Reason: y.\r\n");
    EXPECT_EQ(errorLine(L"tool", L"\r\na \r\n\r\nb"), L"tool: a b\r\n");
    EXPECT_EQ(systemFormat("%zu %-5zd %.*s %jd %lld %hhx %td %%zu %5.2f %"),
              "%Iu %-5Id %.*s %I64d %I64d %hx %Id %%zu %5.2f %");
}

} // namespace
