#pragma once
// Path operations on Windows paths held as text. The separator is the backslash only, and paths are never
// normalised: no case folding, no slash conversion, no resolution of "." or "..".
// Portable: no Windows headers.
#include <string>
#include <vector>

bool hasLongPathPrefix(const std::wstring& path);
bool isUncPath(const std::wstring& path);
// A UNC path (\\server\share\...) or its long form (\\?\UNC\server\share\...).
bool isNetworkPath(const std::wstring& path);
// A path that starts with a single backslash: rooted at the current drive.
bool isRootedAtCurrentDrive(const std::wstring& path);
// Neither rooted (a leading backslash) nor on a drive's root (C:\): it names something below the current folder.
bool isRelativePath(const std::wstring& path);
// On a drive's root (C:\x) or a share (\\server\share\x), also in the long forms: the same file whatever the
// current folder and drive. The device namespace (\\.\pipe\x, \\?\GLOBALROOT\x) holds no such path.
bool isFullPath(const std::wstring& path);

// Removes the last backslash and what follows it, `count` times; a path without a backslash stays as it is.
std::wstring parentFolder(const std::wstring& path, int count);

// The folder of a path with its trailing backslash (C:\App\x.exe gives C:\App\); empty without a backslash.
std::wstring folderWithBackslash(const std::wstring& path);

// The text after the last backslash.
std::wstring fileNameOf(const std::wstring& path);

// The file name of a path without its extension (the last dot and what follows it): an executable's "editor".
std::wstring programNameOf(const std::wstring& path);

std::wstring withTrailingBackslash(const std::wstring& path);

// The folder of an executable as a current directory: without its trailing backslash, except at a drive's root
// ("E:" alone would mean the current folder of drive E). Empty when the path names no folder.
std::wstring folderAsCurrentDirectory(const std::wstring& executable);

// The root first (when there is one), then every folder and the file name, for creating the folders in turn.
// The long form of a UNC path has \\?\UNC\server as its root, as \\server is the root of a UNC path.
std::vector<std::wstring> splitPathForCreation(const std::wstring& path);
