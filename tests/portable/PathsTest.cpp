#include "support/Paths.h"

#include <gtest/gtest.h>

namespace {

using Parts = std::vector<std::wstring>;

TEST(PathKinds, LongPrefixAndUnc) {
    EXPECT_TRUE(hasLongPathPrefix(L"\\\\?\\C:\\x"));
    EXPECT_FALSE(hasLongPathPrefix(L"\\\\?"));
    EXPECT_FALSE(hasLongPathPrefix(L"\\\\.\\x"));
    EXPECT_TRUE(isUncPath(L"\\\\server\\share"));
    EXPECT_FALSE(isUncPath(L"\\\\?\\C:\\"));
    EXPECT_FALSE(isUncPath(L"\\\\"));
    EXPECT_FALSE(isUncPath(L"C:\\x"));
    EXPECT_TRUE(isNetworkPath(L"\\\\server\\share"));
    EXPECT_TRUE(isNetworkPath(L"\\\\?\\unc\\server\\share"));
    EXPECT_FALSE(isNetworkPath(L"\\\\?\\C:\\x"));
}

TEST(FolderAsCurrentDirectory, KeepsTheBackslashOfADriveRoot) {
    EXPECT_EQ(folderAsCurrentDirectory(L"C:\\App\\app.exe"), L"C:\\App");
    EXPECT_EQ(folderAsCurrentDirectory(L"E:\\app.exe"), L"E:\\");
    EXPECT_EQ(folderAsCurrentDirectory(L"\\\\?\\E:\\app.exe"), L"\\\\?\\E:\\");
    EXPECT_EQ(folderAsCurrentDirectory(L"\\\\server\\share\\app.exe"), L"\\\\server\\share");
    EXPECT_EQ(folderAsCurrentDirectory(L"\\app.exe"), L"");
    EXPECT_EQ(folderAsCurrentDirectory(L"app.exe"), L"");
}

TEST(ParentFolder, CutsComponents) {
    EXPECT_EQ(parentFolder(L"C:\\Java\\jre\\bin\\server\\jvm.dll", 2), L"C:\\Java\\jre\\bin");
    EXPECT_EQ(parentFolder(L"C:\\Java\\jre\\bin\\server\\jvm.dll", 3), L"C:\\Java\\jre");
    EXPECT_EQ(parentFolder(L"jvm.dll", 2), L"jvm.dll");
    EXPECT_EQ(parentFolder(L"a\\b", 3), L"a");
    EXPECT_EQ(parentFolder(L"C:\\x\\", 1), L"C:\\x");
}

TEST(SplitPathForCreation, RootThenComponents) {
    EXPECT_EQ(splitPathForCreation(L"C:\\logs\\app\\out.txt"), (Parts{L"C:", L"logs", L"app", L"out.txt"}));
    EXPECT_EQ(splitPathForCreation(L"C:\\out.txt"), (Parts{L"C:", L"out.txt"}));
    EXPECT_EQ(splitPathForCreation(L"\\\\?\\C:\\a\\b\\f.txt"), (Parts{L"\\\\?\\C:", L"a", L"b", L"f.txt"}));
    EXPECT_EQ(splitPathForCreation(L"\\\\server\\share\\logs\\out.txt"),
              (Parts{L"\\\\server", L"share", L"logs", L"out.txt"}));
    EXPECT_EQ(splitPathForCreation(L"a\\b\\out.txt"), (Parts{L"a", L"b", L"out.txt"}));
    EXPECT_EQ(splitPathForCreation(L"C:\\a\\\\b\\f"), (Parts{L"C:", L"a", L"", L"b", L"f"}));
    EXPECT_EQ(splitPathForCreation(L"C:\\a\\"), (Parts{L"C:", L"a"}));
    EXPECT_EQ(splitPathForCreation(L"\\top\\f"), (Parts{L"top", L"f"}));
    EXPECT_EQ(splitPathForCreation(L"name"), (Parts{L"name"}));
    EXPECT_EQ(splitPathForCreation(L"\\\\?\\UNC\\srv\\share\\f"), (Parts{L"\\\\?\\UNC\\srv", L"share", L"f"}));
}

} // namespace
