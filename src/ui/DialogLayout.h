#pragma once
// The arithmetic behind placing a dialog on the screen and keeping its controls in place while it is resized.
// Portable: no Windows headers; the Windows side feeds it rectangles in pixels.
#include <cstdint>

struct LayoutRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

struct LayoutPoint {
    int x = 0;
    int y = 0;
};

// Where a window of the given size goes: centred over `reference`, then pushed back inside `area`. The far edge
// is tested first, so a window larger than the area ends up on the area's left and top edges.
LayoutPoint centredPosition(const LayoutRect& reference, const LayoutRect& area, int width, int height);

// How a control follows the dialog's client size.
enum ResizeFlag : uint32_t {
    SizeX = 0x1,
    SizeY = 0x2,
    MoveX = 0x4,
    MoveY = 0x8,
    Repaint = 0x10,
    CenterX = 0x20,
    CenterY = 0x40,
    GripEntry = 0x4000, // the size grip that the resizer made itself
};

// Any of the flags that change a control's rectangle.
constexpr uint32_t resizeGeometryFlags = SizeX | SizeY | MoveX | MoveY | Repaint | CenterX | CenterY;

struct LayoutSize {
    int width = 0;
    int height = 0;
};

// The control's rectangle for the new client size: it keeps its distance to the edges the flags tie it to.
// `current` supplies whatever the flags leave alone.
LayoutRect resizedRect(const LayoutRect& current, const LayoutRect& initial, uint32_t flags, LayoutSize initialClient,
                       LayoutSize newClient);
