#include "launcher/SingleInstanceBlock.h"

#include <gtest/gtest.h>

namespace {

using List = StringList;

std::u16string encoded(const List& arguments) {
    std::u16string area;
    EXPECT_TRUE(encodeForwardedArguments(arguments, area));
    return area;
}

List decoded(const std::u16string& area) { return decodeForwardedArguments(area.data(), area.size()); }

TEST(InstanceName, EveryBackslashBecomesAnUnderscore) {
    EXPECT_EQ(instanceNameFor(L"C:\\Apps\\Editor\\editor.exe"), L"C:_Apps_Editor_editor.exe");
    EXPECT_EQ(instanceNameFor(L"\\\\server\\share\\a b.exe"), L"__server_share_a b.exe");
}

TEST(ForwardedArguments, WrittenAsZeroTerminatedUnitsInAZeroFilledArea) {
    std::u16string area = encoded({L"a", L"bc", L"\U0001F600"});
    ASSERT_EQ(area.size() * 2, forwardedArgumentsLimit);
    EXPECT_EQ(area.substr(0, 9), std::u16string(u"a\0bc\0\U0001F600\0\0", 9));
    EXPECT_EQ(area.find_first_not_of(u'\0', 9), std::u16string::npos);
    EXPECT_EQ(encoded({}), std::u16string(forwardedArgumentsLimit / 2, u'\0'));
}

// Each argument costs its UTF-16 units and a zero, and the list one more zero, within 1,040 bytes.
TEST(ForwardedArguments, LimitCountsUtf16UnitsAndTerminators) {
    const std::wstring emoji(259, L'\U0001F600'); // 518 units
    const std::pair<List, bool> cases[] = {
        {{std::wstring(518, L'x')}, true},
        {{std::wstring(519, L'x')}, false},
        {{emoji}, true},
        {{emoji + L"x"}, false},
        {{std::wstring(258, L'x'), std::wstring(259, L'y')}, true},
        {{std::wstring(258, L'x'), std::wstring(260, L'y')}, false},
        {List(259, L"a"), true},
        {List(260, L"a"), false},
    };
    for (const auto& c : cases) {
        std::u16string area = u"untouched";
        EXPECT_EQ(encodeForwardedArguments(c.first, area), c.second) << c.first.size() << " arguments";
        if (c.second)
            EXPECT_EQ(decoded(area), c.first);
        else
            EXPECT_EQ(area, u"untouched");
    }
}

TEST(ForwardedArguments, ReadUpToTheSecondZeroInARow) {
    const std::pair<std::u16string, List> cases[] = {
        {std::u16string(u"a\0b c\0\0x\0\0", 10), {L"a", L"b c"}},
        {std::u16string(4, u'\0'), {L""}},          // no arguments arrive as one empty string
        {std::u16string(u"a\0\0b\0\0", 6), {L"a"}}, // an empty argument ends the list
        {std::u16string(u"\0b\0\0", 4), {L"", L"b"}},
        {std::u16string(u"a\0bc", 4), {L"a"}}, // unterminated text is no argument
        {std::u16string(u"\xD83D\xDE00\0\0", 4), {L"\U0001F600"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(decoded(c.first), c.second);
}

// Bytes 2,090 and 2,091 of the block are never read, whatever they hold.
TEST(ForwardedArguments, ReadingStopsAtByte2090) {
    InstanceBlock block = {};
    std::fill(std::begin(block.arguments), std::end(block.arguments), u'x');
    block.arguments[readableArgumentUnits - 1] = u'\0';
    EXPECT_EQ(decodeForwardedArguments(block.arguments, readableArgumentUnits),
              (List{std::wstring(readableArgumentUnits - 1, L'x')}));
    block.arguments[readableArgumentUnits - 1] = u'x';
    block.arguments[readableArgumentUnits] = u'\0';
    EXPECT_EQ(decodeForwardedArguments(block.arguments, readableArgumentUnits), List{});
}

} // namespace
