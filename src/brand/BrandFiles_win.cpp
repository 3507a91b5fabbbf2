#include "BrandFiles.h"

#include "Utf16.h"
#include "support/UniqueResource.h"

#include <string>

namespace {

std::wstring widePath(const std::u16string& path) { return std::wstring(path.begin(), path.end()); }

bool failed(std::string& error) {
    const DWORD code = GetLastError();
    wchar_t* text = nullptr;
    const DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    FormatMessageW(flags, nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    const wchar_t* start = text ? text : L"";
    std::u16string message(start, start + wcslen(start));
    LocalFree(text);
    while (!message.empty() && (message.back() == u'\n' || message.back() == u'\r' || message.back() == u'.'))
        message.pop_back();
    error = utf16ToUtf8(message) + " (error " + std::to_string(code) + ")";
    return false;
}

bool writeAll(HANDLE file, const Bytes& contents) {
    for (size_t written = 0; written < contents.size();) {
        DWORD count = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(contents.size() - written, 1 << 30));
        if (!WriteFile(file, contents.data() + written, chunk, &count, nullptr))
            return false;
        written += count;
    }
    return true;
}

} // namespace

bool readWholeFile(const std::u16string& path, Bytes& contents, std::string& error) {
    UniqueFileHandle file(CreateFileW(widePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size;
    if (!file || !GetFileSizeEx(file.get(), &size))
        return failed(error);
    contents.resize(static_cast<size_t>(size.QuadPart));
    for (size_t done = 0; done < contents.size();) {
        DWORD count = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(contents.size() - done, 1 << 30));
        if (!ReadFile(file.get(), contents.data() + done, chunk, &count, nullptr))
            return failed(error);
        if (count == 0)
            return error = "the file became shorter while it was read", false;
        done += count;
    }
    return true;
}

bool replaceFile(const std::u16string& path, const Bytes& contents, std::string& error) {
    const std::wstring target = widePath(path);
    const std::wstring temporary = target + L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp";
    UniqueFileHandle file(
        CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return failed(error);
    bool written = writeAll(file.get(), contents) && FlushFileBuffers(file.get());
    file.reset();
    written =
        written && MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (written)
        return true;
    failed(error);
    DeleteFileW(temporary.c_str());
    return false;
}

// A console shows any character through WriteConsoleW; a redirected stream gets the UTF-8 bytes.
void printText(const std::string& text, bool toError) {
    HANDLE stream = GetStdHandle(toError ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    DWORD mode = 0, count = 0;
    std::u16string units;
    if (GetConsoleMode(stream, &mode) && utf8ToUtf16(text, units)) {
        WriteConsoleW(stream, units.data(), static_cast<DWORD>(units.size()), &count, nullptr);
        return;
    }
    WriteFile(stream, text.data(), static_cast<DWORD>(text.size()), &count, nullptr);
}
