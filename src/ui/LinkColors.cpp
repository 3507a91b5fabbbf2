#include "LinkColors.h"

#include <cwchar>

namespace {

// As a C runtime reads a decimal number: leading blanks, a sign, then digits up to the first other character.
uint32_t lowByteOfNumber(const std::wstring& text) {
    long value = std::wcstol(text.c_str(), nullptr, 10);
    return static_cast<uint32_t>(value) & 0xFF;
}

} // namespace

bool parseAnchorColor(const std::wstring& text, uint32_t& colour) {
    size_t firstComma = text.find(L',');
    if (firstComma == std::wstring::npos)
        return false;
    size_t secondComma = text.find(L',', firstComma + 1);
    if (secondComma == std::wstring::npos || secondComma + 1 == text.size())
        return false;
    uint32_t red = lowByteOfNumber(text.substr(0, firstComma));
    uint32_t green = lowByteOfNumber(text.substr(firstComma + 1, secondComma - firstComma - 1));
    uint32_t blue = lowByteOfNumber(text.substr(secondComma + 1));
    colour = red | (green << 8) | (blue << 16);
    return true;
}
