#include "Paths.h"

#include "TextCompare.h"

bool hasLongPathPrefix(const std::wstring& path) { return path.compare(0, 4, L"\\\\?\\") == 0 && path.size() >= 4; }

bool isUncPath(const std::wstring& path) {
    return path.size() > 2 && path[0] == L'\\' && path[1] == L'\\' && path[2] != L'?';
}

namespace {

// After the long-path prefix, "UNC\" in any letter case.
bool hasLongUncPrefix(const std::wstring& path) {
    return hasLongPathPrefix(path) && path.size() >= 8 && equalsIgnoringCase(path.substr(4, 4), L"UNC\\");
}

} // namespace

bool isNetworkPath(const std::wstring& path) { return isUncPath(path) || hasLongUncPrefix(path); }

bool isRootedAtCurrentDrive(const std::wstring& path) {
    return !path.empty() && path[0] == L'\\' && (path.size() == 1 || path[1] != L'\\');
}

std::wstring parentFolder(const std::wstring& path, int count) {
    std::wstring result = path;
    for (int i = 0; i < count; ++i) {
        size_t last = result.rfind(L'\\');
        if (last == std::wstring::npos)
            break;
        result.erase(last);
    }
    return result;
}

std::wstring folderWithBackslash(const std::wstring& path) {
    size_t last = path.rfind(L'\\');
    return last == std::wstring::npos ? std::wstring() : path.substr(0, last + 1);
}

std::wstring programNameOf(const std::wstring& path) {
    std::wstring name = fileNameOf(path);
    size_t dot = name.rfind(L'.');
    return dot == std::wstring::npos ? name : name.substr(0, dot);
}

std::wstring fileNameOf(const std::wstring& path) {
    size_t last = path.rfind(L'\\');
    return last == std::wstring::npos ? path : path.substr(last + 1);
}

std::wstring withTrailingBackslash(const std::wstring& path) {
    if (!path.empty() && path.back() == L'\\')
        return path;
    return path + L'\\';
}

bool isRelativePath(const std::wstring& path) {
    bool rooted = !path.empty() && (path[0] == L'\\' || path[0] == L'/');
    bool onDrive = path.size() >= 3 && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/');
    return !rooted && !onDrive;
}

bool isFullPath(const std::wstring& path) {
    if (hasLongUncPrefix(path))
        return true;
    std::wstring rest = hasLongPathPrefix(path) ? path.substr(4) : path;
    bool onDrive = rest.size() >= 3 && rest[1] == L':' && (rest[2] == L'\\' || rest[2] == L'/');
    // \\.\ starts the device namespace (pipes, ports), no share.
    return onDrive || (isUncPath(path) && path[2] != L'.');
}

std::wstring folderAsCurrentDirectory(const std::wstring& executable) {
    size_t last = executable.rfind(L'\\');
    // A path without a backslash, or with only the one at its start, names no folder.
    if (last == std::wstring::npos || last == 0)
        return std::wstring();
    bool atDriveRoot = executable[last - 1] == L':';
    return executable.substr(0, atDriveRoot ? last + 1 : last);
}

std::vector<std::wstring> splitPathForCreation(const std::wstring& path) {
    std::wstring root;
    std::wstring rest = path;
    if (hasLongPathPrefix(path)) {
        root = path.substr(0, 4);
        rest = path.substr(4);
    }
    // A UNC root holds the server's name: its search starts after the two backslashes, or after "UNC\".
    size_t searchFrom = isUncPath(rest) ? 2 : (hasLongUncPrefix(path) ? 4 : 0);
    size_t rootEnd = searchFrom < rest.size() ? rest.find(L'\\', searchFrom) : std::wstring::npos;
    if (rootEnd == std::wstring::npos) {
        root += rest;
        rest.clear();
    } else {
        root += rest.substr(0, rootEnd);
        rest.erase(0, rootEnd + 1);
    }

    std::vector<std::wstring> parts;
    if (!root.empty())
        parts.push_back(root);
    size_t start = 0;
    for (size_t slash = rest.find(L'\\'); slash != std::wstring::npos; slash = rest.find(L'\\', start)) {
        parts.push_back(rest.substr(start, slash - start));
        start = slash + 1;
    }
    if (start < rest.size())
        parts.push_back(rest.substr(start));
    return parts;
}
