#include "launcher/SingleInstanceBlock.h"

#include <gtest/gtest.h>

namespace {

using List = StringList;

// Each argument costs its characters and a zero, and the list one more zero, within 1,040 bytes.
TEST(ForwardedArguments, LimitCountsEveryTerminator) {
    const std::pair<List, bool> cases[] = {
        {{std::wstring(518, L'x')}, true},
        {{std::wstring(519, L'x')}, false},
        {List(259, L"a"), true},
        {List(260, L"a"), false},
    };
    for (const auto& c : cases) {
        std::u16string area = u"untouched";
        EXPECT_EQ(encodeForwardedArguments(c.first, area), c.second) << c.first.size() << " arguments";
        EXPECT_EQ(area.size(), c.second ? forwardedArgumentsLimit / 2 : 9);
        if (c.second) {
            EXPECT_EQ(decodeForwardedArguments(area.data(), area.size()), c.first);
        }
    }
}

// Up to the second zero in a row, and never past byte 2,090 of the block.
TEST(ForwardedArguments, ReadAsTheOlderCopiesWriteThem) {
    InstanceBlock block = {};
    std::fill(std::begin(block.arguments), std::end(block.arguments), u'x');
    block.arguments[readableArgumentUnits] = u'\0';
    const std::pair<std::u16string, List> cases[] = {
        {std::u16string(u"a\0b c\0\0x\0\0", 10), {L"a", L"b c"}},
        {std::u16string(4, u'\0'), {L""}},
        {std::u16string(u"a\0\0b\0\0", 6), {L"a"}},
        {std::u16string(u"\xD83D\xDE00\0\0", 4), {L"\U0001F600"}},
        {std::u16string(block.arguments, readableArgumentUnits), {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(decodeForwardedArguments(c.first.data(), c.first.size()), c.second);
}

} // namespace
