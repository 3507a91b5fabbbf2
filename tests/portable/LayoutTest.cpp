// Where dialogs and the splash window go, and the pixel buffer of the splash image.
#include "splash/DecodedImage.h"
#include "splash/SplashLayout.h"
#include "ui/DialogLayout.h"

#include <gtest/gtest.h>

namespace {

struct Placement {
    LayoutRect reference;
    LayoutRect area;
    int width, height;
    int x, y;
};

TEST(CentredPosition, CentresThenStaysInsideTheArea) {
    const LayoutRect screen{0, 0, 1280, 1000};
    const Placement cases[] = {
        {screen, screen, 400, 300, 440, 350},              // the work area itself
        {{100, 100, 301, 201}, screen, 50, 31, 175, 135},  // odd sizes: integer halves of each
        {{1100, 50, 1280, 250}, screen, 400, 300, 880, 0}, // pushed back from the right, up to the top
        {{0, 900, 200, 1000}, screen, 400, 300, 0, 700},   // pushed back from the bottom, not past the left
        {screen, screen, 1500, 1100, 0, 0},                // larger than the area: its left and top edges
        {{-1280, 0, 0, 1000}, {-1280, 0, 0, 1000}, 400, 300, -840, 350}, // a monitor left of the primary one
    };
    for (const Placement& c : cases) {
        LayoutPoint at = centredPosition(c.reference, c.area, c.width, c.height);
        EXPECT_EQ(at.x, c.x) << c.reference.left << "," << c.reference.top;
        EXPECT_EQ(at.y, c.y) << c.reference.left << "," << c.reference.top;
    }
}

TEST(SplashPlacement, CentredWithTruncationTowardZero) {
    const int cases[][6] = {
        // screen width and height, picture width and height, left, top
        {1920, 1080, 300, 200, 810, 440},
        {1921, 1081, 300, 200, 810, 440},
        {1280, 1024, 0, 0, 640, 512},
        {800, 600, 1001, 701, -100, -50}, // larger than the screen: toward zero, not down
    };
    for (const auto& c : cases) {
        SplashRect at = centredOnScreen(c[0], c[1], c[2], c[3]);
        EXPECT_EQ(at.left, c[4]) << c[0] << " " << c[2];
        EXPECT_EQ(at.top, c[5]) << c[1] << " " << c[3];
        EXPECT_EQ(at.width * at.height, c[2] * c[3]);
    }
}

TEST(DecodedPixels, ByteCountFitsOneCount) {
    uint32_t bytes = 0;
    EXPECT_TRUE(pixelByteCount(32768, 32767, bytes));
    EXPECT_EQ(bytes, 32768u * 32767u * 4u);
    EXPECT_FALSE(pixelByteCount(32768, 32768, bytes)) << "16 GiB: no 32-bit count describes it";
    EXPECT_FALSE(pixelByteCount(0, 10, bytes) || pixelByteCount(10, 0, bytes));
}

} // namespace
