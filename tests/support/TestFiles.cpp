#include "TestFiles.h"

#include "support/AnsiText.h"
#include "support/FileSystem.h"
#include "support/ModulePath.h"
#include "support/Paths.h"
#include "support/UniqueResource.h"

#include <algorithm>
#include <atomic>
#include <cwchar>
#include <fstream>
#include <iterator>

namespace {

std::wstring longForm(const std::wstring& path) {
    if (path.size() < MAX_PATH || path.compare(0, 4, L"\\\\?\\") == 0)
        return path;
    return L"\\\\?\\" + path;
}

void removeTree(const std::wstring& path) {
    std::wstring base = longForm(path);
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(FindFirstFileW((base + L"\\*").c_str(), &data));
    for (bool more = find.valid(); more; more = FindNextFileW(find.get(), &data)) {
        std::wstring name = data.cFileName, child = path + L"\\" + name;
        if (name == L"." || name == L"..")
            continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            removeTree(child);
        else if (SetFileAttributesW(longForm(child).c_str(), FILE_ATTRIBUTE_NORMAL))
            DeleteFileW(longForm(child).c_str());
    }
    find.reset(); // an open search keeps the folder
    RemoveDirectoryW(base.c_str());
}

} // namespace

TempFolder::TempFolder() {
    static std::atomic<unsigned> counter{0};
    wchar_t temp[MAX_PATH], name[9];
    GetTempPathW(MAX_PATH, temp);
    do {
        swprintf(name, 9, L"k%07x", (GetCurrentProcessId() * 7919u + GetTickCount() + counter++) & 0xFFFFFFF);
        path_ = std::wstring(temp) + name;
    } while (!CreateDirectoryW(path_.c_str(), nullptr));
}

TempFolder::~TempFolder() { removeTree(path_); }

std::wstring testProgramFolder() {
    DWORD error = 0;
    return parentFolder(modulePath(nullptr, error), 1);
}

void writeBytes(const std::wstring& path, const std::string& bytes) {
    createFolders(path.substr(0, path.rfind(L'\\')));
    std::ofstream(longForm(path).c_str(), std::ios::binary) << bytes;
}

void writeUnicodeFile(const std::wstring& path, const std::wstring& text) {
    std::string bytes = "\xFF\xFE";
    bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    writeBytes(path, bytes);
}

// The C runtime opens the file sharing reading and writing, as a record still being written needs.
std::string readBytes(const std::wstring& path) {
    std::ifstream file(longForm(path).c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
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
    createFolders(to.substr(0, to.rfind(L'\\')));
    return CopyFileW(longForm(from).c_str(), longForm(to).c_str(), FALSE) != 0;
}

// The folders a file inside the path would need.
void createFolders(const std::wstring& path) { ensureParentFolders(longForm(path) + L"\\file"); }

std::string narrow(const std::wstring& text) { return toCodePage(CP_UTF8, text); }
