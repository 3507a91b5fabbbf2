#pragma once
// The "JRE Not Found" dialog: what the application needs, where to download it, and a folder browser to pick an
// installed runtime. OK is possible only while the folder picked holds a suitable jvm.dll.
#include <windows.h>

#include <shlobj.h>

#include <functional>
#include <string>

// The folder's jvm.dll that the application can use, or an empty path. The folder ends in a backslash.
using JvmLibraryFinder = std::function<std::wstring(const std::wstring& home)>;

// The folder browser: false when the user cancelled or the folder has no path the launcher can use.
using FolderBrowser = std::function<bool(HWND owner, std::wstring& folder)>;

struct JreNotFoundRequest {
    std::wstring message; // the "JRE Not Found" text naming the versions that would do
    JvmLibraryFinder findLibrary;
    FolderBrowser browseForFolder; // the shell's folder browser when empty
};

// What the user picked; written only when the dialog ends with OK.
struct RuntimeFolderPick {
    std::wstring chosenHome;    // ends in a backslash
    std::wstring chosenJvmPath; // never empty
};

// Runs the dialog modally; true for OK. A dialog that cannot be shown counts as Cancel.
bool showJreNotFoundDialog(HWND owner, const JreNotFoundRequest& request, RuntimeFolderPick& pick);

// The shell's folder browser with text 214 as its title, for file-system folders only and without a button for new
// folders. A folder whose path does not fit MAX_PATH characters counts as no pick: a cut path would name another
// folder.
bool browseForRuntimeFolder(HWND owner, std::wstring& folder);

// The file-system path of a folder the shell names; false for a folder without one and for a path that does not fit
// MAX_PATH with room to spare (a shell may have cut it).
bool folderPathOf(PCIDLIST_ABSOLUTE folder, std::wstring& path);
