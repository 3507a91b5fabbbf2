// The splash image against real files: what the imaging component decodes, and the files that show nothing.
#include "TestFiles.h"
#include "TestImages.h"
#include "splash/ImagingDecoder.h"
#include "splash/SplashPicture.h"

#include <gtest/gtest.h>

namespace {

// Opaque, half, faint and clear pixels, whose premultiplied form is exact (channels of 0 or 255, whatever rounding the
// decoder uses). One format stands for all: which formats the imaging component reads is its own affair.
TEST(SplashPicture, ImagingComponentGivesPremultipliedPixels) {
    TestImage image{3, 2, {0xFFFF0000, 0x80FFFFFF, 0x4000FF00, 0x00FFFFFF, 0xFF0000FF, 0xC0FFFFFF}};
    const std::vector<uint32_t> expected{0xFFFF0000, 0x80808080, 0x40004000, 0x00000000, 0xFF0000FF, 0xC0C0C0C0};
    const std::string file = tiffFile(image);
    DecodedImage decoded;
    ASSERT_TRUE(decodeWithImagingComponent(
        file.data(), file.size(), [](uint64_t, uint64_t) { return true; }, decoded));
    EXPECT_EQ(decoded.width * 10 + decoded.height, 32);
    EXPECT_EQ(decoded.pixels, expected);
}

TEST(SplashPicture, FilesThatShowNothing) {
    TempFolder temp;
    const std::wstring valid = temp / L"valid.bmp";
    writeBytes(valid, bmpFile(opaqueTestImage(4, 4)));
    writeBytes(temp / L"empty.bmp", "");
    writeBytes(temp / L"text.bmp", "not an image at all");
    // Over 64 MiB, though its first bytes are a small image; and few bytes that declare more than four screens' pixels.
    writeBytes(temp / L"huge.bmp", bmpFile(opaqueTestImage(4, 4)) + std::string(64 << 20, '\0'));
    writeBytes(temp / L"vast.bmp",
               runLengthBmpFile(3 * GetSystemMetrics(SM_CXVIRTUALSCREEN), 2 * GetSystemMetrics(SM_CYVIRTUALSCREEN)));
    for (const wchar_t* name : {L"missing.bmp", L"empty.bmp", L"text.bmp", L"huge.bmp", L"vast.bmp"}) {
        SplashPicture picture;
        ASSERT_TRUE(picture.loadFromFile(valid));
        EXPECT_FALSE(picture.loadFromFile(temp / name)) << narrow(name);
        EXPECT_FALSE(picture.isLoaded()) << narrow(name) << ": the earlier image is released";
        EXPECT_EQ(picture.width() + picture.height(), 0) << narrow(name);
        UniqueBitmap bitmap;
        EXPECT_FALSE(picture.renderToBitmap(bitmap) || bitmap) << narrow(name);
    }
}

} // namespace
