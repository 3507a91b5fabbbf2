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

// Empty when the file does not exist or the volume keeps no short names (the long name then comes back).
std::wstring shortPathOf(const std::wstring& path) {
    std::wstring shortPath;
    readGrowingBuffer(shortPath, [&path](wchar_t* buffer, size_t capacity) -> size_t {
        DWORD length = GetShortPathNameW(path.c_str(), buffer, static_cast<DWORD>(capacity));
        return length == 0 ? bufferCallFailed : length;
    });
    return shortPath;
}

} // namespace

std::string toThreadAnsi(const std::wstring& text) {
    int size =
        WideCharToMultiByte(CP_THREAD_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(size > 0 ? size : 0), '\0');
    WideCharToMultiByte(CP_THREAD_ACP, 0, text.data(), static_cast<int>(text.size()), result.data(), size, nullptr,
                        nullptr);
    return result;
}

std::wstring fromThreadAnsi(const std::string& text) {
    int size = MultiByteToWideChar(CP_THREAD_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<size_t>(size > 0 ? size : 0), L'\0');
    MultiByteToWideChar(CP_THREAD_ACP, 0, text.data(), static_cast<int>(text.size()), result.data(), size);
    return result;
}

bool eightBitPath(const std::wstring& path, std::string& eightBit) {
    if (convertsWithoutLoss(path, eightBit))
        return true;
    std::wstring shortPath = shortPathOf(path);
    return !shortPath.empty() && convertsWithoutLoss(shortPath, eightBit);
}
