#include "FileSystem.h"

#include "GrowingBuffer.h"
#include "Paths.h"
#include "UniqueResource.h"

#include <vector>

namespace {

struct FileIdentity {
    DWORD volume = 0;
    DWORD indexHigh = 0;
    DWORD indexLow = 0;
    bool operator==(const FileIdentity& other) const {
        return volume == other.volume && indexHigh == other.indexHigh && indexLow == other.indexLow;
    }
};

// Opened without any access right, so that no other opener's sharing mode stands in the way.
bool readFileIdentity(const std::wstring& path, FileIdentity& identity) {
    UniqueFileHandle file(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION information;
    if (!file || !GetFileInformationByHandle(file.get(), &information))
        return false;
    identity = {information.dwVolumeSerialNumber, information.nFileIndexHigh, information.nFileIndexLow};
    return true;
}

} // namespace

std::wstring fullPathOf(const std::wstring& path) {
    std::wstring full;
    // A buffer that is too small is answered with the size needed, terminator included.
    auto fill = [&](wchar_t* buffer, size_t capacity) -> size_t {
        DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(capacity), buffer, nullptr);
        return length == 0 ? bufferCallFailed : length;
    };
    return readGrowingBuffer(full, fill) ? full : path;
}

bool entryExists(const std::wstring& path) {
    WIN32_FIND_DATAW data;
    UniqueFindHandle search(FindFirstFileW(path.c_str(), &data));
    return search.valid();
}

bool pathExists(const std::wstring& path) {
    if (path.empty())
        return false;
    if (path[0] != L'\\' && path.find(L':') == std::wstring::npos)
        return false;
    return entryExists(path);
}

bool isSameFile(const std::wstring& first, const std::wstring& second) {
    FileIdentity a;
    FileIdentity b;
    if (readFileIdentity(first, a) && readFileIdentity(second, b))
        return a == b;
    std::wstring fullFirst = fullPathOf(first);
    std::wstring fullSecond = fullPathOf(second);
    return CompareStringOrdinal(fullFirst.c_str(), static_cast<int>(fullFirst.size()), fullSecond.c_str(),
                                static_cast<int>(fullSecond.size()), TRUE) == CSTR_EQUAL;
}

DWORD ensureParentFolders(const std::wstring& filePath) {
    if (pathExists(filePath))
        return 0;
    bool isUnc = isNetworkPath(filePath);
    std::vector<std::wstring> parts = splitPathForCreation(filePath);
    // The root of the current drive is the empty text before the single leading backslash.
    if (isRootedAtCurrentDrive(filePath))
        parts.insert(parts.begin(), std::wstring());
    // Without a root, a folder and a file name there is nothing to create (an empty path has no parts at all).
    if (parts.size() < 3)
        return 0;

    std::wstring running = parts.front();
    std::wstring previousFolder;
    bool createdPrevious = false;
    DWORD lastError = 0;
    for (size_t i = 1; i + 1 < parts.size(); ++i) {
        std::wstring folder = running + L'\\' + parts[i];
        bool created = CreateDirectoryW(folder.c_str(), nullptr) != FALSE;
        DWORD error = created ? 0 : GetLastError();
        if (!created)
            lastError = error;
        // A network share's own root cannot be created, but the folders below it can.
        if (!created && error != ERROR_ALREADY_EXISTS && !isUnc) {
            if (createdPrevious)
                RemoveDirectoryW(previousFolder.c_str());
            return error;
        }
        running = folder;
        previousFolder = folder;
        createdPrevious = created;
    }
    return lastError == ERROR_ALREADY_EXISTS ? 0 : lastError;
}
