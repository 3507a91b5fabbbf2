// %NAME% expansion of texts of any length.
#include "TestProcess.h"
#include "support/Environment.h"

#include <gtest/gtest.h>

namespace {

TEST(ExpandEnvironment, TextsBeyondThePlatformsLimitAreNeverCut) {
    const std::wstring value(30000, L'v');
    ScopedEnvironment variable(L"KORU_TEST_LONG", value);
    const std::wstring filler(40000, L'a');
    const std::pair<std::wstring, std::wstring> cases[] = {
        {std::wstring(100000, L'x'), std::wstring(100000, L'x')},
        {L"%KORU_TEST_LONG%" + filler, value + filler},
        {L"%KORU_TEST_LONG%%KORU_TEST_UNSET%%KORU_TEST_LONG%", value + L"%KORU_TEST_UNSET%" + value},
        {filler + L"%KORU_TEST_LONG%100%", filler + value + L"100%"},
        {L"%KORU_TEST_LONG%.", value + L"."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(expandEnvironment(c.first), c.second) << c.first.size();
}

} // namespace
