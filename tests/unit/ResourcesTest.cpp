// The resources of the shipped koru.exe itself: string table and manifest.
#include "Installation.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <map>

namespace {

struct LauncherImage : ::testing::Test {
    HMODULE module = LoadLibraryExW(builtLauncherPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ~LauncherImage() override {
        if (module)
            FreeLibrary(module);
    }
    std::wstring string(UINT id) {
        const wchar_t* text = nullptr;
        int length = LoadStringW(module, id, reinterpret_cast<LPWSTR>(&text), 0);
        return length > 0 ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
    }
};

TEST_F(LauncherImage, StringTableHoldsExactlyTheTexts) {
    ASSERT_NE(module, nullptr);
    const std::map<UINT, std::wstring> expected = {
        {202, L"Windows exception: %s (errno = %d).\n"},
        {203, L"JNI exception: %s\nReason: %s.\n"},
        {204, L"COM error: %s (errno = %d).\n"},
        {205, L"JNI exception: %s.\n"},
        {206, L"The Java Runtime Environment (JRE) was not found. Please  download and install a JRE with a server JVM "
              L"(%s) from:"},
        {207, L"The Java Runtime Environment (JRE) was not found. Please  download and install a JRE (%s) from:"},
        {208, L"failed to get the module path"},
        {209, L"Java Class Path was not specified in INI file."},
        {210, L"Main class was not specified in INI file."},
        {211, L"Failed to load Main Class: %s.\n"},
        {212, L"cannot find CreateJavaVM JNI"},
        {213, L"failed to create the Java VM"},
        {214, L"Browse for JRE folder"},
        {215, L"Could not find the main class %s.\n"},
        {216, L"No main method found in specified class.\n"},
        {217, L"latest version"},
        {218, L"maximum version %s"},
        {219, L"minimum version %s"},
        {220, L"version %s is required"},
        {221, L"version between %s and %s"},
        {222, L"Failed to load Java VM library: %s (errno = %d).\n"},
        {223, L"failed to initialize"},
        {224, L"failed to initialize module"},
        {225, L"unknown"},
        {226, L"thread detached from VM"},
        {227, L"JNI version error"},
        {228, L"not enough memory"},
        {229, L"VM already created"},
        {230, L"invalid arguments"},
    };
    EXPECT_EQ(expected.size(), 29u);
    for (const auto& entry : expected)
        EXPECT_EQ(string(entry.first), entry.second) << entry.first;
    // No other entries: the neighbours of the range, and everything else in the blocks that hold it, are empty.
    for (UINT id = 192; id < 240; ++id) {
        if (expected.count(id) == 0) {
            EXPECT_EQ(string(id), L"") << id;
        }
    }
}

TEST_F(LauncherImage, StringTableIsEnglishUnitedStates) {
    ASSERT_NE(module, nullptr);
    for (UINT block : {202u / 16 + 1, 230u / 16 + 1}) {
        EXPECT_NE(
            FindResourceExW(module, RT_STRING, MAKEINTRESOURCEW(block), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)),
            nullptr);
    }
}

TEST_F(LauncherImage, ManifestDeclaresWhatTheLauncherNeeds) {
    ASSERT_NE(module, nullptr);
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(1), RT_MANIFEST);
    ASSERT_NE(resource, nullptr);
    const char* data = static_cast<const char*>(LockResource(LoadResource(module, resource)));
    std::string manifest(data, SizeofResource(module, resource));
    for (const char* needed : {"{e2011457-1546-43c5-a5fe-008deee3d3f0}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
                               "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "<dpiAware", ">true</dpiAware>",
                               "Microsoft.Windows.Common-Controls", "version=\"6.0.0.0\"", "level=\"asInvoker\""})
        EXPECT_NE(manifest.find(needed), std::string::npos) << needed;
    EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(IDI_APPLICATION_ICON), RT_GROUP_ICON), nullptr);
    EXPECT_EQ(FindResourceW(module, MAKEINTRESOURCEW(IDR_BUILTIN_SETTINGS), RT_RCDATA), nullptr);
}

} // namespace
