// The record file and the text conversions it needs.
#include "StandIn.h"

#include <windows.h>

#include <mutex>

namespace standin {
namespace {

std::mutex recordLock;

std::wstring recordPath() {
    wchar_t buffer[32768];
    DWORD length = GetEnvironmentVariableW(L"KORU_STANDIN_RECORD", buffer, 32768);
    return length > 0 && length < 32768 ? std::wstring(buffer, length) : std::wstring();
}

std::string escaped(const std::string& value) {
    std::string result;
    for (char c : value) {
        if (c == '\r')
            result += "\\r";
        else if (c == '\n')
            result += "\\n";
        else
            result += c;
    }
    return result;
}

// Open, append and close for every line, so a killed or exiting process loses nothing already recorded.
void appendLine(const std::string& line) {
    std::wstring path = recordPath();
    if (path.empty())
        return;
    std::lock_guard<std::mutex> guard(recordLock);
    HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    std::string text = line + "\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

} // namespace

void record(const std::string& key, const std::string& value) { appendLine(key + "=" + escaped(value)); }

void record(const std::string& key) { appendLine(key); }

void recordLines(const std::string& key, const std::string& text) {
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        size_t lineEnd = end > start && text[end - 1] == '\r' ? end - 1 : end;
        record(key, text.substr(start, lineEnd - start));
        start = end + 1;
    }
}

std::string toUtf8(const std::wstring& text) {
    if (text.empty())
        return {};
    int size =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size, nullptr, nullptr);
    return result;
}

std::string toUtf8(const std::u16string& text) {
    return toUtf8(std::wstring(reinterpret_cast<const wchar_t*>(text.data()), text.size()));
}

std::u16string fromUtf8(const std::string& text) {
    if (text.empty())
        return {};
    int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::u16string result(size, u'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                        reinterpret_cast<wchar_t*>(result.data()), size);
    return result;
}

std::string fromAnsi(const char* text) {
    int size = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (size <= 1)
        return {};
    std::wstring wide(size, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), size);
    wide.resize(size - 1);
    return toUtf8(wide);
}

std::string environmentVariable(const wchar_t* name, bool& isSet) {
    std::wstring buffer(32768, L'\0');
    SetLastError(0);
    DWORD length = GetEnvironmentVariableW(name, buffer.data(), 32768);
    isSet = length < 32768 && (length > 0 || GetLastError() != ERROR_ENVVAR_NOT_FOUND);
    if (!isSet)
        return {};
    buffer.resize(length);
    return toUtf8(buffer);
}

} // namespace standin
