#include "TestFiles.h"

#include <algorithm>
#include <atomic>
#include <cwchar>

namespace {

std::wstring longForm(const std::wstring& path) {
    if (path.size() < MAX_PATH || path.compare(0, 4, L"\\\\?\\") == 0)
        return path;
    return L"\\\\?\\" + path;
}

void removeTree(const std::wstring& path) {
    std::wstring base = longForm(path);
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((base + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring child = path + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeTree(child);
            } else {
                SetFileAttributesW(longForm(child).c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(longForm(child).c_str());
            }
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(base.c_str());
}

} // namespace

template <typename Name> void TempFolder::create(Name name) {
    static std::atomic<unsigned> counter{0};
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    do
        path_ = std::wstring(temp) + name(counter++);
    while (!CreateDirectoryW(path_.c_str(), nullptr));
}

TempFolder::TempFolder() {
    create([](unsigned n) {
        return L"koru-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount()) + L"-" +
               std::to_wstring(n);
    });
}

TempFolder::TempFolder(ShortName) {
    create([](unsigned n) {
        wchar_t name[9];
        swprintf(name, 9, L"k%07x", (GetCurrentProcessId() * 7919u + GetTickCount() + n) & 0xFFFFFFF);
        return std::wstring(name);
    });
}

TempFolder::~TempFolder() { removeTree(path_); }

std::wstring testProgramFolder() {
    wchar_t path[4096];
    DWORD length = GetModuleFileNameW(nullptr, path, 4096);
    std::wstring whole(path, length);
    return whole.substr(0, whole.rfind(L'\\'));
}

void writeBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(longForm(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

void writeUnicodeFile(const std::wstring& path, const std::wstring& text) {
    std::string bytes = "\xFF\xFE";
    bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    writeBytes(path, bytes);
}

std::string readBytes(const std::wstring& path) {
    HANDLE file =
        CreateFileW(longForm(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::string();
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

std::vector<std::string> readLines(const std::wstring& path) {
    std::vector<std::string> lines;
    std::string text = readBytes(path);
    for (size_t start = 0, end; start < text.size(); start = end + 1) {
        end = std::min(text.find('\n', start), text.size());
        lines.push_back(text.substr(start, end - start - (end > start && text[end - 1] == '\r' ? 1 : 0)));
    }
    return lines;
}

bool fileExists(const std::wstring& path) {
    return GetFileAttributesW(longForm(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool copyFile(const std::wstring& from, const std::wstring& to) {
    return CopyFileW(longForm(from).c_str(), longForm(to).c_str(), FALSE) != 0;
}

void createFolders(const std::wstring& path) {
    for (size_t at = path.find(L'\\', 3);; at = path.find(L'\\', at + 1)) {
        std::wstring part = at == std::wstring::npos ? path : path.substr(0, at);
        CreateDirectoryW(longForm(part).c_str(), nullptr);
        if (at == std::wstring::npos)
            break;
    }
}

std::string narrow(const std::wstring& text) {
    int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), length, nullptr,
                        nullptr);
    return result;
}
