#include "ImageHeader.h"

#include "support/LittleEndian.h"

namespace {

constexpr uint16_t dosSignature = 0x5A4D;    // "MZ"
constexpr uint32_t ntSignature = 0x00004550; // "PE\0\0"
constexpr size_t ntOffsetField = 0x3C;

} // namespace

uint16_t imageMachine(const uint8_t* bytes, size_t size) {
    if (!bytes || size < ntOffsetField + 4)
        return 0;
    if (readUint16(bytes) != dosSignature)
        return 0;
    // The offset is read as unsigned, so a negative value is simply far past the end.
    uint64_t ntOffset = readUint32(bytes + ntOffsetField);
    if (ntOffset + 4 + 2 > size)
        return 0;
    const uint8_t* nt = bytes + ntOffset;
    return readUint32(nt) == ntSignature ? readUint16(nt + 4) : 0;
}
