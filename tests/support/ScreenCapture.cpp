#include "ScreenCapture.h"

std::vector<uint32_t> screenPixels(const RECT& area) {
    int width = area.right - area.left;
    int height = area.bottom - area.top;
    std::vector<uint32_t> pixels(static_cast<size_t>(width > 0 && height > 0 ? width * height : 0));
    if (pixels.empty())
        return pixels;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, section);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<const uint32_t*>(bits)[i] & 0x00FFFFFF;
    SelectObject(memory, previous);
    DeleteObject(section);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

Backdrop::Backdrop(const RECT& area) {
    static const ATOM backdropClass = [] {
        WNDCLASSW description = {};
        description.lpfnWndProc = DefWindowProcW;
        description.hInstance = GetModuleHandleW(nullptr);
        description.hbrBackground = CreateSolidBrush(RGB(0xFF, 0x00, 0xFF));
        description.lpszClassName = L"KoruTestBackdrop";
        return RegisterClassW(&description);
    }();
    window_ = CreateWindowExW(WS_EX_TOOLWINDOW, MAKEINTATOM(backdropClass), L"", WS_POPUP, area.left, area.top,
                              area.right - area.left, area.bottom - area.top, nullptr, nullptr, nullptr, nullptr);
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    UpdateWindow(window_);
}

Backdrop::~Backdrop() { DestroyWindow(window_); }
