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
    TestProcess process(tool, quoted(tool) + L" " + arguments);
    process.waitForExit();
    return process.exitCode();
}

std::wstring versionText(const std::vector<BYTE>& info, const std::wstring& name) {
    wchar_t* text = nullptr;
    UINT length = 0;
    const std::wstring path = L"\\StringFileInfo\\040904B0\\" + name;
    return VerQueryValueW(info.data(), path.c_str(), reinterpret_cast<void**>(&text), &length) ? text : L"(absent)";
}

std::wstring fixedVersions(const std::vector<BYTE>& info) {
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length))
        return L"(absent)";
    auto dotted = [](DWORD high, DWORD low) {
        return std::to_wstring(HIWORD(high)) + L"." + std::to_wstring(LOWORD(high)) + L"." +
               std::to_wstring(HIWORD(low)) + L"." + std::to_wstring(LOWORD(low));
    };
    return dotted(fixed->dwFileVersionMS, fixed->dwFileVersionLS) + L" " +
           dotted(fixed->dwProductVersionMS, fixed->dwProductVersionLS);
}

// The middle pixel (0xRRGGBB) of the icon Windows draws from group 1 at the size, and that icon's width.
std::pair<uint32_t, LONG> iconAtSize(HMODULE module, int size) {
    HICON icon = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, 0));
    ICONINFO info = {};
    if (!icon || !GetIconInfo(icon, &info))
        return {0, 0};
    UniqueBitmap colour(info.hbmColor), mask(info.hbmMask);
    DestroyIcon(icon);
    BITMAP bitmap = {};
    GetObjectW(colour.get(), sizeof bitmap, &bitmap);
    BITMAPINFO format = {};
    format.bmiHeader = {sizeof(BITMAPINFOHEADER), bitmap.bmWidth, -bitmap.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<uint32_t> pixels(size_t(bitmap.bmWidth) * bitmap.bmHeight);
    UniqueScreenDc screen(GetDC(nullptr));
    GetDIBits(screen.get(), colour.get(), 0, bitmap.bmHeight, pixels.data(), &format, DIB_RGB_COLORS);
    return {pixels[pixels.size() / 2 + bitmap.bmWidth / 2] & 0xFFFFFF, bitmap.bmWidth};
}

std::string resourceText(HMODULE module, int name, const wchar_t* type) {
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(name), type);
    const char* data = resource ? static_cast<const char*>(LockResource(LoadResource(module, resource))) : nullptr;
    return data ? std::string(data, SizeofResource(module, resource)) : "(absent)";
}

// The build brands the 64-bit launcher with the tool for the build machine; the Windows tool brands a 32-bit
// library without resources. Windows reads the same from both.
TEST(BrandedExe, WindowsReadsWhatWasWritten) {
    TempFolder temp;
    ASSERT_EQ(brand(L"--icon " + quoted(fixture(L"brand.ico")) + L" --settings " + quoted(fixture(L"brand.ini")) +
                    L" --file-version 2.1.0.7 --product-version=2.1 --product-name \"Example Editor\" --company "
                    L"\"Example Ltd\" --copyright \"\x00A9 2026 Example Ltd\" --execution-level highestAvailable " +
                    quoted(x86FixtureLibraryPath()) + L" " + quoted(temp / L"editor.exe")),
              0u);
    for (const std::wstring& path : {testProgramFolder() + L"\\branded\\editor.exe", temp / L"editor.exe"}) {
        SCOPED_TRACE(narrow(path));
        std::vector<BYTE> info(GetFileVersionInfoSizeW(path.c_str(), nullptr));
        ASSERT_TRUE(!info.empty() && GetFileVersionInfoW(path.c_str(), 0, DWORD(info.size()), info.data()));
        EXPECT_EQ(fixedVersions(info), L"2.1.0.7 2.1.0.0");
        const std::pair<const wchar_t*, const wchar_t*> texts[] = {
            {L"CompanyName", L"Example Ltd"},     {L"FileDescription", L"Example Editor"},
            {L"FileVersion", L"2.1.0.7"},         {L"LegalCopyright", L"\x00A9 2026 Example Ltd"},
            {L"OriginalFilename", L"editor.exe"}, {L"ProductName", L"Example Editor"},
            {L"ProductVersion", L"2.1"}};
        for (const auto& text : texts)
            EXPECT_EQ(versionText(info, text.first), text.second) << narrow(text.first);

        EXPECT_EQ(ExtractIconExW(path.c_str(), -1, nullptr, nullptr, 0), 1u) << "one icon group";
        UniqueModule module(LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE));
        ASSERT_TRUE(module);
        const std::pair<int, uint32_t> sizes[] = {{16, 0xFF0000}, {32, 0x00FF00}, {48, 0x0000FF}, {256, 0xFFFF00}};
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
