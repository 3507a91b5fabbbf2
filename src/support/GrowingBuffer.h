#pragma once
// The one owner of the "call, grow the buffer, call again" loop that Windows' text-returning functions need.
// Portable: no Windows headers.
#include <algorithm>
#include <cstddef>
#include <string>

// What `fill` returns for a call that failed.
constexpr size_t bufferCallFailed = static_cast<size_t>(-1);

// Buffer sizes stay far below what a DWORD of bytes can describe.
constexpr size_t maxBufferCapacity = size_t(1) << 28;

// Calls fill(buffer, capacity) until the text fits. fill returns the text's length when it is smaller than
// the capacity (the text is then complete), a length at least as large as the capacity when the buffer was
// too small (the length the text needs when the function tells it, else just the capacity), or
// bufferCallFailed. False when a call fails or the text would pass maxBufferCapacity.
template <typename Fill> bool readGrowingBuffer(std::wstring& text, Fill fill, size_t initialCapacity = 256) {
    std::wstring buffer(std::max<size_t>(initialCapacity, 2), L'\0');
    for (;;) {
        size_t length = fill(buffer.data(), buffer.size());
        if (length == bufferCallFailed || length >= maxBufferCapacity)
            return false;
        if (length < buffer.size()) {
            buffer.resize(length);
            text = std::move(buffer);
            return true;
        }
        buffer.assign(std::min(std::max(length + 1, buffer.size() * 2), maxBufferCapacity), L'\0');
    }
}
