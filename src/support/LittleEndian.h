#pragma once
// Little-endian fields of file formats (PE images, resources, icons), read and written byte by byte so that
// neither the host's byte order nor its alignment rules matter. Portable: no Windows headers.
#include <cstddef>
#include <cstdint>
#include <vector>

using Bytes = std::vector<uint8_t>;

inline uint16_t readUint16(const uint8_t* at) { return static_cast<uint16_t>(at[0] | (at[1] << 8)); }

inline uint32_t readUint32(const uint8_t* at) {
    return static_cast<uint32_t>(at[0]) | (static_cast<uint32_t>(at[1]) << 8) | (static_cast<uint32_t>(at[2]) << 16) |
           (static_cast<uint32_t>(at[3]) << 24);
}

inline void writeUint16(uint8_t* at, uint16_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

inline void writeUint32(uint8_t* at, uint32_t value) {
    writeUint16(at, static_cast<uint16_t>(value));
    writeUint16(at + 2, static_cast<uint16_t>(value >> 16));
}

inline void appendUint16(Bytes& out, uint16_t value) {
    out.resize(out.size() + 2);
    writeUint16(out.data() + out.size() - 2, value);
}

inline void appendUint32(Bytes& out, uint32_t value) {
    out.resize(out.size() + 4);
    writeUint32(out.data() + out.size() - 4, value);
}

// Zero bytes up to the next multiple of the alignment (a power of two).
inline void padTo(Bytes& out, size_t alignment) { out.resize((out.size() + alignment - 1) & ~(alignment - 1)); }
