#include "SplashWindow.h"

#include "SplashLayout.h"
#include "SplashPicture.h"
#include "support/ErrorOwner.h"
#include "support/SelectedObject.h"

#include <mutex>

namespace {

// Double clicks, saved bits and the drop shadow; the shadow bit goes when no shadow is wanted.
constexpr UINT splashClassStyle = CS_DBLCLKS | CS_SAVEBITS | CS_DROPSHADOW;

WNDCLASSEXW splashClass(bool shadow, WNDPROC procedure) {
    WNDCLASSEXW description = {};
    description.cbSize = sizeof(description);
    description.style = shadow ? splashClassStyle : splashClassStyle & ~CS_DROPSHADOW;
    description.lpfnWndProc = procedure;
    description.hInstance = GetModuleHandleW(nullptr);
    description.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    description.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    description.lpszClassName = splashWindowClassName;
    return description;
}

// The class is registered at most once per process; a class already there is used as it is. Some systems
// refuse the shadow bit, so a refused registration is tried once more without it.
std::mutex splashClassLock;

bool registerSplashClass(bool shadow, WNDPROC procedure) {
    std::lock_guard<std::mutex> guard(splashClassLock);
    WNDCLASSEXW existing = {};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExW(GetModuleHandleW(nullptr), splashWindowClassName, &existing))
        return true;
    WNDCLASSEXW description = splashClass(shadow, procedure);
    if (RegisterClassExW(&description))
        return true;
    description = splashClass(false, procedure);
    return shadow && RegisterClassExW(&description);
}

} // namespace

HWND SplashWindow::create(const std::wstring& imagePath, bool shadowWanted) {
    SplashPicture picture;
    picture.loadFromFile(imagePath);
    picture.renderToBitmap(bitmap_);
    width_ = picture.width();
    height_ = picture.height();
    bool translucent = picture.isTranslucent();
    if (!registerSplashClass(shadowWanted && !translucent, windowProc))
        return nullptr;
    SplashRect at = centredOnScreen(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), width_, height_);
    DWORD exStyle = WS_EX_TOOLWINDOW | (translucent ? WS_EX_LAYERED : 0);
    HWND window = CreateWindowExW(exStyle, splashWindowClassName, L"", WS_POPUP, at.left, at.top, at.width, at.height,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), this);
    // Where per-pixel alpha is refused the window is painted plainly, the see-through pixels black.
    if (window && translucent && !showTranslucent(window, at.left, at.top))
        SetWindowLongPtrW(window, GWL_EXSTYLE, WS_EX_TOOLWINDOW);
    return window;
}

bool SplashWindow::showTranslucent(HWND window, int left, int top) const {
    UniqueScreenDc screen(GetDC(nullptr));
    UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
    if (!memory || !bitmap_)
        return false;
    SelectedObject selected(memory.get(), bitmap_.get());
    POINT position{left, top};
    SIZE size{width_, height_};
    POINT origin{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    return UpdateLayeredWindow(window, screen.get(), &position, &size, memory.get(), &origin, 0, &blend, ULW_ALPHA) !=
           FALSE;
}

void SplashWindow::paint(HWND window) const {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    UniqueMemoryDc memory(bitmap_ ? CreateCompatibleDC(dc) : nullptr);
    if (memory) {
        BITMAP size = {};
        GetObjectW(bitmap_.get(), sizeof(size), &size);
        SelectedObject selected(memory.get(), bitmap_.get());
        BitBlt(dc, 0, 0, size.bmWidth, size.bmHeight, memory.get(), 0, 0, SRCCOPY);
    }
    EndPaint(window, &paint);
}

LRESULT CALLBACK SplashWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<SplashWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_PAINT:
        if (!self)
            break;
        self->paint(window);
        return 0;
    case WM_ERASEBKGND:
        return 1; // the bitmap covers the whole window
    case WM_CLOSE:
        return 0; // Alt+F4: the splash goes when the start is done with it, not before
    case WM_DESTROY:
        splashWindowGone();
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
