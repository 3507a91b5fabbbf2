#include "ScreenCapture.h"

std::vector<uint32_t> screenPixels(const RECT& area) {
    int width = area.right - area.left;
    int height = area.bottom - area.top;
    std::vector<uint32_t> pixels(static_cast<size_t>(width > 0 && height > 0 ? width * height : 0));
    if (pixels.empty())
        return pixels;
    UniqueScreenDc screen(GetDC(nullptr));
    UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    UniqueBitmap section(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    HGDIOBJ previous = SelectObject(memory.get(), section.get());
    BitBlt(memory.get(), 0, 0, width, height, screen.get(), area.left, area.top, SRCCOPY);
    GdiFlush();
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<const uint32_t*>(bits)[i] & 0x00FFFFFF;
    SelectObject(memory.get(), previous); // the bitmap is deleted once no device context holds it
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
    window_.reset(CreateWindowExW(WS_EX_TOOLWINDOW, MAKEINTATOM(backdropClass), L"", WS_POPUP, area.left, area.top,
                                  area.right - area.left, area.bottom - area.top, nullptr, nullptr, nullptr, nullptr));
    ShowWindow(window_.get(), SW_SHOWNOACTIVATE);
    UpdateWindow(window_.get());
}
