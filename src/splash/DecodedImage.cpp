#include "DecodedImage.h"

#include <algorithm>

bool pixelByteCount(int width, int height, uint32_t& bytes) {
    if (width <= 0 || height <= 0)
        return false;
    uint64_t count = static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * 4u;
    if (count > UINT32_MAX)
        return false;
    bytes = static_cast<uint32_t>(count);
    return true;
}

bool hasTranslucentPixel(const DecodedImage& image) {
    return std::any_of(image.pixels.begin(), image.pixels.end(), [](uint32_t pixel) { return (pixel >> 24) != 0xFF; });
}
