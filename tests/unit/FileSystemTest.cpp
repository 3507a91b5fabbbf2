// Folder creation on real folders.
#include "TestFiles.h"
#include "support/FileSystem.h"

#include <gtest/gtest.h>

namespace {

TEST(FileSystem, EnsureParentFoldersCreatesEveryFolderAndUndoesOnlyItsOwnLastStep) {
    TempFolder temp;
    auto isFolder = [&](const std::wstring& path) {
        DWORD attributes = GetFileAttributesW((temp / path).c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    };
    EXPECT_EQ(ensureParentFolders(temp / L"logs\\\\app\\out.txt"), 0u);
    EXPECT_EQ(ensureParentFolders(temp / L"logs\\app\\out.txt"), 0u) << "over folders that exist";
    EXPECT_TRUE(isFolder(L"logs\\app") && !fileExists(temp / L"logs\\app\\out.txt"));
    EXPECT_EQ(ensureParentFolders(L"\\\\?\\" + temp.path() + L"\\long\\f.txt"), 0u);
    // \\.\C:\... is UNC-shaped: "C:" below its root cannot be created, the folders after it can.
    EXPECT_EQ(ensureParentFolders(L"\\\\.\\" + temp.path() + L"\\unc\\f.txt"), 0u);
    EXPECT_TRUE(isFolder(L"long") && isFolder(L"unc"));

    EXPECT_NE(ensureParentFolders(temp / L"made\\bad|name\\out.txt"), 0u);
    EXPECT_NE(ensureParentFolders(temp / L"logs\\bad|name\\out.txt"), 0u);
    writeBytes(temp / L"blocker", "x");
    EXPECT_NE(ensureParentFolders(temp / L"blocker\\sub\\out.txt"), 0u);
    EXPECT_FALSE(isFolder(L"made")) << "made by the failing call";
    EXPECT_TRUE(isFolder(L"logs") && fileExists(temp / L"blocker")) << "there before it";
}

// The first folder of a relative path is taken as its root and is never created; a path with one leading
// backslash starts at the root of the current drive.
TEST(FileSystem, RelativePathsStartAtTheirFirstFolder) {
    TempFolder temp;
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(temp.path().c_str()));
    DWORD missingRoot = ensureParentFolders(L"a\\b\\out.txt");
    createFolders(temp / L"a");
    DWORD presentRoot = ensureParentFolders(L"a\\b\\out.txt");
    DWORD driveRoot = ensureParentFolders(temp.path().substr(2) + L"\\logs\\app\\out.txt");
    SetCurrentDirectoryW(previous);
    EXPECT_EQ(missingRoot, DWORD(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(presentRoot, 0u);
    EXPECT_EQ(driveRoot, 0u);
    EXPECT_NE(GetFileAttributesW((temp / L"logs\\app").c_str()), INVALID_FILE_ATTRIBUTES);
}

} // namespace
