#pragma once
// The size an image file declares in its header, read before anything is decoded: a few hundred bytes of PNG can
// declare ten thousand pixels square. Portable: no Windows headers.
#include <cstddef>
#include <cstdint>

struct PixelSize {
    uint32_t width = 0;
    uint32_t height = 0;
};

// For PNG, BMP, GIF and JPEG; false for other formats and for a header too short to tell.
bool declaredPixelSize(const uint8_t* bytes, size_t length, PixelSize& size);
