#include "support/TextFormat.h"

#include <gtest/gtest.h>

namespace {

TEST(FormatText, FillsStringsAndNumbersInOrder) {
    EXPECT_EQ(formatText(L"Windows exception: %s (errno = %d).\n", {L"failed to get the module path", 5u}),
              L"Windows exception: failed to get the module path (errno = 5).\n");
    EXPECT_EQ(formatText(L"JNI exception: %s\nReason: %s.\n", {L"failed to create the Java VM", L""}),
              L"JNI exception: failed to create the Java VM\nReason: .\n");
}

TEST(FormatText, ErrorCodesAboveTheSignedRangePrintNegative) {
    EXPECT_EQ(formatText(L"%d", {0x80070005u}), L"-2147024891");
    EXPECT_EQ(formatText(L"%d", {int32_t(-1)}), L"-1");
}

TEST(FormatText, ArgumentsAreNotReadAsFormats) {
    EXPECT_EQ(formatText(L"a %s b", {L"%d%s%%"}), L"a %d%s%% b");
    EXPECT_EQ(formatText(L"100%% %s %s", {L"x"}), L"100% x ");
    EXPECT_EQ(formatText(L"odd % end %", {}), L"odd % end %");
}

} // namespace
