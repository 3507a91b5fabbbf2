#include "Environment.h"

#include "GrowingBuffer.h"

#include <windows.h>

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

std::wstring expandEnvironment(const std::wstring& text) {
    std::wstring expanded;
    // The answer counts the terminator, whether the text fitted or not.
    auto fill = [&](wchar_t* buffer, size_t capacity) -> size_t {
        DWORD needed = ExpandEnvironmentStringsW(text.c_str(), buffer, static_cast<DWORD>(capacity));
        return needed == 0 ? bufferCallFailed : needed - 1;
    };
    if (!readGrowingBuffer(expanded, fill))
        return text;
    expanded.resize(wcslen(expanded.c_str()));
    return expanded;
}
