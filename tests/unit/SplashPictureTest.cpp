// The splash image against real files: the OLE picture loader, the imaging component behind it, and the bitmap
// the window paints from.
#include "TestFiles.h"
#include "TestImages.h"
#include "splash/ImagingDecoder.h"
#include "splash/SplashPicture.h"

#include <gtest/gtest.h>
#include <winioctl.h>

namespace {

// Pixels of a bitmap as 0xAARRGGBB, rows from the top.
std::vector<uint32_t> bitmapPixels(HBITMAP bitmap, int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<uint32_t> pixels(static_cast<size_t>(width * height));
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return pixels;
}

std::vector<uint32_t> colours(std::vector<uint32_t> pixels) {
    for (uint32_t& pixel : pixels)
        pixel &= 0x00FFFFFF;
    return pixels;
}

SIZE bitmapSize(HBITMAP bitmap) {
    BITMAP info = {};
    GetObjectW(bitmap, sizeof(info), &info);
    return SIZE{info.bmWidth, info.bmHeight};
}

// Opaque, half, faint and clear pixels whose premultiplied form is exact.
TestImage translucentImage() {
    return TestImage{3, 2, {0xFFFF0000, 0x80FFFFFF, 0x4000FF00, 0x00FFFFFF, 0xFF0000FF, 0xC0FFFFFF}};
}

// A file of more than 4 GiB whose first bytes are a small valid image: read by the low 32 bits of its size, it
// would show that image.
void writeOversizedFile(const std::wstring& path, const std::string& head) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD ignored = 0;
    DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &ignored, nullptr);
    DWORD written = 0;
    WriteFile(file, head.data(), static_cast<DWORD>(head.size()), &written, nullptr);
    LARGE_INTEGER size;
    size.QuadPart = (1LL << 32) + static_cast<LONGLONG>(head.size());
    SetFilePointerEx(file, size, nullptr, FILE_BEGIN);
    EXPECT_TRUE(SetEndOfFile(file));
    CloseHandle(file);
}

struct SplashPictureTest : ::testing::Test {
    TempFolder temp;
};

TEST_F(SplashPictureTest, BitmapHoldsTheImageAtItsPixelSize) {
    TestImage image = opaqueTestImage(7, 5); // rows of 21 bytes padded to 24 in the file
    writeBytes(temp / L"splash.bmp", bmpFile(image));
    SplashPicture picture;
    ASSERT_TRUE(picture.loadFromFile(temp / L"splash.bmp"));
    EXPECT_EQ(picture.width(), 7);
    EXPECT_EQ(picture.height(), 5);
    EXPECT_FALSE(picture.isTranslucent());
    UniqueBitmap bitmap;
    ASSERT_TRUE(picture.renderToBitmap(bitmap));
    EXPECT_EQ(bitmapSize(bitmap.get()).cx, 7);
    EXPECT_EQ(bitmapSize(bitmap.get()).cy, 5);
    EXPECT_EQ(colours(bitmapPixels(bitmap.get(), 7, 5)), colours(image.argb));
}

TEST_F(SplashPictureTest, ImagingComponentGivesPremultipliedPixels) {
    TestImage image = translucentImage();
    std::vector<uint32_t> expected;
    for (uint32_t pixel : image.argb)
        expected.push_back(premultiplied(pixel));
    const std::pair<const char*, std::string> files[] = {{"png", pngFile(image)}, {"tiff", tiffFile(image)}};
    for (const auto& file : files) {
        DecodedImage decoded;
        ASSERT_TRUE(decodeWithImagingComponent(file.second.data(), file.second.size(), decoded)) << file.first;
        EXPECT_EQ(decoded.width, 3) << file.first;
        EXPECT_EQ(decoded.height, 2) << file.first;
        EXPECT_EQ(decoded.pixels, expected) << file.first;
    }
}

// TIFF is a format the OLE loader refuses everywhere, so it reaches the imaging component through the picture.
TEST_F(SplashPictureTest, RefusedFormatIsDecodedWithItsAlpha) {
    TestImage image = translucentImage();
    writeBytes(temp / L"splash.tif", tiffFile(image));
    SplashPicture picture;
    ASSERT_TRUE(picture.loadFromFile(temp / L"splash.tif"));
    EXPECT_TRUE(picture.isTranslucent());
    UniqueBitmap bitmap;
    ASSERT_TRUE(picture.renderToBitmap(bitmap));
    std::vector<uint32_t> expected;
    for (uint32_t pixel : image.argb)
        expected.push_back(premultiplied(pixel));
    EXPECT_EQ(bitmapPixels(bitmap.get(), 3, 2), expected);
}

TEST_F(SplashPictureTest, FilesThatShowNothing) {
    const std::wstring valid = temp / L"valid.bmp";
    writeBytes(valid, bmpFile(opaqueTestImage(4, 4)));
    writeBytes(temp / L"empty.bmp", "");
    writeBytes(temp / L"text.bmp", "not an image at all");
    writeOversizedFile(temp / L"huge.bmp", bmpFile(opaqueTestImage(4, 4)));
    for (const wchar_t* name : {L"missing.bmp", L"empty.bmp", L"text.bmp", L"huge.bmp"}) {
        SplashPicture picture;
        ASSERT_TRUE(picture.loadFromFile(valid));
        EXPECT_FALSE(picture.loadFromFile(temp / name)) << name;
        EXPECT_FALSE(picture.isLoaded()) << name << ": the earlier image is released";
        EXPECT_EQ(picture.width(), 0) << name;
        EXPECT_EQ(picture.height(), 0) << name;
        UniqueBitmap bitmap;
        EXPECT_FALSE(picture.renderToBitmap(bitmap)) << name;
        EXPECT_FALSE(bitmap) << name;
    }
}

} // namespace
