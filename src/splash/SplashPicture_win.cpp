#include "SplashPicture.h"

#include "ImageSize.h"
#include "ImagingDecoder.h"
#include "support/SelectedObject.h"

#include <climits>
#include <cstring>
#include <vector>

namespace {

constexpr int himetricPerInch = 2540;

// The screen's resolution is read afresh for every conversion.
SIZE screenDpi() {
    UniqueScreenDc screen(GetDC(nullptr));
    if (!screen)
        return SIZE{96, 96};
    return SIZE{GetDeviceCaps(screen.get(), LOGPIXELSX), GetDeviceCaps(screen.get(), LOGPIXELSY)};
}

BITMAPINFO topDownBitmapInfo(int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// Splash images take a few megabytes; a file far larger is no splash to read whole.
constexpr uint64_t maxSplashFileBytes = uint64_t(64) << 20;

// At most four times the pixels of all screens together: a larger picture takes gigabytes and seconds to decode,
// and its window would cover every monitor. Width and height below 2^32 cannot overflow the product.
bool fitsPixelBudget(uint64_t width, uint64_t height) {
    uint64_t screens = uint64_t(GetSystemMetrics(SM_CXVIRTUALSCREEN)) * uint64_t(GetSystemMetrics(SM_CYVIRTUALSCREEN));
    return width * height <= 4 * screens;
}

// What the header declares, checked before anything is decoded; formats whose header is not read here are checked
// by their decoder.
bool declaredSizeFits(const void* bytes, size_t length) {
    PixelSize declared;
    return !declaredPixelSize(static_cast<const uint8_t*>(bytes), length, declared) ||
           fitsPixelBudget(declared.width, declared.height);
}

bool readWholeFile(HANDLE file, std::vector<unsigned char>& bytes) {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size) || size.QuadPart <= 0 || uint64_t(size.QuadPart) > maxSplashFileBytes)
        return false;
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) || read == 0)
        return false;
    bytes.resize(read);
    return true;
}

// A stream over a movable copy of the bytes; releasing the stream frees the copy.
ComPtr<IStream> streamOver(const void* bytes, size_t length) {
    ComPtr<IStream> stream;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, length);
    if (!block)
        return stream;
    void* target = GlobalLock(block);
    if (target) {
        memcpy(target, bytes, length);
        GlobalUnlock(block);
    }
    if (!target || FAILED(CreateStreamOnHGlobal(block, TRUE, stream.put())))
        GlobalFree(block);
    return stream;
}

} // namespace

void SplashPicture::clear() {
    picture_.reset();
    himetricWidth_ = 0;
    himetricHeight_ = 0;
    image_ = DecodedImage();
    width_ = 0;
    height_ = 0;
}

bool SplashPicture::loadFromFile(const std::wstring& path) {
    clear();
    UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    std::vector<unsigned char> bytes;
    if (!file || !readWholeFile(file.get(), bytes))
        return false;
    return loadFromMemory(bytes.data(), bytes.size());
}

bool SplashPicture::loadFromMemory(const void* bytes, size_t length) {
    clear();
    if (length == 0 || length > maxSplashFileBytes || !declaredSizeFits(bytes, length))
        return false;
    if (loadWithOle(bytes, length)) {
        // A metafile tells its size only now; it is drawn into a bitmap of that size later.
        if (fitsPixelBudget(uint32_t(width_), uint32_t(height_)))
            return true;
        clear();
        return false;
    }
    if (!decodeWithImagingComponent(bytes, length, fitsPixelBudget, image_))
        return false;
    // Decoded images keep their pixel size whatever resolution the file names.
    width_ = image_.width;
    height_ = image_.height;
    return true;
}

bool SplashPicture::loadWithOle(const void* bytes, size_t length) {
    if (length > LONG_MAX)
        return false;
    ComPtr<IStream> stream = streamOver(bytes, length);
    if (!stream)
        return false;
    if (FAILED(OleLoadPicture(stream.get(), static_cast<LONG>(length), FALSE, IID_IPicture, picture_.putVoid()))) {
        picture_.reset();
        return false;
    }
    picture_->get_Width(&himetricWidth_);
    picture_->get_Height(&himetricHeight_);
    SIZE dpi = screenDpi();
    width_ = MulDiv(dpi.cx, himetricWidth_, himetricPerInch);
    height_ = MulDiv(dpi.cy, himetricHeight_, himetricPerInch);
    return true;
}

bool SplashPicture::render(HDC dc, int x, int y, int cx, int cy) const {
    if (picture_)
        return renderPicture(dc, x, y, cx, cy);
    if (!image_.pixels.empty())
        return drawPixels(dc, x, y, cx, cy);
    return false;
}

bool SplashPicture::renderPicture(HDC dc, int x, int y, int cx, int cy) const {
    UniqueBitmap bitmap(CreateCompatibleBitmap(dc, cx, cy));
    UniqueMemoryDc memory(CreateCompatibleDC(dc));
    if (!bitmap || !memory)
        return false;
    SelectedObject selected(memory.get(), bitmap.get());
    SIZE dpi = screenDpi();
    long sourceWidth = MulDiv(himetricPerInch, width_, dpi.cx);
    long sourceHeight = MulDiv(himetricPerInch, height_, dpi.cy);
    // HIMETRIC coordinates grow upward: the source starts at the top and has a negative height.
    if (FAILED(picture_->Render(memory.get(), 0, 0, cx, cy, 0, sourceHeight, sourceWidth, -sourceHeight, nullptr)))
        return false;
    return BitBlt(dc, x, y, cx, cy, memory.get(), 0, 0, SRCCOPY) != FALSE;
}

bool SplashPicture::drawPixels(HDC dc, int x, int y, int cx, int cy) const {
    BITMAPINFO info = topDownBitmapInfo(image_.width, image_.height);
    int lines = StretchDIBits(dc, x, y, cx, cy, 0, 0, image_.width, image_.height, image_.pixels.data(), &info,
                              DIB_RGB_COLORS, SRCCOPY);
    return lines > 0;
}

bool SplashPicture::renderToBitmap(UniqueBitmap& place) const {
    place.reset();
    if (!isLoaded())
        return false;
    if (!image_.pixels.empty())
        return copyPixelsToSection(place);
    UniqueScreenDc screen(GetDC(nullptr));
    UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
    place.reset(CreateCompatibleBitmap(screen.get(), width_, height_));
    if (!memory || !place)
        return false;
    SelectedObject selected(memory.get(), place.get());
    return render(memory.get(), 0, 0, width_, height_);
}

bool SplashPicture::copyPixelsToSection(UniqueBitmap& place) const {
    BITMAPINFO info = topDownBitmapInfo(image_.width, image_.height);
    void* bits = nullptr;
    place.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!place || !bits)
        return false;
    memcpy(bits, image_.pixels.data(), image_.pixels.size() * sizeof(uint32_t));
    return true;
}
