// Where centerWindow puts a dialog-sized window: over its owner while the owner can be seen, else on the work
// area of the nearest monitor.
#include "ui/DialogLayout_win.h"

#include <gtest/gtest.h>

namespace {

HWND popup(HWND owner, int x, int y, int width, int height) {
    return CreateWindowExW(0, L"STATIC", L"", WS_POPUP, x, y, width, height, owner, nullptr, nullptr, nullptr);
}

RECT windowRect(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return rect;
}

RECT workAreaOf(HWND window) {
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info);
    return info.rcWork;
}

class CenterWindow : public ::testing::Test {
protected:
    void TearDown() override {
        DestroyWindow(dialog);
        DestroyWindow(owner);
    }
    HWND owner = popup(nullptr, 100, 120, 500, 400);
    HWND dialog = popup(owner, 0, 0, 200, 100);
};

TEST_F(CenterWindow, OverAVisibleOwner) {
    ShowWindow(owner, SW_SHOWNOACTIVATE);
    ASSERT_TRUE(centerWindow(dialog));
    RECT rect = windowRect(dialog);
    EXPECT_EQ(rect.left, 100 + 250 - 100);
    EXPECT_EQ(rect.top, 120 + 200 - 50);
    EXPECT_EQ(rect.right - rect.left, 200) << "the size is kept";
}

TEST_F(CenterWindow, OnTheWorkAreaWhenTheOwnerIsHiddenOrMinimised) {
    for (int show : {SW_HIDE, SW_SHOWMINNOACTIVE}) {
        ShowWindow(owner, show);
        ASSERT_TRUE(centerWindow(dialog)) << show;
        RECT area = workAreaOf(dialog);
        RECT rect = windowRect(dialog);
        EXPECT_EQ(rect.left, area.left + (area.right - area.left) / 2 - 100) << show;
        EXPECT_EQ(rect.top, area.top + (area.bottom - area.top) / 2 - 50) << show;
    }
}

TEST_F(CenterWindow, AChildIsCentredInItsParent) {
    HWND child = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 100, 60, owner, nullptr, nullptr, nullptr);
    ASSERT_TRUE(centerWindow(child));
    RECT client;
    GetClientRect(owner, &client);
    RECT rect = windowRect(child);
    MapWindowPoints(nullptr, owner, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, client.right / 2 - 50);
    EXPECT_EQ(rect.top, client.bottom / 2 - 30);
}

} // namespace
