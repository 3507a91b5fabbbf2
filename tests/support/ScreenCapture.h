#pragma once
// What the screen shows, read back as pixels, so that tests can compare a window with the image it should show.
#include "support/UniqueResource.h"

#include <cstdint>
#include <vector>

// The pixels of a screen rectangle as 0x00RRGGBB, rows from the top.
std::vector<uint32_t> screenPixels(const RECT& area);

// A window of one colour (backdropColour, 0x00RRGGBB) over an area of the screen while it lives, so that
// see-through pixels of a window above it have something known to show.
class Backdrop {
public:
    explicit Backdrop(const RECT& area);

private:
    UniqueWindow window_;
};
constexpr uint32_t backdropColour = 0xFF00FF;
