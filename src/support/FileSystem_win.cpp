#include "FileSystem.h"

#include "Paths.h"
#include "UniqueResource.h"

#include <vector>

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
