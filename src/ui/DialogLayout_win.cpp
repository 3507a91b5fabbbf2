#include "DialogLayout_win.h"

#include <algorithm>

namespace {

LayoutRect fromRect(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

bool isChild(HWND window) { return (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) != 0; }

// A hidden or minimised owner is no place to centre on: the dialog would appear where the user is not looking.
HWND usableOwner(HWND window) {
    HWND owner = GetWindow(window, GW_OWNER);
    if (!owner)
        return nullptr;
    LONG_PTR style = GetWindowLongPtrW(owner, GWL_STYLE);
    return (style & WS_VISIBLE) && !(style & WS_MINIMIZE) ? owner : nullptr;
}

// The reference to centre on and the area to stay inside, in the coordinates SetWindowPos takes for the window.
bool placementFrame(HWND window, LayoutRect& reference, LayoutRect& area) {
    if (isChild(window)) {
        RECT client;
        GetClientRect(GetParent(window), &client);
        reference = area = fromRect(client);
        return true;
    }
    HWND owner = usableOwner(window);
    HMONITOR monitor = MonitorFromWindow(owner ? owner : window, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (!monitor || !GetMonitorInfoW(monitor, &info))
        return false;
    area = fromRect(info.rcWork);
    reference = area;
    RECT ownerRect;
    if (owner && GetWindowRect(owner, &ownerRect))
        reference = fromRect(ownerRect);
    return true;
}

LayoutRect controlRect(HWND dialog, HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return fromRect(rect);
}

LayoutSize clientSize(HWND dialog) {
    RECT client;
    GetClientRect(dialog, &client);
    return {client.right, client.bottom};
}

} // namespace

bool centerWindow(HWND window) {
    LayoutRect reference, area;
    if (!placementFrame(window, reference, area))
        return false;
    RECT rect;
    GetWindowRect(window, &rect);
    LayoutPoint at = centredPosition(reference, area, rect.right - rect.left, rect.bottom - rect.top);
    SetWindowPos(window, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

void DialogResizer::setUpResize(HWND dialog, const std::vector<ResizeMapping>& map) {
    LONG_PTR style = GetWindowLongPtrW(dialog, GWL_STYLE);
    if (!(style & WS_CLIPCHILDREN))
        SetWindowLongPtrW(dialog, GWL_STYLE, style | WS_CLIPCHILDREN);
    bool child = isChild(dialog);
    if (!child) {
        // The modal frame drops the default icon from the caption; a null small icon keeps it from coming back.
        SetWindowLongPtrW(dialog, GWL_EXSTYLE, GetWindowLongPtrW(dialog, GWL_EXSTYLE) | WS_EX_DLGMODALFRAME);
        if (!SendMessageW(dialog, WM_GETICON, ICON_SMALL, 0))
            SendMessageW(dialog, WM_SETICON, ICON_SMALL, 0);
    }
    initialClient_ = clientSize(dialog);
    if (!GetDlgItem(dialog, sizeGripId))
        createSizeGrip(dialog);
    RECT window;
    GetWindowRect(dialog, &window);
    minTrackSize_ = child ? initialClient_ : LayoutSize{window.right - window.left, window.bottom - window.top};
    for (const ResizeMapping& mapping : map)
        addEntry(dialog, mapping.controlId, mapping.flags);
}

void DialogResizer::createSizeGrip(HWND dialog) {
    // Given the whole client area, SBS_SIZEBOXBOTTOMRIGHTALIGN shrinks the grip into the bottom-right corner.
    HWND grip = CreateWindowExW(0, L"SCROLLBAR", nullptr,
                                WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SBS_SIZEBOX | SBS_SIZEBOXBOTTOMRIGHTALIGN |
                                    SBS_SIZEGRIP,
                                0, 0, initialClient_.width, initialClient_.height, dialog,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(sizeGripId)), nullptr, nullptr);
    if (!grip)
        return;
    ownsGrip_ = true;
    addEntry(dialog, sizeGripId, MoveX | MoveY | Repaint | GripEntry);
}

void DialogResizer::addEntry(HWND dialog, int controlId, uint32_t flags) {
    HWND control = GetDlgItem(dialog, controlId);
    if (!control)
        return;
    entries_.push_back({controlId, flags, controlRect(dialog, control)});
}

void DialogResizer::onSize(HWND dialog, UINT sizeType, int clientWidth, int clientHeight) {
    if (ownsGrip_ && (sizeType == SIZE_MAXIMIZED || sizeType == SIZE_RESTORED))
        ShowWindow(GetDlgItem(dialog, sizeGripId), sizeType == SIZE_MAXIMIZED ? SW_HIDE : SW_SHOW);
    if (sizeType == SIZE_MINIMIZED)
        return;
    LayoutSize newClient{clientWidth, clientHeight};
    if (isChild(dialog)) {
        newClient.width = std::max(newClient.width, minTrackSize_.width);
        newClient.height = std::max(newClient.height, minTrackSize_.height);
    }
    // Moving the controls one by one would repaint each of them in between.
    bool redrawOff = IsWindowVisible(dialog);
    if (redrawOff)
        SendMessageW(dialog, WM_SETREDRAW, FALSE, 0);
    for (const ResizeEntry& entry : entries_)
        applyEntry(dialog, entry, newClient);
    if (redrawOff)
        SendMessageW(dialog, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void DialogResizer::applyEntry(HWND dialog, const ResizeEntry& entry, LayoutSize newClient) const {
    HWND control = GetDlgItem(dialog, entry.controlId);
    if (!control)
        return;
    LayoutRect rect =
        resizedRect(controlRect(dialog, control), entry.initialRect, entry.flags, initialClient_, newClient);
    if (entry.flags & Repaint)
        InvalidateRect(control, nullptr, TRUE);
    if (entry.flags & resizeGeometryFlags)
        SetWindowPos(control, nullptr, rect.left, rect.top, rect.width(), rect.height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void DialogResizer::onGetMinMaxInfo(MINMAXINFO* info) const {
    if (minTrackSize_.width < 0 || minTrackSize_.height < 0)
        return;
    info->ptMinTrackSize.x = minTrackSize_.width;
    info->ptMinTrackSize.y = minTrackSize_.height;
}
