#include "jvm/JavaText.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// The bytes in a heap block of exactly their size, so that a read past the end is caught by the sanitizers.
std::wstring decode(const std::string& bytes) {
    std::unique_ptr<char[]> exact(new char[bytes.size()]);
    bytes.copy(exact.get(), bytes.size());
    return decodeModifiedUtf8(exact.get(), bytes.size());
}

std::wstring wide(const wchar_t* text, size_t length) { return std::wstring(text, length); }

const wchar_t* const clef = L"\U0001D11E"; // U+1D11E: two UTF-16 units, one wchar_t on Linux
const char* const clefModified = "\xED\xA0\xB4\xED\xB4\x9E";
const wchar_t replacement = 0xFFFD;

TEST(DecodeModifiedUtf8, KeepsEveryWellFormedCharacter) {
    EXPECT_EQ(decode("com/example/App"), L"com/example/App");
    EXPECT_EQ(decode("\xC3\xA9t\xC3\xA9 \xE2\x82\xAC \xE4\xB8\xAD"), L"\u00E9t\u00E9 \u20AC \u4E2D");
    EXPECT_EQ(decode(std::string("x") + clefModified + "y"), std::wstring(L"x") + clef + L"y");
    EXPECT_EQ(decode("\xEF\xBF\xBF\xC2\x80\x7F"), L"\uFFFF\u0080\x7F");
}

TEST(DecodeModifiedUtf8, NulArrivesAsTwoBytes) {
    EXPECT_EQ(decode("a\xC0\x80"
                     "b"),
              wide(L"a\0b", 3));
    EXPECT_EQ(decode(std::string("a\0b", 3)), wide(L"a\0b", 3));
}

TEST(DecodeModifiedUtf8, AcceptsTheStandardFourByteForm) {
    EXPECT_EQ(decode("\xF0\x9D\x84\x9E"), clef);
    EXPECT_EQ(decode("\xF4\x8F\xBF\xBF"), L"\U0010FFFF");
}

TEST(DecodeModifiedUtf8, LoneSurrogatesAreKeptAsJavaHeldThem) {
    EXPECT_EQ(decode("\xED\xA0\xB4"
                     "a"),
              wide(L"\xD834"
                   L"a",
                   2));
    EXPECT_EQ(decode("\xED\xB4\x9E"), wide(L"\xDD1E", 1));
    EXPECT_EQ(decode("\xED\xB4\x9E\xED\xA0\xB4"), wide(L"\xDD1E\xD834", 2));
}

TEST(DecodeModifiedUtf8, StrayAndInvalidBytesBecomeReplacements) {
    EXPECT_EQ(decode("\x80"), std::wstring(1, replacement));
    EXPECT_EQ(decode("a\xBF"
                     "b"),
              std::wstring(L"a") + replacement + L"b");
    EXPECT_EQ(decode("\xF5\xFF\xFE"), std::wstring(3, replacement));
    EXPECT_EQ(decode("\xC1\x81"), std::wstring(2, replacement));
    EXPECT_EQ(decode("\xE0\x80\x80"), std::wstring(3, replacement)); // overlong
    EXPECT_EQ(decode("\xF0\x80\x80\x80"), std::wstring(4, replacement));
    EXPECT_EQ(decode("\xF4\x90\x80\x80"), std::wstring(4, replacement)); // past U+10FFFF
    EXPECT_EQ(decode("\xC0\x41"), std::wstring(1, replacement) + L"A");
}

TEST(DecodeModifiedUtf8, TruncatedSequencesStopAtTheLength) {
    EXPECT_EQ(decode("\xC3"), std::wstring(1, replacement));
    EXPECT_EQ(decode("\xE2\x82"), std::wstring(1, replacement));
    EXPECT_EQ(decode("ab\xF0\x9D\x84"), std::wstring(L"ab") + replacement);
    EXPECT_EQ(decode("\xC0"), std::wstring(1, replacement));
    // The byte that breaks a sequence starts the next one.
    EXPECT_EQ(decode("\xE2\x82"
                     "A\xC3\xA9"),
              std::wstring(1, replacement) + L"A\u00E9");
    EXPECT_EQ(decodeModifiedUtf8("\xE2\x82\xAC", 2), std::wstring(1, replacement));
    EXPECT_EQ(decodeModifiedUtf8(clefModified, 4), wide(L"\xD834", 1) + replacement);
}

TEST(DecodeModifiedUtf8, EmptyInput) {
    EXPECT_EQ(decodeModifiedUtf8(nullptr, 0), L"");
    EXPECT_EQ(decodeModifiedUtf8("abc", 0), L"");
}

TEST(JavaChars, SupplementaryCharactersBecomeSurrogatePairs) {
    EXPECT_EQ(toJavaChars(std::wstring(L"a") + clef + L"\u20AC"), u"a\U0001D11E\u20AC");
    EXPECT_EQ(toJavaChars(L""), u"");
    EXPECT_EQ(toJavaChars(wide(L"\0x", 2)), std::u16string(u"\0x", 2));
}

TEST(JavaChars, PairsBecomeOneCharacterAgain) {
    const std::u16string units = u"\U0001F600 \u00FC\U00010000\U0010FFFF";
    EXPECT_EQ(fromJavaChars(reinterpret_cast<const jchar*>(units.data()), units.size()),
              L"\U0001F600 \u00FC\U00010000\U0010FFFF");
    EXPECT_EQ(fromJavaChars(nullptr, 0), L"");
}

TEST(JavaChars, UnpairedSurrogatesRoundTripUnchanged) {
    const std::u16string units(u"\xD800"
                               u"a\xDC00\xDBFF");
    std::wstring text = fromJavaChars(reinterpret_cast<const jchar*>(units.data()), units.size());
    EXPECT_EQ(text, wide(L"\xD800"
                         L"a\xDC00\xDBFF",
                         4));
    EXPECT_EQ(toJavaChars(text), units);
}

TEST(JavaChars, OnlyTheGivenCountIsRead) {
    const std::u16string units = u"\U0001D11E";
    EXPECT_EQ(fromJavaChars(reinterpret_cast<const jchar*>(units.data()), 1), wide(L"\xD834", 1));
}

TEST(JavaChars, WideValuesBeyondUnicodeBecomeReplacements) {
    if (sizeof(wchar_t) != 4)
        GTEST_SKIP() << "a 16-bit wchar_t cannot hold such a value";
    unsigned long beyond = 0x110000;
    std::wstring text(1, wchar_t(beyond));
    text += wchar_t(-1);
    EXPECT_EQ(toJavaChars(text), u"\uFFFD\uFFFD");
}

} // namespace
