// The splash image against real files: what the imaging component decodes, and the files that show nothing.
#include "TestFiles.h"
#include "TestImages.h"
#include "splash/ImagingDecoder.h"
#include "splash/SplashPicture.h"

#include <gtest/gtest.h>
#include <winioctl.h>

namespace {

// More than 4 GiB whose first bytes are a small valid image: read by the low 32 bits of its size, it would show.
void writeOversizedFile(const std::wstring& path, const std::string& head) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD ignored = 0;
    DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &ignored, nullptr);
    WriteFile(file, head.data(), static_cast<DWORD>(head.size()), &ignored, nullptr);
    LARGE_INTEGER size;
    size.QuadPart = (1LL << 32) + static_cast<LONGLONG>(head.size());
    SetFilePointerEx(file, size, nullptr, FILE_BEGIN);
    EXPECT_TRUE(SetEndOfFile(file));
    CloseHandle(file);
}

// Opaque, half, faint and clear pixels, whose premultiplied form is exact. One format stands for all: which formats
// the imaging component reads is its own affair.
TEST(SplashPicture, ImagingComponentGivesPremultipliedPixels) {
    TestImage image{3, 2, {0xFFFF0000, 0x80FFFFFF, 0x4000FF00, 0x00FFFFFF, 0xFF0000FF, 0xC0FFFFFF}};
    std::vector<uint32_t> expected;
    for (uint32_t pixel : image.argb)
        expected.push_back(premultiplied(pixel));
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
    writeOversizedFile(temp / L"huge.bmp", bmpFile(opaqueTestImage(4, 4)));
    for (const wchar_t* name : {L"missing.bmp", L"empty.bmp", L"text.bmp", L"huge.bmp"}) {
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
