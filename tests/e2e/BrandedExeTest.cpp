// Branded launchers as Windows sees them: the version information Explorer shows, the icon the shell draws at
// each size, the built-in settings and manifest the launcher and the loader read, and a start.
#include "RuntimeFixtures.h"
#include "StandInRecord.h"
#include "support/UniqueResource.h"

#include <gtest/gtest.h>
#include <imagehlp.h>
#include <shellapi.h>

namespace {

std::wstring fixture(const wchar_t* name) { return testProgramFolder() + L"\\fixtures\\" + name; }

// The Windows build of the branding tool; its exit code (`killed` when it had to be killed).
DWORD brand(const std::wstring& arguments) {
    const std::wstring tool = testProgramFolder() + L"\\koru-brand.exe";
    return TestProcess(tool, quoted(tool) + L" " + arguments).exitCodeAfterWait();
}

// A text of the version information, or for "\\" the file and product versions.
std::wstring versionValue(const std::vector<BYTE>& info, const std::wstring& name) {
    void* value = nullptr;
    UINT length = 0;
    const std::wstring path = name == L"\\" ? name : L"\\StringFileInfo\\040904B0\\" + name;
    if (!VerQueryValueW(info.data(), path.c_str(), &value, &length))
        return L"(absent)";
    if (name != L"\\")
        return static_cast<const wchar_t*>(value);
    const DWORD* versions = &static_cast<const VS_FIXEDFILEINFO*>(value)->dwFileVersionMS;
    wchar_t text[64];
    swprintf(text, 64, L"%u.%u.%u.%u %u.%u.%u.%u", HIWORD(versions[0]), LOWORD(versions[0]), HIWORD(versions[1]),
             LOWORD(versions[1]), HIWORD(versions[2]), LOWORD(versions[2]), HIWORD(versions[3]), LOWORD(versions[3]));
    return text;
}

// The middle pixel of the icon Windows draws from group 1 at the size, and that icon's width.
std::pair<COLORREF, LONG> iconAtSize(HMODULE module, int size) {
    HICON icon = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, 0));
    ICONINFO info = {};
    if (!icon || !GetIconInfo(icon, &info))
        return {0, 0};
    UniqueBitmap colour(info.hbmColor), mask(info.hbmMask);
    DestroyIcon(icon);
    BITMAP bitmap = {};
    GetObjectW(colour.get(), sizeof bitmap, &bitmap);
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    SelectObject(dc.get(), colour.get());
    return {GetPixel(dc.get(), size / 2, size / 2), bitmap.bmWidth};
}

std::string resourceText(HMODULE module, int name, const wchar_t* type) {
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(name), type);
    const char* data = resource ? static_cast<const char*>(LockResource(LoadResource(module, resource))) : nullptr;
    return data ? std::string(data, SizeofResource(module, resource)) : "(absent)";
}

// The build brands the 64-bit launcher and a 32-bit library without resources, with the same inputs.
TEST(BrandedExe, WindowsReadsWhatWasWritten) {
    for (const wchar_t* folder : {L"\\branded\\", L"\\branded32\\"}) {
        const std::wstring path = testProgramFolder() + folder + L"editor.exe";
        SCOPED_TRACE(narrow(path));
        std::vector<BYTE> info(GetFileVersionInfoSizeW(path.c_str(), nullptr));
        ASSERT_TRUE(!info.empty() && GetFileVersionInfoW(path.c_str(), 0, DWORD(info.size()), info.data()));
        const std::pair<const wchar_t*, const wchar_t*> texts[] = {{L"\\", L"2.1.0.7 2.1.0.0"},
                                                                   {L"CompanyName", L"Example Ltd"},
                                                                   {L"FileDescription", L"Example Editor"},
                                                                   {L"FileVersion", L"2.1.0.7"},
                                                                   {L"LegalCopyright", L"\x00A9 2026 Example Ltd"},
                                                                   {L"OriginalFilename", L"editor.exe"},
                                                                   {L"ProductName", L"Example Editor"},
                                                                   {L"ProductVersion", L"2.1"}};
        for (const auto& text : texts)
            EXPECT_EQ(versionValue(info, text.first), text.second) << narrow(text.first);

        EXPECT_EQ(ExtractIconExW(path.c_str(), -1, nullptr, nullptr, 0), 1u) << "one icon group";
        UniqueModule module(LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE));
        ASSERT_TRUE(module);
        const std::pair<int, COLORREF> sizes[] = {
            {16, RGB(255, 0, 0)}, {32, RGB(0, 255, 0)}, {48, RGB(0, 0, 255)}, {256, RGB(255, 255, 0)}};
        for (const auto& size : sizes)
            EXPECT_EQ(iconAtSize(module.get(), size.first), std::make_pair(size.second, LONG(size.first)));
        EXPECT_EQ(resourceText(module.get(), 300, RT_RCDATA),
                  "[Java Runtime Environment]\r\nVirtual Machine Parameters=-Dbranded=yes\r\n");
        EXPECT_NE(resourceText(module.get(), 1, RT_MANIFEST).find("level=\"highestAvailable\""), std::string::npos);

        DWORD header = 0, computed = 1;
        EXPECT_EQ(MapFileAndCheckSumW(path.c_str(), &header, &computed), DWORD(CHECKSUM_SUCCESS));
        EXPECT_EQ(header, computed);
    }
}

// Branded in place, the launcher starts the application with the settings built into it.
TEST(BrandedExe, StartsWithItsBuiltInSettings) {
    StandInLaunch launch(L"");
    const std::wstring exe = quoted(launch.app().exePath());
    ASSERT_EQ(brand(L"--settings " + quoted(fixture(L"brand.ini")) + L" --icon " + quoted(fixture(L"brand.ico")) +
                    L" --file-version 3 " + exe + L" " + exe),
              0u);
    ASSERT_EQ(launch.run(), 0u);
    const Lines options = launch.record().values("option");
    EXPECT_NE(std::find(options.begin(), options.end(), "-Dbranded=yes"), options.end());
}

} // namespace
