#include "JavaText.h"

#include <type_traits>

namespace {

constexpr char32_t replacementCharacter = 0xFFFD;
constexpr bool wideIsUtf16 = sizeof(wchar_t) == 2;

bool isHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

char32_t combineSurrogates(char32_t high, char32_t low) { return 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00); }

void appendUtf16(std::u16string& units, char32_t codePoint) {
    if (codePoint > 0x10FFFF) {
        units += char16_t(replacementCharacter);
        return;
    }
    if (codePoint < 0x10000) {
        // Lone surrogates pass through as they are: a Java string may hold one, and the text must round-trip.
        units += char16_t(codePoint);
        return;
    }
    codePoint -= 0x10000;
    units += char16_t(0xD800 + (codePoint >> 10));
    units += char16_t(0xDC00 + (codePoint & 0x3FF));
}

std::wstring wideFromUtf16(const char16_t* units, size_t count) {
    std::wstring text;
    text.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        char32_t unit = units[i];
        if (!wideIsUtf16 && isHighSurrogate(unit) && i + 1 < count && isLowSurrogate(units[i + 1]))
            unit = combineSurrogates(unit, units[++i]);
        text += wchar_t(unit);
    }
    return text;
}

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The range the second byte of a sequence must lie in, so that overlong forms and values past U+10FFFF are
// refused. Surrogates encoded on their own (ED A0..BF) are accepted: that is how modified UTF-8 carries
// supplementary characters. C0 80 is modified UTF-8's U+0000 and is handled before this.
bool secondByteFits(unsigned char lead, unsigned char second) {
    if (lead == 0xE0)
        return second >= 0xA0 && second <= 0xBF;
    if (lead == 0xF0)
        return second >= 0x90 && second <= 0xBF;
    if (lead == 0xF4)
        return second >= 0x80 && second <= 0x8F;
    return isContinuation(second);
}

size_t sequenceLength(unsigned char lead) {
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4; // standard UTF-8 form of a supplementary character; accepted although Java does not write it
    return 0;
}

// Decodes one sequence at bytes[i]. On malformed input yields U+FFFD and consumes only the bytes that formed a
// valid beginning, so the byte that broke the sequence is read again as a lead.
char32_t decodeSequence(const unsigned char* bytes, size_t length, size_t& i) {
    unsigned char lead = bytes[i++];
    if (lead == 0xC0 && i < length && bytes[i] == 0x80) {
        ++i;
        return 0;
    }
    size_t total = sequenceLength(lead);
    if (total == 0)
        return replacementCharacter;
    if (total == 1)
        return lead;
    if (i == length || !secondByteFits(lead, bytes[i]))
        return replacementCharacter;
    char32_t codePoint = lead & (0x7F >> total);
    for (size_t k = 1; k < total; ++k) {
        if (i == length || !isContinuation(bytes[i]))
            return replacementCharacter;
        codePoint = (codePoint << 6) | (bytes[i++] & 0x3F);
    }
    return codePoint;
}

} // namespace

std::u16string toJavaChars(const std::wstring& text) {
    std::u16string units;
    units.reserve(text.size());
    for (wchar_t c : text) {
        if (wideIsUtf16)
            units += char16_t(c);
        else
            appendUtf16(units, char32_t(static_cast<std::make_unsigned_t<wchar_t>>(c)));
    }
    return units;
}

std::wstring fromJavaChars(const jchar* chars, size_t count) {
    static_assert(sizeof(jchar) == sizeof(char16_t), "jchar is a UTF-16 unit");
    if (chars == nullptr)
        return {};
    return wideFromUtf16(reinterpret_cast<const char16_t*>(chars), count);
}

std::wstring decodeModifiedUtf8(const char* bytes, size_t length) {
    if (bytes == nullptr)
        return {};
    // Decoding to UTF-16 first keeps a surrogate pair that arrives as two sequences together as one character.
    std::u16string units;
    units.reserve(length);
    const auto* data = reinterpret_cast<const unsigned char*>(bytes);
    for (size_t i = 0; i < length;)
        appendUtf16(units, decodeSequence(data, length, i));
    return wideFromUtf16(units.data(), units.size());
}
