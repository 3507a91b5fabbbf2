#include "TestImages.h"

namespace {

// Little-endian.
void put(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>(value >> 8 * i);
}

} // namespace

TestImage opaqueTestImage(int width, int height) {
    TestImage image{width, height, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.argb.push_back(0xFF000000u | uint32_t(x * 255 / width) << 16 | uint32_t(y * 255 / height) << 8 |
                                 uint32_t((x + y) & 0xFF));
    return image;
}

std::string bmpFile(const TestImage& image) {
    std::string out = "BM";
    const uint32_t pixelBytes = static_cast<uint32_t>(image.argb.size() * 4);
    for (uint32_t value : {54 + pixelBytes, 0u, 54u, 40u, uint32_t(image.width), uint32_t(image.height)})
        put(out, value, 4);
    put(out, 1, 2);
    put(out, 32, 2); // rows of 32-bit pixels need no padding
    for (uint32_t value : {0u, pixelBytes, 2835u, 2835u, 0u, 0u})
        put(out, value, 4);
    for (int y = image.height - 1; y >= 0; --y)
        for (int x = 0; x < image.width; ++x)
            put(out, image.argb[size_t(y * image.width + x)] & 0x00FFFFFF, 4);
    return out;
}

std::string runLengthBmpFile(int width, int height) {
    std::string out = "BM";
    // 0x80001: one plane of 8-bit pixels; then run lengths of 8 bits (1) in 2 bytes, and a palette of two colours.
    for (uint32_t value : {64u, 0u, 62u, 40u, uint32_t(width), uint32_t(height), 0x80001u, 1u, 2u, 2835u, 2835u, 2u, 2u,
                           0x00FFFFFFu, 0u})
        put(out, value, 4);
    return out + std::string("\0\1", 2); // the end of the bitmap, at once
}

std::string tiffFile(const TestImage& image) {
    const uint32_t entries = 11, bitsAt = 8 + 2 + entries * 12 + 4, pixelsAt = bitsAt + 8;
    const uint32_t tags[][3] = {
        {256, 4, uint32_t(image.width)},
        {257, 4, uint32_t(image.height)},
        {258, 3, bitsAt}, // 4 samples, see below
        {259, 3, 1},      // no compression
        {262, 3, 2},      // RGB
        {273, 4, pixelsAt},
        {277, 3, 4},
        {278, 4, uint32_t(image.height)},
        {279, 4, uint32_t(image.argb.size() * 4)},
        {284, 3, 1}, // samples interleaved
        {338, 3, 2}, // the fourth sample is straight alpha
    };
    std::string out = std::string("II*\0", 4);
    put(out, 8, 4);
    put(out, entries, 2);
    for (const auto& tag : tags) {
        put(out, tag[0], 2);
        put(out, tag[1], 2);
        put(out, tag[0] == 258 ? 4 : 1, 4);
        put(out, tag[2], 4);
    }
    put(out, 0, 4);
    for (int sample = 0; sample < 4; ++sample)
        put(out, 8, 2);
    for (uint32_t pixel : image.argb) // red, green, blue, alpha
        for (int shift : {16, 8, 0, 24})
            out += static_cast<char>(pixel >> shift);
    return out;
}
