#pragma once
// An image decoded to pixels: 32 bits each, blue, green, red and alpha from the lowest byte up, with the colours
// already multiplied by alpha (the form a layered window takes), rows from the top. Portable: no Windows headers.
#include <cstddef>
#include <cstdint>
#include <vector>

struct DecodedImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};

// The byte count of width × height such pixels; false for an empty size, a negative one, or one whose bytes a
// single 32-bit count cannot describe.
bool pixelByteCount(int width, int height, uint32_t& bytes);

// Whether any pixel is not fully opaque: such an image needs a window with per-pixel alpha.
bool hasTranslucentPixel(const DecodedImage& image);
