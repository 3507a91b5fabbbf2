#include "splash/DecodedImage.h"
#include "splash/SplashLayout.h"

#include <gtest/gtest.h>

namespace {

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
    EXPECT_FALSE(pixelByteCount(0, 10, bytes));
}

} // namespace
