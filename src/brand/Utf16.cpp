#include "Utf16.h"

namespace {

// The code point of the sequence that starts at `at`, advancing `at`; -1 when the sequence is malformed.
long decodeUtf8(const std::string& text, size_t& at) {
    const unsigned char lead = static_cast<unsigned char>(text[at++]);
    if (lead < 0x80)
        return lead;
    const int trailing = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
    if (trailing < 0 || at + trailing > text.size())
        return -1;
    long code = lead & (0x3F >> trailing);
    for (int i = 0; i < trailing; ++i) {
        const unsigned char next = static_cast<unsigned char>(text[at++]);
        if ((next & 0xC0) != 0x80)
            return -1;
        code = (code << 6) | (next & 0x3F);
    }
    static const long smallest[] = {0, 0x80, 0x800, 0x10000};
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code < smallest[trailing] || code > 0x10FFFF || surrogate ? -1 : code;
}

void appendUtf8(std::string& out, unsigned long code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
        return;
    }
    static const unsigned char leads[] = {0, 0xC0, 0xE0, 0xF0};
    const int trailing = code < 0x800 ? 1 : code < 0x10000 ? 2 : 3;
    out += static_cast<char>(leads[trailing] | (code >> (6 * trailing)));
    for (int shift = 6 * (trailing - 1); shift >= 0; shift -= 6)
        out += static_cast<char>(0x80 | ((code >> shift) & 0x3F));
}

} // namespace

bool utf8ToUtf16(const std::string& text, std::u16string& result) {
    result.clear();
    for (size_t at = 0; at < text.size();) {
        const long code = decodeUtf8(text, at);
        if (code < 0)
            return false;
        if (code < 0x10000) {
            result += static_cast<char16_t>(code);
            continue;
        }
        result += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
        result += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
    }
    return true;
}

std::string utf16ToUtf8(const std::u16string& text) {
    std::string out;
    for (size_t at = 0; at < text.size(); ++at) {
        unsigned long code = text[at];
        const bool high = code >= 0xD800 && code <= 0xDBFF;
        const bool pairs = high && at + 1 < text.size() && text[at + 1] >= 0xDC00 && text[at + 1] <= 0xDFFF;
        if (pairs)
            code = 0x10000 + ((code - 0xD800) << 10) + (text[++at] - 0xDC00);
        else if (code >= 0xD800 && code <= 0xDFFF)
            code = 0xFFFD;
        appendUtf8(out, code);
    }
    return out;
}
