#include "ui/LinkColors.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t untouched = 0xABCDEF;

TEST(ParseAnchorColor, ThreeDecimalNumbersOrNothing) {
    const std::pair<const wchar_t*, uint32_t> cases[] = {
        {L"0,128,0", 0x008000},    {L"255,0,0", 0x0000FF},     // red is the low byte
        {L"1,2,3", 0x030201},      {L"256,257,511", 0xFF0100}, // each number keeps its low 8 bits
        {L" 12, 34,56", 0x38220C},                             // read as a C runtime reads numbers: blanks first
        {L"x,,7", 0x070000},                                   // no digits read as 0, but blue is there
        {L"0,128", untouched},                                 // no second comma
        {L"0,128,", untouched},                                // blue empty
        {L"", untouched},          {L"0;128;0", untouched},
    };
    for (const auto& c : cases) {
        uint32_t colour = untouched;
        bool parsed = parseAnchorColor(c.first, colour);
        EXPECT_EQ(colour, c.second) << testing::PrintToString(std::wstring(c.first));
        EXPECT_EQ(parsed, c.second != untouched) << testing::PrintToString(std::wstring(c.first));
    }
}

} // namespace
