#pragma once
// The launcher's own splash window: borderless, without a taskbar button, centred on the primary screen and
// painted from the bitmap it keeps. Created, shown and destroyed on the splash thread only.
#include "support/UniqueResource.h"

#include <string>

class SplashWindow {
public:
    SplashWindow() = default;
    SplashWindow(const SplashWindow&) = delete;
    SplashWindow& operator=(const SplashWindow&) = delete;

    // Loads the image and creates the window, not yet shown. An image that cannot be loaded gives a window of
    // size 0; null when the class cannot be registered or the window cannot be created. An image with
    // see-through pixels gets a layered window, which casts no rectangular shadow around its shape.
    HWND create(const std::wstring& imagePath, bool shadowWanted);

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void paint(HWND window) const;
    bool showTranslucent(HWND window, int left, int top) const;

    UniqueBitmap bitmap_;
    int width_ = 0;
    int height_ = 0;
};

// The class of the window, registered once per process.
constexpr const wchar_t* splashWindowClassName = L"SplashScreenWindow";
