// Where dialogs go and how their controls follow a resize, and the size and pixels of the splash image.
#include "splash/DecodedImage.h"
#include "splash/ImageSize.h"
#include "ui/DialogLayout.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(DialogLayout, CentresThenStaysInsideTheAreaAndNothingOverflows) {
    const LayoutRect screen{0, 0, 1280, 1000};
    // the reference, the area to stay in, the width and height, the position expected
    const std::tuple<LayoutRect, LayoutRect, int, int, int, int> cases[] = {
        {screen, screen, 400, 300, 440, 350},              // the work area itself
        {{100, 100, 301, 201}, screen, 50, 31, 175, 135},  // odd sizes: integer halves of each
        {{1100, 50, 1280, 250}, screen, 400, 300, 880, 0}, // pushed back from the right, up to the top
        {{0, 900, 200, 1000}, screen, 400, 300, 0, 700},   // pushed back from the bottom, not past the left
        {screen, screen, 1500, 1100, 0, 0},                // larger than the area: its left and top edges
        {{-1280, 0, 0, 1000}, {-1280, 0, 0, 1000}, 400, 300, -840, 350}, // a monitor left of the primary one
        {{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, 400, 300, -201, -151},
        {screen, {INT_MIN, INT_MIN, INT_MIN + 100, INT_MIN + 100}, 400, 300, INT_MIN, INT_MIN},
    };
    for (const auto& [reference, area, width, height, x, y] : cases) {
        LayoutPoint at = centredPosition(reference, area, width, height);
        EXPECT_EQ(at.x, x) << reference.left << "," << reference.top;
        EXPECT_EQ(at.y, y) << reference.left << "," << reference.top;
    }
    // A resize far apart: sums and differences pass the 32-bit range, the results stay inside it.
    const LayoutRect whole{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
    LayoutRect moved = resizedRect(whole, whole, SizeX | MoveY, {INT_MIN, INT_MIN}, {INT_MAX, INT_MAX});
    EXPECT_EQ(std::make_pair(moved.right, moved.top), std::make_pair(INT_MAX, INT_MAX));
    EXPECT_EQ(resizedRect(whole, whole, CenterX, {0, 0}, {-2, 0}).left, INT_MIN);
}

TEST(DecodedPixels, ByteCountFitsOneCount) {
    uint32_t bytes = 0;
    EXPECT_TRUE(pixelByteCount(32768, 32767, bytes));
    EXPECT_EQ(bytes, 32768u * 32767u * 4u);
    EXPECT_FALSE(pixelByteCount(32768, 32768, bytes)) << "16 GiB: no 32-bit count describes it";
    EXPECT_FALSE(pixelByteCount(0, 10, bytes) || pixelByteCount(10, 0, bytes));
}

// A literal's bytes, NULs included.
template <size_t n> std::string bytes(const char (&text)[n]) { return std::string(text, n - 1); }

TEST(DeclaredPixelSize, ReadFromTheHeaderAlone) {
    const std::pair<std::string, std::string> cases[] = {
        {bytes("\x89PNG\r\n\x1A\n\0\0\0\rIHDR\0\0'\x10\0\0'\x10"), "10000x10000"},
        {bytes("GIF89a\x40\x01\xC8\0"), "320x200"},
        {bytes("\xFF\xD8\xFF\xE0\0\x04\0\0\xFF\xC2\0\x11\x08\x01\xE0\x02\x80"), "640x480"},
        {bytes("BM\0\0\0\0\0\0\0\0\0\0\0\0\x0C\0\0\0\x1E\0\x14\0\0\0\0\0"), "30x20"},       // 16-bit sizes
        {bytes("BM\0\0\0\0\0\0\0\0\0\0\0\0\x28\0\0\0\x1E\0\0\0\xEC\xFF\xFF\xFF"), "30x20"}, // top down
        {bytes("II*\0\x08\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0"), "none"},
    };
    for (const auto& [file, size] : cases) {
        PixelSize declared;
        bool known = declaredPixelSize(reinterpret_cast<const uint8_t*>(file.data()), file.size(), declared);
        EXPECT_EQ(known ? std::to_string(declared.width) + "x" + std::to_string(declared.height) : "none", size);
    }
}

} // namespace
