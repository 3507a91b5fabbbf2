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

const std::wstring bad(1, wchar_t(0xFFFD)), nul(1, L'\0');
const std::wstring high(1, wchar_t(0xD834)), low(1, wchar_t(0xDD1E)); // U+1D11E as UTF-16 units
const std::string clef = "\xED\xA0\xB4\xED\xB4\x9E";                  // U+1D11E as the VM writes it

TEST(ModifiedUtf8, DecodesWhatTheVmHandsOut) {
    EXPECT_EQ(decode("a/\xC3\xA9\xE2\x82\xAC\xEF\xBF\xBF\xC2\x80\xDF\xBF\x7F"),
              L"a/\u00E9\u20AC\uFFFF\u0080\u07FF\x7F");
    EXPECT_EQ(decode("x" + clef + "\xF0\x9D\x84\x9E\xF4\x80\x80\x80\xF4\x8F\xBF\xBF"),
              L"x\U0001D11E\U0001D11E\U00100000\U0010FFFF");
    EXPECT_EQ(decode(std::string("a\xC0\x80\0", 4)), L"a" + nul + nul);
    // Lone surrogates stay as Java held them, and a reversed pair stays two units.
    EXPECT_EQ(decode("\xED\xA0\xB4"
                     "a\xED\xB4\x9E\xED\xA0\xB4"),
              high + L"a" + low + high);
    // Stray, overlong and out-of-range bytes: the byte that breaks a sequence is read again as a lead.
    EXPECT_EQ(decode("\x80\xF5\xFF\xC1\x81\xC0\x41\xE0\x9F\xBF\xE0\xA0\x80"),
              bad + bad + bad + bad + bad + bad + L"A" + bad + bad + bad + L"\u0800");
    EXPECT_EQ(decode("\xF0\x8F\xBF\xBF\xF4\x90\x80\x80"), bad + bad + bad + bad + bad + bad + bad + bad);
    EXPECT_EQ(decode("\xE2\x82"
                     "A\xF0\x9D\x84"),
              bad + L"A" + bad);
    EXPECT_EQ(decode(clef.substr(0, 4)), high + bad);
    EXPECT_EQ(decodeModifiedUtf8(nullptr, 0), L"");
}

} // namespace
