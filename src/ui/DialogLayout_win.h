#pragma once
// Placing a dialog on the screen, and keeping the controls of a resizable dialog in place as it changes size.
#include <windows.h>

#include "DialogLayout.h"

#include <vector>

// Centres the window over its parent's client area (a child), its visible and not minimised owner, or the work
// area of the nearest monitor, and keeps it inside that area. False when the monitor cannot be determined.
bool centerWindow(HWND window);

// One control of a resizable dialog and the ResizeFlag bits that say how it follows the dialog's size.
struct ResizeMapping {
    int controlId;
    uint32_t flags;
};

// Keeps a dialog's controls tied to its edges; one per dialog, living as long as the dialog.
class DialogResizer {
public:
    // From WM_INITDIALOG, once the controls have their first positions: adds the size grip, records the sizes
    // and the controls' rectangles.
    void setUpResize(HWND dialog, const std::vector<ResizeMapping>& map);
    void onSize(HWND dialog, UINT sizeType, int clientWidth, int clientHeight);
    // The dialog cannot be made smaller than it first appeared.
    void onGetMinMaxInfo(MINMAXINFO* info) const;

private:
    struct ResizeEntry {
        int controlId;
        uint32_t flags;
        LayoutRect initialRect;
    };
    void addEntry(HWND dialog, int controlId, uint32_t flags);
    void applyEntry(HWND dialog, const ResizeEntry& entry, LayoutSize newClient) const;
    void createSizeGrip(HWND dialog);

    std::vector<ResizeEntry> entries_;
    LayoutSize initialClient_;
    LayoutSize minTrackSize_{-1, -1};
    bool ownsGrip_ = false;
};

// The size grip's control identifier.
constexpr int sizeGripId = 0xE801;
