#include "ModulePath.h"

#include "ErrorMessages.h"
#include "GrowingBuffer.h"

std::wstring modulePath(HMODULE module, DWORD& error, size_t initialSize) {
    std::wstring path;
    error = ERROR_INSUFFICIENT_BUFFER; // unless a call fails with a code of its own
    // A cut path fills the buffer exactly; only a shorter result is known to be whole.
    auto fill = [&](wchar_t* buffer, size_t capacity) -> size_t {
        DWORD length = GetModuleFileNameW(module, buffer, static_cast<DWORD>(capacity));
        if (length == 0) {
            error = GetLastError();
            return bufferCallFailed;
        }
        return length;
    };
    if (!readGrowingBuffer(path, fill, initialSize))
        return std::wstring();
    return path;
}

std::wstring executablePath() {
    DWORD error = 0;
    std::wstring path = modulePath(nullptr, error);
    if (path.empty())
        reportModulePathError(error);
    return path;
}
