// Existence tests and folder creation on real folders.
#include "TestFiles.h"
#include "support/FileSystem.h"
#include "support/Paths.h"

#include <gtest/gtest.h>

namespace {

using Parts = std::vector<std::wstring>;

bool isFolder(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(FileSystemPathExists, AbsolutePathsOnly) {
    TempFolder temp;
    writeBytes(temp / L"file.txt", "x");
    EXPECT_TRUE(pathExists(temp / L"file.txt"));
    EXPECT_TRUE(pathExists(temp.path()));
    EXPECT_FALSE(pathExists(temp / L"other.txt"));
    EXPECT_FALSE(pathExists(L""));

    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(temp.path().c_str()));
    bool relative = pathExists(L"file.txt");
    bool found = entryExists(L"file.txt");
    SetCurrentDirectoryW(previous);
    EXPECT_FALSE(relative);
    EXPECT_TRUE(found);
}

TEST(FileSystemEnsureParentFolders, CreatesEveryFolderButNotTheFile) {
    TempFolder temp;
    EXPECT_EQ(ensureParentFolders(temp / L"logs\\app\\out.txt"), 0u);
    EXPECT_TRUE(isFolder(temp / L"logs"));
    EXPECT_TRUE(isFolder(temp / L"logs\\app"));
    EXPECT_FALSE(fileExists(temp / L"logs\\app\\out.txt"));

    // Once more over existing folders, and with adjacent backslashes.
    EXPECT_EQ(ensureParentFolders(temp / L"logs\\app\\out.txt"), 0u);
    EXPECT_EQ(ensureParentFolders(temp / L"logs\\\\deep\\out.txt"), 0u);
    EXPECT_TRUE(isFolder(temp / L"logs\\deep"));

    writeBytes(temp / L"present.txt", "x");
    EXPECT_EQ(ensureParentFolders(temp / L"present.txt"), 0u);
    EXPECT_EQ(ensureParentFolders(L""), 0u);
    EXPECT_EQ(ensureParentFolders(L"out.txt"), 0u);
}

TEST(FileSystemEnsureParentFolders, LongPathPrefix) {
    TempFolder temp;
    EXPECT_EQ(splitPathForCreation(L"\\\\?\\C:\\a\\b\\f.txt"), (Parts{L"\\\\?\\C:", L"a", L"b", L"f.txt"}));
    EXPECT_EQ(ensureParentFolders(L"\\\\?\\" + temp.path() + L"\\a\\b\\f.txt"), 0u);
    EXPECT_TRUE(isFolder(temp / L"a\\b"));
}

TEST(FileSystemEnsureParentFolders, UncShapedPathIgnoresItsRootFailures) {
    TempFolder temp;
    // \\.\C:\... is a UNC-shaped path on the local machine: "\\." is its root and "C:" cannot be created.
    std::wstring device = L"\\\\.\\" + temp.path() + L"\\unc\\deeper\\f.txt";
    Parts parts = splitPathForCreation(device);
    ASSERT_GE(parts.size(), 3u);
    EXPECT_EQ(parts[0], L"\\\\.");
    EXPECT_EQ(parts[1], temp.path().substr(0, 2));
    EXPECT_EQ(ensureParentFolders(device), 0u);
    EXPECT_TRUE(isFolder(temp / L"unc\\deeper"));
    EXPECT_EQ(splitPathForCreation(L"\\\\server\\share\\logs\\out.txt"),
              (Parts{L"\\\\server", L"share", L"logs", L"out.txt"}));
}

TEST(FileSystemEnsureParentFolders, FailureRemovesTheFolderJustCreatedAboveIt) {
    TempFolder temp;
    DWORD error = ensureParentFolders(temp / L"made\\bad|name\\out.txt");
    EXPECT_NE(error, 0u);
    EXPECT_NE(error, static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_FALSE(isFolder(temp / L"made")) << "created by this call above the failing step";

    createFolders(temp / L"kept");
    EXPECT_NE(ensureParentFolders(temp / L"kept\\bad|name\\out.txt"), 0u);
    EXPECT_TRUE(isFolder(temp / L"kept")) << "existed before the call";
}

TEST(FileSystemEnsureParentFolders, AFileInTheWayStopsTheFoldersBelowIt) {
    TempFolder temp;
    writeBytes(temp / L"blocker", "x");
    DWORD error = ensureParentFolders(temp / L"blocker\\sub\\out.txt");
    EXPECT_NE(error, 0u);
    EXPECT_FALSE(isFolder(temp / L"blocker\\sub"));
    EXPECT_TRUE(fileExists(temp / L"blocker")) << "a file that was there is never removed";
}

TEST(FileSystemEnsureParentFolders, ASingleLeadingBackslashStartsAtTheRootOfTheCurrentDrive) {
    TempFolder temp;
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(temp.path().c_str()));
    DWORD result = ensureParentFolders(temp.path().substr(2) + L"\\logs\\app\\out.txt");
    SetCurrentDirectoryW(previous);
    EXPECT_EQ(result, 0u);
    EXPECT_TRUE(isFolder(temp / L"logs\\app"));
}

TEST(FileSystemEnsureParentFolders, RelativePathTakesItsFirstFolderAsRoot) {
    TempFolder temp;
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(temp.path().c_str()));
    DWORD missingRoot = ensureParentFolders(L"a\\b\\out.txt");
    createFolders(temp / L"a");
    DWORD presentRoot = ensureParentFolders(L"a\\b\\out.txt");
    SetCurrentDirectoryW(previous);
    EXPECT_EQ(missingRoot, static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(presentRoot, 0u);
    EXPECT_TRUE(isFolder(temp / L"a\\b"));
}

} // namespace
