#include "AnsiText.h"

#include "GrowingBuffer.h"

#include <windows.h>

namespace {

// A round trip through the code page tells loss of every kind: default characters and best-fit look-alikes.
bool convertsWithoutLoss(const std::wstring& text, std::string& eightBit) {
    std::string converted = toThreadAnsi(text);
    if (fromThreadAnsi(converted) != text)
        return false;
    eightBit = std::move(converted);
    return true;
}

} // namespace

// A text the conversion refuses (or an empty one, which the calls answer with 0) gives an empty result.
std::string toCodePage(unsigned codePage, const std::wstring& text) {
    auto length = static_cast<int>(text.size());
    int size = WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(codePage, 0, text.data(), length, result.data(), size, nullptr, nullptr);
    return result;
}

std::wstring fromCodePage(unsigned codePage, const std::string& text) {
    auto length = static_cast<int>(text.size());
    int size = MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
    std::wstring result(static_cast<size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0)
        MultiByteToWideChar(codePage, 0, text.data(), length, result.data(), size);
    return result;
}

std::string toThreadAnsi(const std::wstring& text) { return toCodePage(CP_THREAD_ACP, text); }

std::wstring fromThreadAnsi(const std::string& text) { return fromCodePage(CP_THREAD_ACP, text); }

std::wstring shortPathOf(const std::wstring& path) {
    std::wstring shortPath;
    auto fill = [&path](wchar_t* buffer, size_t capacity) -> size_t {
        DWORD length = GetShortPathNameW(path.c_str(), buffer, static_cast<DWORD>(capacity));
        return length == 0 ? bufferCallFailed : length;
    };
    if (!readGrowingBuffer(shortPath, fill))
        return std::wstring();
    return shortPath;
}

bool eightBitPath(const std::wstring& path, std::string& eightBit) {
    if (convertsWithoutLoss(path, eightBit))
        return true;
    std::wstring shortPath = shortPathOf(path);
    return !shortPath.empty() && convertsWithoutLoss(shortPath, eightBit);
}
