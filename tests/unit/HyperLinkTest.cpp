// The link control on a static text: its colours from the user's browser settings (read from a test key that stands
// in for HKEY_CURRENT_USER), where it can be clicked, and what it opens.
#include "RuntimeFixtures.h"
#include "TestFiles.h"
#include "TestProcess.h"
#include "UiAutomation.h"
#include "support/SelectedObject.h"
#include "ui/HyperLink_win.h"

#include <gtest/gtest.h>
#include <sddl.h>

#include <map>
#include <tuple>

namespace {

const wchar_t testRoot[] = L"Software\\KoruTest\\HyperLink";
const COLORREF blue = RGB(0, 0, 255), green = RGB(0, 128, 0), red = RGB(255, 0, 0);

// The colour of those the tests set that the control paints more than a few pixels in, or CLR_INVALID.
COLORREF linkColour(HWND control) {
    RECT client;
    GetClientRect(control, &client);
    UniqueScreenDc screen(GetDC(nullptr));
    UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), client.right, client.bottom));
    SelectedObject selected(memory.get(), bitmap.get());
    SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.get()), PRF_CLIENT);
    std::map<COLORREF, int> pixels;
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x)
            ++pixels[GetPixel(memory.get(), x, y)];
    for (COLORREF colour : {green, blue, red})
        if (pixels[colour] > 5)
            return colour;
    return CLR_INVALID;
}

bool setSecurity(HKEY key, const wchar_t* sddl) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor, nullptr))
        return false;
    bool set = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor) == ERROR_SUCCESS;
    LocalFree(descriptor);
    return set;
}

class HyperLink : public ::testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, testRoot);
        std::wstring settings = std::wstring(testRoot) + L"\\Software\\Microsoft\\Internet Explorer\\Settings";
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, settings.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &colors_,
                                  nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, testRoot, 0, KEY_ALL_ACCESS, &root_), ERROR_SUCCESS);
        ASSERT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, root_), ERROR_SUCCESS);
        // Shown without being activated, the window closes at once under a window manager that waits otherwise.
        host_ = CreateWindowExW(0, L"#32770", L"", WS_POPUP, 0, 0, 400, 40, nullptr, nullptr, nullptr, nullptr);
        ShowWindow(host_, SW_SHOWNOACTIVATE);
    }
    void TearDown() override {
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        setSecurity(colors_, L"D:(A;;KA;;;WD)"); // a test may have locked the key; the open handle still may unlock it
        RegCloseKey(colors_);
        RegCloseKey(root_);
        RegDeleteTreeW(HKEY_CURRENT_USER, testRoot);
        DestroyWindow(host_);
    }
    void setColor(const wchar_t* name, const std::wstring& text, DWORD type = REG_SZ) {
        RegSetValueExW(colors_, name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                       DWORD((text.size() + 1) * sizeof(wchar_t)));
    }
    // A static text much wider than its label, made a link.
    HWND attachLink(HyperLinkControl& link) {
        HWND label = CreateWindowExW(0, L"STATIC", L"Download", WS_CHILD | WS_VISIBLE, 5, 5, 380, 20, host_, nullptr,
                                     nullptr, nullptr);
        EXPECT_TRUE(link.attach(label));
        return label;
    }
    // The host's messages, keyboard handling included, for a while.
    void pump(DWORD milliseconds) {
        for (DWORD start = GetTickCount(); GetTickCount() - start < milliseconds; Sleep(10)) {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (!IsDialogMessageW(host_, &message)) {
                    TranslateMessage(&message);
                    DispatchMessageW(&message);
                }
            }
        }
    }

    HKEY root_ = nullptr;
    HKEY colors_ = nullptr;
    HWND host_ = nullptr;
};

// What the text says is the portable parser's concern; here, what is read: a string of at most 11 characters, with
// read access only, as on a locked-down profile where nobody may change the settings.
TEST_F(HyperLink, AnchorColorIsReadOnlyAsAShortStringWithReadAccess) {
    const std::tuple<const wchar_t*, DWORD, COLORREF> cases[] = {
        {L"000,128,0000", REG_SZ, blue}, {L"0,128,0", REG_BINARY, blue}, {L"00,128,0000", REG_SZ, green}};
    for (const auto& [text, type, colour] : cases) {
        setColor(L"Anchor Color", text, type);
        HyperLinkControl link;
        EXPECT_EQ(linkColour(attachLink(link)), colour) << narrow(text) << " of type " << type;
    }
    ASSERT_TRUE(setSecurity(colors_, L"D:P(A;;KR;;;WD)"));
    HyperLinkControl link;
    EXPECT_EQ(linkColour(attachLink(link)), green);
}

// The target is the stand-in companion, which writes its command line to a file when the shell starts it.
TEST_F(HyperLink, OnlyTheTextOpensTheTargetThenItShowsVisited) {
    TempFolder temp;
    std::wstring opened = temp / L"opened.txt";
    ScopedEnvironment record(L"KORU_TEST_COMPANION_RECORD", opened);
    auto wasOpened = [&](DWORD waitMs) {
        for (DWORD start = GetTickCount(); !fileExists(opened) && GetTickCount() - start < waitMs;)
            pump(50);
        pump(100); // the companion writes once, then ends
        return DeleteFileW(opened.c_str()) != FALSE;
    };
    setColor(L"Anchor Color Visited", L"255,0,0");
    HyperLinkControl link;
    HWND label = attachLink(link);
    link.setTarget(companionProbePath());
    for (int x : {370, 3}) { // the blank area right of the text, then the text
        PostMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 3));
        PostMessageW(label, WM_LBUTTONUP, 0, MAKELPARAM(x, 3));
        EXPECT_EQ(wasOpened(x == 3 ? 10000 : 1000), x == 3) << x;
    }
    EXPECT_EQ(linkColour(label), red) << "visited";
    EXPECT_EQ(GetFocus(), label) << "a click gives the link the focus";
    for (WORD key : {VK_RETURN, VK_SPACE}) {
        pressKey(label, key);
        EXPECT_TRUE(wasOpened(10000)) << "key " << key;
    }
}

} // namespace
