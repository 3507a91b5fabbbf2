// The link control on a static text of a small dialog: its colours (from the user's browser settings, read from a
// test key that stands in for HKEY_CURRENT_USER), where it can be clicked, and what it opens.
#include "RuntimeFixtures.h"
#include "TestFiles.h"
#include "TestProcess.h"
#include "ui/HyperLink_win.h"

#include <gtest/gtest.h>
#include <sddl.h>

#include <vector>

namespace {

constexpr int linkId = 100;
const wchar_t testRoot[] = L"Software\\KoruTest\\HyperLink";
const wchar_t colorsKey[] = L"Software\\Microsoft\\Internet Explorer\\Settings";

// A modeless dialog built in memory: one static text 300 x 10 dialog units, and a default OK button. It is shown
// without being activated: a window manager then leaves it alone, and it closes at once.
class LinkDialog {
public:
    explicit LinkDialog(const std::wstring& text) {
        std::vector<WORD> words = dialogTemplate(text);
        dialog_ = CreateDialogIndirectParamW(nullptr, reinterpret_cast<DLGTEMPLATE*>(words.data()), nullptr, proc,
                                             reinterpret_cast<LPARAM>(this));
        ShowWindow(dialog_, SW_SHOWNOACTIVATE);
    }
    ~LinkDialog() { DestroyWindow(dialog_); }

    HWND link() const { return GetDlgItem(dialog_, linkId); }
    int okPresses() const { return okPresses_; }

    // Runs the dialog's messages, keyboard handling included, for a while.
    void pump(DWORD milliseconds = 200) const {
        DWORD start = GetTickCount();
        do {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (!IsDialogMessageW(dialog_, &message)) {
                    TranslateMessage(&message);
                    DispatchMessageW(&message);
                }
            }
            Sleep(10);
        } while (GetTickCount() - start < milliseconds);
    }

private:
    static void align(std::vector<WORD>& words) {
        if (words.size() % 2)
            words.push_back(0);
    }
    static void append(std::vector<WORD>& words, const std::wstring& text) {
        words.insert(words.end(), text.begin(), text.end());
        words.push_back(0);
    }
    static void appendItem(std::vector<WORD>& words, DWORD style, short x, short y, short cx, short cy, WORD id,
                           WORD atom, const std::wstring& text) {
        align(words);
        DLGITEMTEMPLATE item = {style | WS_CHILD | WS_VISIBLE, 0, x, y, cx, cy, id};
        const WORD* raw = reinterpret_cast<const WORD*>(&item);
        words.insert(words.end(), raw, raw + sizeof(item) / sizeof(WORD));
        words.push_back(0xFFFF);
        words.push_back(atom);
        append(words, text);
        words.push_back(0); // no creation data
    }
    static std::vector<WORD> dialogTemplate(const std::wstring& text) {
        std::vector<WORD> words;
        DLGTEMPLATE head = {WS_POPUP | DS_SETFONT, 0, 2, 10, 10, 320, 50};
        const WORD* raw = reinterpret_cast<const WORD*>(&head);
        words.insert(words.end(), raw, raw + sizeof(head) / sizeof(WORD));
        words.push_back(0); // no menu
        words.push_back(0); // the dialog class
        append(words, L"Link");
        words.push_back(8);
        append(words, L"MS Shell Dlg");
        appendItem(words, SS_LEFT, 5, 5, 300, 10, linkId, 0x0082, text);
        appendItem(words, BS_DEFPUSHBUTTON | WS_TABSTOP, 5, 25, 50, 14, IDOK, 0x0080, L"OK");
        return words;
    }
    static INT_PTR CALLBACK proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_INITDIALOG) {
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            return FALSE; // focusing a control would activate the dialog
        }
        auto* self = reinterpret_cast<LinkDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
        if (message == WM_COMMAND && LOWORD(wParam) == IDOK && self)
            ++self->okPresses_;
        return FALSE;
    }

    HWND dialog_ = nullptr;
    int okPresses_ = 0;
};

// What the control paints, read from a bitmap it painted into: the pixels of one colour.
int pixelsOf(HWND control, COLORREF colour) {
    RECT client;
    GetClientRect(control, &client);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ old = SelectObject(memory, bitmap);
    SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    int count = 0;
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x)
            count += GetPixel(memory, x, y) == colour;
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return count;
}

void click(HWND control, int x, int y) {
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

const COLORREF defaultBlue = RGB(0, 0, 255);

class HyperLink : public ::testing::Test {
protected:
    // The browser settings of a user whose HKEY_CURRENT_USER is the test's own key.
    void SetUp() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, testRoot);
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, testRoot, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &root_, nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegCreateKeyExW(root_, colorsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &colors_, nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, root_), ERROR_SUCCESS);
    }
    void TearDown() override {
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        if (colors_)
            RegCloseKey(colors_);
        if (root_)
            RegCloseKey(root_);
        RegDeleteTreeW(HKEY_CURRENT_USER, testRoot);
    }
    void setValue(const wchar_t* name, const std::wstring& text, DWORD type = REG_SZ) {
        RegSetValueExW(colors_, name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
    // The link's colour before and after it was opened.
    COLORREF paintedColour(LinkDialog& host, HyperLinkControl& link) {
        link.attach(host.link());
        for (COLORREF candidate : {RGB(0, 128, 0), RGB(0, 0, 128), defaultBlue, RGB(255, 0, 0)}) {
            if (pixelsOf(host.link(), candidate) > 5)
                return candidate;
        }
        return CLR_INVALID;
    }

    HKEY root_ = nullptr;
    HKEY colors_ = nullptr;
};

TEST_F(HyperLink, AnchorColorIsTakenOnlyWhenWhole) {
    const std::pair<const wchar_t*, COLORREF> cases[] = {
        {L"0,128,0", RGB(0, 128, 0)},     {L"0,128", defaultBlue},        {L"0,128,", defaultBlue},
        {L"0,0,128", RGB(0, 0, 128)},     {L"000,128,0000", defaultBlue}, // 12 characters
        {L"00,128,0000", RGB(0, 128, 0)},
    };
    for (const auto& c : cases) {
        setValue(L"Anchor Color", c.first);
        LinkDialog host(L"Download");
        HyperLinkControl link;
        EXPECT_EQ(paintedColour(host, link), c.second) << narrow(c.first);
    }
}

TEST_F(HyperLink, AnchorColorMustBeAString) {
    DWORD number = 0x008000;
    RegSetValueExW(colors_, L"Anchor Color", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof(number));
    LinkDialog dword(L"Download");
    HyperLinkControl first;
    EXPECT_EQ(paintedColour(dword, first), defaultBlue);

    setValue(L"Anchor Color", L"0,128,0", REG_EXPAND_SZ);
    LinkDialog expandable(L"Download");
    HyperLinkControl second;
    EXPECT_EQ(paintedColour(expandable, second), RGB(0, 128, 0));
}

TEST_F(HyperLink, ColoursAreReadWithReadAccessOnly) {
    // Everyone may read the settings key, nobody may change it, as on a locked-down profile.
    PSECURITY_DESCRIPTOR readOnly = nullptr;
    ASSERT_TRUE(
        ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;KR;;;WD)", SDDL_REVISION_1, &readOnly, nullptr));
    setValue(L"Anchor Color", L"0,128,0");
    ASSERT_EQ(RegSetKeySecurity(colors_, DACL_SECURITY_INFORMATION, readOnly), ERROR_SUCCESS);
    LocalFree(readOnly);
    HKEY probe = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, colorsKey, 0, KEY_READ | KEY_WRITE, &probe) == ERROR_SUCCESS) {
        RegCloseKey(probe);
        GTEST_SKIP() << "this registry does not refuse write access to the key";
    }
    LinkDialog host(L"Download");
    HyperLinkControl link;
    EXPECT_EQ(paintedColour(host, link), RGB(0, 128, 0));
}

class HyperLinkNavigation : public HyperLink {
protected:
    // The target is the stand-in companion, which writes its command line to a file when the shell starts it.
    bool opened() {
        DWORD start = GetTickCount();
        while (GetTickCount() - start < 10000) {
            if (fileExists(recordPath)) {
                Sleep(100); // let it finish writing and end
                DeleteFileW(recordPath.c_str());
                return true;
            }
            host.pump(50);
        }
        return false;
    }
    bool openedWithin(DWORD milliseconds) {
        host.pump(milliseconds);
        return fileExists(recordPath);
    }

    TempFolder temp;
    std::wstring recordPath = temp / L"opened.txt";
    ScopedEnvironment record{L"KORU_TEST_COMPANION_RECORD", recordPath};
    LinkDialog host{L"Download"};
    HyperLinkControl link;
};

TEST_F(HyperLinkNavigation, OnlyTheTextIsAClickTarget) {
    setValue(L"Anchor Color Visited", L"255,0,0");
    ASSERT_TRUE(link.attach(host.link()));
    link.setTarget(companionProbePath());
    RECT client;
    GetClientRect(host.link(), &client);
    click(host.link(), client.right - 3, 3); // the control's blank area right of the text
    EXPECT_FALSE(openedWithin(1500));
    EXPECT_EQ(pixelsOf(host.link(), defaultBlue) > 5, true);

    click(host.link(), 3, 3);
    EXPECT_TRUE(opened());
    host.pump();
    EXPECT_EQ(pixelsOf(host.link(), defaultBlue), 0);
    EXPECT_GT(pixelsOf(host.link(), RGB(255, 0, 0)), 5) << "the visited colour";
    EXPECT_EQ(GetFocus(), host.link()) << "a click gives the link the focus";
}

TEST_F(HyperLinkNavigation, EnterAndSpaceOpenTheFocusedLink) {
    ASSERT_TRUE(link.attach(host.link()));
    link.setTarget(companionProbePath());
    SetFocus(host.link());
    for (WPARAM key : {VK_RETURN, VK_SPACE}) {
        PostMessageW(host.link(), WM_KEYDOWN, key, 1);
        PostMessageW(host.link(), WM_KEYUP, key, 0xC0000001);
        EXPECT_TRUE(opened()) << key;
    }
    EXPECT_EQ(host.okPresses(), 0) << "Enter belongs to the focused link, not to the default button";
}

TEST_F(HyperLinkNavigation, ADisabledLinkIsGrey) {
    ASSERT_TRUE(link.attach(host.link()));
    EnableWindow(host.link(), FALSE);
    EXPECT_GT(pixelsOf(host.link(), GetSysColor(COLOR_GRAYTEXT)), 5);
    EXPECT_EQ(pixelsOf(host.link(), defaultBlue), 0);
}

TEST_F(HyperLinkNavigation, AFailedOpenChangesNothing) {
    ASSERT_TRUE(link.attach(host.link()));
    link.setTarget(temp / L"missing\\nothing.exe");
    EXPECT_FALSE(link.navigate());
    EXPECT_GT(pixelsOf(host.link(), defaultBlue), 5) << "not visited";
}

} // namespace
