#pragma once
// Decoding through the Windows Imaging Component, which reads formats the OLE picture loader refuses (PNG on
// Windows, TIFF, and whatever codecs the machine has). It is reached as a registered COM server, in an
// apartment the calling thread enters for the call (or the one it is already in).
#include "DecodedImage.h"

#include <cstddef>

// Whether a picture of that size may be decoded.
using PixelBudget = bool (*)(uint64_t width, uint64_t height);

// The first frame, converted to premultiplied 32-bit pixels. False for data no installed codec takes, and for a
// frame that the budget refuses, before its pixels are copied out.
bool decodeWithImagingComponent(const void* bytes, size_t length, PixelBudget fits, DecodedImage& image);
