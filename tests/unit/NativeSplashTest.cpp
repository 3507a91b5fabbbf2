// The image path as the runtime's splash library takes it: 8-bit text that must name the same file.
#include "TestFiles.h"
#include "splash/NativeSplash.h"

#include <gtest/gtest.h>

namespace {

std::string readThroughAnsiName(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "(not opened)";
    char buffer[64] = {};
    DWORD read = 0;
    ReadFile(file, buffer, sizeof(buffer), &read, nullptr);
    CloseHandle(file);
    return std::string(buffer, read);
}

struct NativeSplashImagePath : ::testing::Test {
    // The launcher converts with the thread's code page after fixing it to the system's, as the library's file
    // calls do.
    LCID previous = GetThreadLocale();
    NativeSplashImagePath() { SetThreadLocale(GetSystemDefaultLCID()); }
    ~NativeSplashImagePath() override { SetThreadLocale(previous); }
    TempFolder temp;
};

TEST_F(NativeSplashImagePath, EveryFormNamesTheSameFile) {
    // Plain text, a CJK folder and an emoji: the last two lie outside the code page of most systems.
    const wchar_t* names[] = {L"plain.bmp", L"\x4E2D\x6587\\splash.bmp", L"\xD83D\xDE00 splash.bmp"};
    for (const wchar_t* name : names) {
        std::wstring path = temp / name;
        createFolders(path.substr(0, path.rfind(L'\\')));
        writeBytes(path, narrow(name));
        std::string eightBit;
        ASSERT_TRUE(eightBitImagePath(path, eightBit)) << narrow(name);
        EXPECT_EQ(readThroughAnsiName(eightBit), narrow(name)) << eightBit;
    }
}

TEST_F(NativeSplashImagePath, NoFormForAMissingFileTheCodePageCannotHold) {
    if (GetACP() == CP_UTF8)
        GTEST_SKIP() << "a UTF-8 code page holds every path";
    std::string eightBit;
    EXPECT_FALSE(eightBitImagePath(temp / L"\xD83D\xDE00.bmp", eightBit)) << "a missing file has no short name";
    ASSERT_TRUE(eightBitImagePath(temp / L"missing.bmp", eightBit));
    EXPECT_EQ(eightBit, narrow(temp / L"missing.bmp")) << "a path the code page holds is passed as written";
}

} // namespace
