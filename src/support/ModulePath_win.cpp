#include "ModulePath.h"

#include "ErrorMessages.h"

std::wstring modulePath(HMODULE module, DWORD& error, size_t initialSize) {
    std::wstring buffer(initialSize > 0 ? initialSize : 1, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(module, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            error = GetLastError();
            return std::wstring();
        }
        // A cut path fills the buffer exactly; only a shorter result is known to be whole.
        if (length < buffer.size()) {
            buffer.resize(length);
            return buffer;
        }
        if (buffer.size() >= 32768) {
            error = ERROR_INSUFFICIENT_BUFFER;
            return std::wstring();
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring executablePath() {
    DWORD error = 0;
    std::wstring path = modulePath(nullptr, error);
    if (path.empty())
        reportModulePathError(error);
    return path;
}
