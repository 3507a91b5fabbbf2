#pragma once
// Existence tests and folder creation on the real file system.
#include <windows.h>

#include <string>

// Whether a find-first-file search on the path finds an entry, file or folder. A relative path is searched
// against the current folder; callers that must not do that use pathExists.
bool entryExists(const std::wstring& path);

// False for an empty or relative path (one that neither starts with a backslash nor holds a colon); otherwise
// whether the file or folder exists.
bool pathExists(const std::wstring& path);

// The full path that the system makes of a path (GetFullPathNameW); the path itself when it cannot.
std::wstring fullPathOf(const std::wstring& path);

// Whether two spellings (letter case, relative or absolute, short 8.3 names) name one file: the files' identities
// when both can be opened, else their full paths compared without regard to case.
bool isSameFile(const std::wstring& first, const std::wstring& second);

// Creates every missing folder between the path's root and the file, never the file itself. Returns 0 or the
// error code of the step that failed; after a failure the folder just above the failing step is removed again
// when this call created it.
DWORD ensureParentFolders(const std::wstring& filePath);
