#include "splash/DecodedImage.h"
#include "splash/NativeSplashPath.h"
#include "splash/SplashLayout.h"

#include <gtest/gtest.h>

namespace {

TEST(SplashPlacement, CentredWithTruncation) {
    struct Case {
        int screenWidth, screenHeight, width, height, left, top;
    };
    const Case cases[] = {
        {1920, 1080, 300, 200, 810, 440}, {1921, 1081, 300, 200, 810, 440}, // halves are cut off
        {1280, 1024, 0, 0, 640, 512},                                       // an image that did not load
        {800, 600, 1001, 701, -100, -50}, // larger than the screen: toward zero, not down
        {1920, 1080, 1920, 1080, 0, 0},
    };
    for (const Case& c : cases) {
        SplashRect at = centredOnScreen(c.screenWidth, c.screenHeight, c.width, c.height);
        EXPECT_EQ(at.left, c.left) << c.screenWidth << "x" << c.screenHeight << " " << c.width;
        EXPECT_EQ(at.top, c.top) << c.screenWidth << "x" << c.screenHeight << " " << c.height;
        EXPECT_EQ(at.width, c.width);
        EXPECT_EQ(at.height, c.height);
    }
}

TEST(NativeSplashLibrary, BesideTheBinFolder) {
    EXPECT_EQ(nativeSplashLibraryCandidate(L"C:\\jre\\bin\\server\\jvm.dll"), L"C:\\jre\\bin\\splashscreen.dll");
    EXPECT_EQ(nativeSplashLibraryCandidate(L"C:\\jre/bin/\\client\\jvm.dll"), L"C:\\jre/bin/splashscreen.dll");
    EXPECT_EQ(nativeSplashLibraryCandidate(L"\\server\\jvm.dll"), L"");
    EXPECT_EQ(nativeSplashLibraryCandidate(L""), L"");
}

TEST(DecodedPixels, ByteCountFitsOneRead) {
    uint32_t bytes = 0;
    EXPECT_TRUE(pixelByteCount(300, 200, bytes));
    EXPECT_EQ(bytes, 240000u);
    EXPECT_TRUE(pixelByteCount(32768, 32767, bytes));
    EXPECT_FALSE(pixelByteCount(32768, 32768, bytes)) << "16 GiB: no 32-bit count describes it";
    EXPECT_FALSE(pixelByteCount(0, 10, bytes));
    EXPECT_FALSE(pixelByteCount(10, -1, bytes));
}

TEST(DecodedPixels, AnyAlphaBelowFullIsTranslucent) {
    EXPECT_FALSE(hasTranslucentPixel(DecodedImage{2, 1, {0xFF000000, 0xFFFFFFFF}}));
    EXPECT_TRUE(hasTranslucentPixel(DecodedImage{2, 1, {0xFF000000, 0xFEFFFFFF}}));
    EXPECT_TRUE(hasTranslucentPixel(DecodedImage{1, 1, {0x00000000}}));
    EXPECT_FALSE(hasTranslucentPixel(DecodedImage{}));
}

} // namespace
