#include "ImageSize.h"

#include "support/LittleEndian.h"

#include <cstring>

namespace {

uint32_t bigEndian(const uint8_t* at, int bytes) {
    uint32_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value = value << 8 | at[i];
    return value;
}

bool startsWith(const uint8_t* bytes, size_t length, const char* signature, size_t signatureLength) {
    return length >= signatureLength && std::memcmp(bytes, signature, signatureLength) == 0;
}

// The header's size field tells the old 12-byte form (16-bit sizes) from the later ones; a negative height is a
// picture stored top down.
bool bmpSize(const uint8_t* bytes, size_t length, PixelSize& size) {
    if (length < 26)
        return false;
    if (readUint32(bytes + 14) == 12) {
        size = {readUint16(bytes + 18), readUint16(bytes + 20)};
        return true;
    }
    int32_t height = static_cast<int32_t>(readUint32(bytes + 22));
    uint32_t rows = height < 0 ? 0u - static_cast<uint32_t>(height) : static_cast<uint32_t>(height);
    size = {readUint32(bytes + 18), rows};
    return true;
}

// Markers up to the first frame header (SOF0 to SOF15 but DHT, JPG and DAC), each segment skipped by its length.
bool jpegSize(const uint8_t* bytes, size_t length, PixelSize& size) {
    for (size_t at = 2; at + 9 <= length;) {
        if (bytes[at] != 0xFF)
            return false;
        uint8_t marker = bytes[at + 1];
        if (marker == 0xFF) { // fill byte
            ++at;
            continue;
        }
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
            size = {bigEndian(bytes + at + 7, 2), bigEndian(bytes + at + 5, 2)};
            return true;
        }
        at += 2 + bigEndian(bytes + at + 2, 2);
    }
    return false;
}

} // namespace

bool declaredPixelSize(const uint8_t* bytes, size_t length, PixelSize& size) {
    if (startsWith(bytes, length, "\x89PNG\r\n\x1A\n", 8) && length >= 24) {
        size = {bigEndian(bytes + 16, 4), bigEndian(bytes + 20, 4)};
        return true;
    }
    if ((startsWith(bytes, length, "GIF87a", 6) || startsWith(bytes, length, "GIF89a", 6)) && length >= 10) {
        size = {readUint16(bytes + 6), readUint16(bytes + 8)};
        return true;
    }
    if (startsWith(bytes, length, "BM", 2))
        return bmpSize(bytes, length, size);
    if (startsWith(bytes, length, "\xFF\xD8", 2))
        return jpegSize(bytes, length, size);
    return false;
}
