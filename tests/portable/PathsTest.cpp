#include "support/Paths.h"

#include <gtest/gtest.h>

namespace {

using Parts = std::vector<std::wstring>;

TEST(Paths, KindsAndComponents) {
    EXPECT_TRUE(hasLongPathPrefix(L"\\\\?\\C:\\x"));
    EXPECT_FALSE(hasLongPathPrefix(L"\\\\?") || hasLongPathPrefix(L"\\\\.\\x"));
    EXPECT_TRUE(isNetworkPath(L"\\\\server\\share") && isNetworkPath(L"\\\\?\\unc\\server\\share"));
    EXPECT_FALSE(isNetworkPath(L"\\\\?\\C:\\x") || isNetworkPath(L"\\\\"));
    EXPECT_TRUE(isRootedAtCurrentDrive(L"\\") && isRootedAtCurrentDrive(L"\\logs"));
    EXPECT_FALSE(isRootedAtCurrentDrive(L"") || isRootedAtCurrentDrive(L"\\\\srv") || isRootedAtCurrentDrive(L"a\\"));
    for (const wchar_t* relative : {L"", L"jre", L"C:jre", L"C:"})
        EXPECT_TRUE(isRelativePath(relative) && !isFullPath(relative)) << relative;
    for (const wchar_t* rooted : {L"\\jre", L"/jre", L"\\\\.\\pipe\\x", L"\\\\?\\GLOBALROOT\\x"})
        EXPECT_FALSE(isRelativePath(rooted) || isFullPath(rooted)) << rooted;
    for (const wchar_t* full : {L"C:\\jre", L"C:/jre", L"\\\\srv\\s\\jre", L"\\\\?\\C:\\jre", L"\\\\?\\UNC\\srv\\s"})
        EXPECT_TRUE(!isRelativePath(full) && isFullPath(full)) << full;
    EXPECT_EQ(parentFolder(L"C:\\Java\\jre\\bin\\server\\jvm.dll", 3) + L"|" + parentFolder(L"a\\b", 3),
              L"C:\\Java\\jre|a");
    EXPECT_EQ(folderWithBackslash(L"C:\\App\\x.exe") + L"|" + folderWithBackslash(L"x.exe"), L"C:\\App\\|");
    EXPECT_EQ(fileNameOf(L"C:\\App\\x.exe") + L"|" + fileNameOf(L"x.exe"), L"x.exe|x.exe");
    EXPECT_EQ(withTrailingBackslash(L"C:\\jre") + L"|" + withTrailingBackslash(L"C:\\jre\\"), L"C:\\jre\\|C:\\jre\\");
    // A drive's root keeps its backslash: "E:" alone is the current folder of drive E.
    EXPECT_EQ(folderAsCurrentDirectory(L"C:\\App\\app.exe"), L"C:\\App");
    EXPECT_EQ(folderAsCurrentDirectory(L"E:\\app.exe"), L"E:\\");
    EXPECT_EQ(folderAsCurrentDirectory(L"\\\\?\\E:\\app.exe"), L"\\\\?\\E:\\");
    EXPECT_EQ(folderAsCurrentDirectory(L"\\app.exe") + folderAsCurrentDirectory(L"app.exe"), L"");
}

TEST(Paths, SplitForCreationGivesTheRootThenEachComponent) {
    EXPECT_EQ(splitPathForCreation(L"C:\\logs\\app\\out.txt"), (Parts{L"C:", L"logs", L"app", L"out.txt"}));
    EXPECT_EQ(splitPathForCreation(L"\\\\?\\C:\\a\\f.txt"), (Parts{L"\\\\?\\C:", L"a", L"f.txt"}));
    EXPECT_EQ(splitPathForCreation(L"\\\\server\\share\\f"), (Parts{L"\\\\server", L"share", L"f"}));
    EXPECT_EQ(splitPathForCreation(L"\\\\?\\UNC\\srv\\share\\f"), (Parts{L"\\\\?\\UNC\\srv", L"share", L"f"}));
    EXPECT_EQ(splitPathForCreation(L"a\\b\\out.txt"), (Parts{L"a", L"b", L"out.txt"}));
    EXPECT_EQ(splitPathForCreation(L"C:\\a\\\\b\\"), (Parts{L"C:", L"a", L"", L"b"}));
    EXPECT_EQ(splitPathForCreation(L"\\top\\f"), (Parts{L"top", L"f"}));
    EXPECT_EQ(splitPathForCreation(L"name"), (Parts{L"name"}));
}

} // namespace
