// The record of what the stand-in was given, the script that steers it, and the traps.
#include "StandIn.h"

#include <windows.h>

#include <algorithm>
#include <mutex>

namespace standin {

void record(const std::string& key, const std::string& value) { recordTogether({{key, value}}); }

void recordTogether(const std::vector<std::pair<std::string, std::string>>& lines) {
    std::wstring path = environment(L"KORU_STANDIN_RECORD");
    std::string text;
    for (const auto& line : lines)
        text += line.first + "=" + line.second + "\n";
    static std::mutex lock;
    std::lock_guard<std::mutex> guard(lock);
    HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

void recordLines(const std::string& key, const std::string& text) {
    for (size_t start = 0, end; start < text.size(); start = end + 1) {
        end = std::min(text.find('\n', start), text.size());
        record(key, text.substr(start, end - start - (end > start && text[end - 1] == '\r' ? 1 : 0)));
    }
}

void trap(const std::string& what, unsigned code) {
    record("trap", what);
    ExitProcess(code);
}

std::string utf8(const std::wstring& text, unsigned codePage) {
    int size = WideCharToMultiByte(codePage, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(size, '\0');
    WideCharToMultiByte(codePage, 0, text.data(), int(text.size()), result.data(), size, nullptr, nullptr);
    return result;
}

std::wstring fromUtf8(const std::string& text, unsigned codePage) {
    int size = MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring result(size, L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), result.data(), size);
    return result;
}

std::wstring environment(const wchar_t* name) {
    std::wstring buffer(32767, L'\0');
    DWORD length = GetEnvironmentVariableW(name, buffer.data(), DWORD(buffer.size()));
    buffer.resize(length < buffer.size() ? length : 0);
    return buffer;
}

std::vector<std::wstring> split(const std::wstring& text, wchar_t separator) {
    std::vector<std::wstring> parts;
    for (size_t start = 0, end = 0; end != std::wstring::npos && start < text.size(); start = end + 1) {
        end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::wstring::npos ? end : end - start));
    }
    return parts;
}

std::wstring directive(const wchar_t* name) {
    std::wstring prefix = std::wstring(name) + L"=";
    for (const std::wstring& part : split(environment(L"KORU_STANDIN_SCRIPT"), L';')) {
        if (part.compare(0, prefix.size(), prefix) == 0)
            return part.substr(prefix.size());
    }
    return {};
}

long number(const std::wstring& text) { return std::wcstol(text.c_str(), nullptr, 0); }

} // namespace standin
