#include "Paths.h"

bool hasLongPathPrefix(const std::wstring& path) { return path.compare(0, 4, L"\\\\?\\") == 0 && path.size() >= 4; }

bool isUncPath(const std::wstring& path) {
    return path.size() > 2 && path[0] == L'\\' && path[1] == L'\\' && path[2] != L'?';
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

std::wstring fileNameOf(const std::wstring& path) {
    size_t last = path.rfind(L'\\');
    return last == std::wstring::npos ? path : path.substr(last + 1);
}

std::wstring withTrailingBackslash(const std::wstring& path) {
    if (!path.empty() && path.back() == L'\\')
        return path;
    return path + L'\\';
}

std::vector<std::wstring> splitPathForCreation(const std::wstring& path) {
    std::wstring root;
    std::wstring rest = path;
    if (hasLongPathPrefix(path)) {
        root = path.substr(0, 4);
        rest = path.substr(4);
    }
    size_t searchFrom = isUncPath(rest) ? 2 : 0;
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
