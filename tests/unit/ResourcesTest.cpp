// The resources of the shipped koru.exe itself: string table, manifest and icon.
#include "Installation.h"
#include "resource.h"
#include "support/UniqueResource.h"

#include <gtest/gtest.h>

namespace {

TEST(LauncherResources, StringTableManifestAndIcon) {
    UniqueModule image(LoadLibraryExW(builtLauncherPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(image);
    auto text = [&](UINT id) {
        const wchar_t* start = nullptr;
        int length = LoadStringW(image.get(), id, reinterpret_cast<LPWSTR>(&start), 0);
        return std::wstring(start ? start : L"", length > 0 ? size_t(length) : 0);
    };
    // 202 to 230 each hold a text, and the blocks that hold them nothing else.
    for (UINT id = 192; id < 240; ++id)
        EXPECT_EQ(text(id).empty(), id < 202 || id > 230) << id;

    HRSRC resource = FindResourceW(image.get(), MAKEINTRESOURCEW(1), RT_MANIFEST);
    ASSERT_NE(resource, nullptr);
    const char* data = static_cast<const char*>(LockResource(LoadResource(image.get(), resource)));
    std::string manifest(data, SizeofResource(image.get(), resource));
    for (const char* needed : {">true</dpiAware>", "Microsoft.Windows.Common-Controls", "level=\"asInvoker\""})
        EXPECT_NE(manifest.find(needed), std::string::npos) << needed;
    // Windows starts no exe whose manifest names another processor than its own.
    EXPECT_NE(manifest.find(sizeof(void*) == 8 ? "=\"amd64\"" : "=\"x86\""), std::string::npos);
    EXPECT_NE(FindResourceW(image.get(), MAKEINTRESOURCEW(IDI_APPLICATION_ICON), RT_GROUP_ICON), nullptr);
    EXPECT_EQ(FindResourceW(image.get(), MAKEINTRESOURCEW(IDR_BUILTIN_SETTINGS), RT_RCDATA), nullptr);
}

} // namespace
