#include "TextCompare.h"

namespace {
wchar_t lowerAscii(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c; }
} // namespace

bool isAscii(const std::wstring& text) {
    for (wchar_t c : text) {
        if (c > 0x7F)
            return false;
    }
    return true;
}

bool equalsIgnoringCase(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    }
    return true;
}
