#pragma once
// The splash image, decoded by the platform: the OLE picture loader first (BMP, JPEG, GIF, ICO, WMF, EMF), the
// Windows Imaging Component for what that loader refuses (PNG on Windows, TIFF). Used on the splash thread only,
// for one load; the bitmap it renders belongs to whoever holds it and outlives the picture.
#include "DecodedImage.h"
#include "support/ComPtr.h"
#include "support/UniqueResource.h"

#include <olectl.h>

#include <string>

class SplashPicture {
public:
    SplashPicture() = default;
    SplashPicture(const SplashPicture&) = delete;
    SplashPicture& operator=(const SplashPicture&) = delete;

    void clear();
    // Both start from an empty picture; false (and sizes 0) for a missing, empty, unreadable or undecodable file.
    bool loadFromFile(const std::wstring& path);
    bool loadFromMemory(const void* bytes, size_t length);

    bool isLoaded() const { return picture_ || !image_.pixels.empty(); }
    // In screen pixels; 0 when nothing is loaded.
    int width() const { return width_; }
    int height() const { return height_; }
    // Only images decoded with their alpha channel can have see-through pixels.
    bool isTranslucent() const { return hasTranslucentPixel(image_); }

    // Draws the whole picture scaled to cx by cy at (x, y).
    bool render(HDC dc, int x, int y, int cx, int cy) const;
    // Replaces the bitmap at `place` with the picture at its pixel size: a screen-compatible bitmap, or for a
    // decoded image a 32-bit section holding its premultiplied pixels (what a layered window takes). Empty when
    // nothing is loaded.
    bool renderToBitmap(UniqueBitmap& place) const;

private:
    bool loadWithOle(const void* bytes, size_t length);
    bool renderPicture(HDC dc, int x, int y, int cx, int cy) const;
    bool drawPixels(HDC dc, int x, int y, int cx, int cy) const;
    bool copyPixelsToSection(UniqueBitmap& place) const;

    ComPtr<IPicture> picture_;
    OLE_XSIZE_HIMETRIC himetricWidth_ = 0;
    OLE_YSIZE_HIMETRIC himetricHeight_ = 0;
    DecodedImage image_;
    int width_ = 0;
    int height_ = 0;
};
