#pragma once
// What the screen shows, read back as pixels, so that tests can compare a window with the image it should show.
#include <windows.h>

#include <cstdint>
#include <vector>

// The pixels of a screen rectangle as 0x00RRGGBB, rows from the top.
std::vector<uint32_t> screenPixels(const RECT& area);
