#include "support/TextFormat.h"

#include <gtest/gtest.h>

namespace {

TEST(FormatText, FillsInOrderAndNeverReadsAnArgumentAsAFormat) {
    EXPECT_EQ(formatText(L"Windows exception: %s (errno = %d).\n", {L"failed to get the module path", 5u}),
              L"Windows exception: failed to get the module path (errno = 5).\n");
    EXPECT_EQ(formatText(L"%d %d", {0x80070005u, int32_t(-1)}), L"-2147024891 -1");
    EXPECT_EQ(formatText(L"a %s b", {L"%d%s%%"}), L"a %d%s%% b");
    EXPECT_EQ(formatText(L"100%% %s %s", {L"x"}), L"100% x ");
    EXPECT_EQ(formatText(L"odd %x end %", {}), L"odd %x end %");
}

} // namespace
