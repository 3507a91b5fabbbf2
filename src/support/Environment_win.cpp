#include "Environment.h"

#include "GrowingBuffer.h"

#include <windows.h>

namespace {

// ExpandEnvironmentStringsW works within strings of 32K characters and cuts what goes beyond; a result that
// long may have been cut.
constexpr size_t wholeExpansionLimit = 32766;

bool expandWhole(const std::wstring& text, std::wstring& expanded) {
    // The answer counts the terminator, whether the text fitted or not.
    auto fill = [&](wchar_t* buffer, size_t capacity) -> size_t {
        DWORD needed = ExpandEnvironmentStringsW(text.c_str(), buffer, static_cast<DWORD>(capacity));
        return needed == 0 ? bufferCallFailed : needed - 1;
    };
    if (!readGrowingBuffer(expanded, fill))
        return false;
    expanded.resize(wcslen(expanded.c_str()));
    return expanded.size() < wholeExpansionLimit;
}

// One reference at a time, each short enough for the platform; a reference that does not expand (an undefined
// variable) stays as written, and so does a "%" without a partner.
std::wstring expandReferences(const std::wstring& text) {
    std::wstring result;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t open = text.find(L'%', pos);
        size_t close = open == std::wstring::npos ? open : text.find(L'%', open + 1);
        if (close == std::wstring::npos) {
            result.append(text, pos, std::wstring::npos);
            break;
        }
        result.append(text, pos, open - pos);
        std::wstring reference = text.substr(open, close + 1 - open);
        std::wstring expanded;
        result += expandWhole(reference, expanded) ? expanded : reference;
        pos = close + 1;
    }
    return result;
}

} // namespace

std::wstring environmentVariable(const wchar_t* name) {
    std::wstring value;
    // A buffer that is too small is answered with the size needed, terminator included; an unset variable with 0.
    auto fill = [&](wchar_t* buffer, size_t capacity) -> size_t {
        return GetEnvironmentVariableW(name, buffer, static_cast<DWORD>(capacity));
    };
    if (!readGrowingBuffer(value, fill))
        return std::wstring();
    return value;
}

// A text without "%" is taken as it is, whatever its length; a long one is expanded reference by reference.
std::wstring expandEnvironment(const std::wstring& text) {
    if (text.find(L'%') == std::wstring::npos)
        return text;
    std::wstring expanded;
    if (text.size() < wholeExpansionLimit && expandWhole(text, expanded))
        return expanded;
    return expandReferences(text);
}
