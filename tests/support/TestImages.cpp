#include "TestImages.h"

namespace {

void put16(std::string& out, uint32_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}
void put32(std::string& out, uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}
void put32BigEndian(std::string& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((value >> shift) & 0xFF);
}
uint8_t channel(uint32_t argb, int shift) { return static_cast<uint8_t>((argb >> shift) & 0xFF); }

uint32_t crc32(const std::string& bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void pngChunk(std::string& out, const char* type, const std::string& data) {
    put32BigEndian(out, static_cast<uint32_t>(data.size()));
    std::string typed = std::string(type) + data;
    out += typed;
    put32BigEndian(out, crc32(typed));
}

// A zlib stream of stored (uncompressed) blocks.
std::string zlibStored(const std::string& raw) {
    std::string out = "\x78\x01";
    for (size_t at = 0; at == 0 || at < raw.size(); at += 65535) {
        std::string block = raw.substr(at, 65535);
        out += static_cast<char>(at + block.size() >= raw.size() ? 1 : 0);
        put16(out, static_cast<uint32_t>(block.size()));
        put16(out, static_cast<uint32_t>(~block.size() & 0xFFFF));
        out += block;
    }
    uint32_t a = 1, b = 0;
    for (unsigned char byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    put32BigEndian(out, (b << 16) | a);
    return out;
}

std::string rgbaRows(const TestImage& image, bool filterBytes) {
    std::string raw;
    for (int y = 0; y < image.height; ++y) {
        if (filterBytes)
            raw += '\0';
        for (int x = 0; x < image.width; ++x) {
            uint32_t pixel = image.argb[static_cast<size_t>(y * image.width + x)];
            for (int shift : {16, 8, 0, 24})
                raw += static_cast<char>(channel(pixel, shift));
        }
    }
    return raw;
}

void tiffEntry(std::string& out, uint16_t tag, uint16_t type, uint32_t count, uint32_t value) {
    put16(out, tag);
    put16(out, type);
    put32(out, count);
    put32(out, value);
}

} // namespace

TestImage opaqueTestImage(int width, int height) {
    TestImage image{width, height, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.argb.push_back(0xFF000000u | static_cast<uint32_t>((x * 255 / width) << 16) |
                                 static_cast<uint32_t>((y * 255 / height) << 8) |
                                 static_cast<uint32_t>((x + y) & 0xFF));
    return image;
}

std::string bmpFile(const TestImage& image) {
    uint32_t stride = (static_cast<uint32_t>(image.width) * 3 + 3) & ~3u;
    uint32_t pixelBytes = stride * static_cast<uint32_t>(image.height);
    std::string out = "BM";
    put32(out, 54 + pixelBytes);
    put32(out, 0);
    put32(out, 54);
    for (uint32_t value : {40u, static_cast<uint32_t>(image.width), static_cast<uint32_t>(image.height)})
        put32(out, value);
    put16(out, 1);
    put16(out, 24);
    for (uint32_t value : {0u, pixelBytes, 2835u, 2835u, 0u, 0u})
        put32(out, value);
    for (int y = image.height - 1; y >= 0; --y) {
        std::string row;
        for (int x = 0; x < image.width; ++x)
            for (int shift : {0, 8, 16})
                row += static_cast<char>(channel(image.argb[static_cast<size_t>(y * image.width + x)], shift));
        row.resize(stride, '\0');
        out += row;
    }
    return out;
}

std::string pngFile(const TestImage& image) {
    std::string out = "\x89PNG\r\n\x1A\n";
    std::string header;
    put32BigEndian(header, static_cast<uint32_t>(image.width));
    put32BigEndian(header, static_cast<uint32_t>(image.height));
    header += std::string("\x08\x06\x00\x00\x00", 5); // 8 bits, RGBA, deflate, no filter method, no interlace
    pngChunk(out, "IHDR", header);
    pngChunk(out, "IDAT", zlibStored(rgbaRows(image, true)));
    pngChunk(out, "IEND", "");
    return out;
}

std::string tiffFile(const TestImage& image) {
    const uint32_t entries = 11;
    const uint32_t bitsOffset = 8 + 2 + entries * 12 + 4;
    const uint32_t pixelOffset = bitsOffset + 8;
    const uint32_t pixelBytes = static_cast<uint32_t>(image.width * image.height * 4);
    std::string out = "II*";
    out += '\0';
    put32(out, 8);
    put16(out, entries);
    const uint16_t shortType = 3, longType = 4;
    tiffEntry(out, 256, longType, 1, static_cast<uint32_t>(image.width));
    tiffEntry(out, 257, longType, 1, static_cast<uint32_t>(image.height));
    tiffEntry(out, 258, shortType, 4, bitsOffset); // 8 bits in each of the four samples
    tiffEntry(out, 259, shortType, 1, 1);          // no compression
    tiffEntry(out, 262, shortType, 1, 2);          // RGB
    tiffEntry(out, 273, longType, 1, pixelOffset);
    tiffEntry(out, 277, shortType, 1, 4);
    tiffEntry(out, 278, longType, 1, static_cast<uint32_t>(image.height));
    tiffEntry(out, 279, longType, 1, pixelBytes);
    tiffEntry(out, 284, shortType, 1, 1); // samples interleaved
    tiffEntry(out, 338, shortType, 1, 2); // the fourth sample is straight alpha
    put32(out, 0);
    for (int i = 0; i < 4; ++i)
        put16(out, 8);
    return out + rgbaRows(image, false);
}

uint32_t premultiplied(uint32_t argb) {
    uint32_t alpha = channel(argb, 24);
    uint32_t result = alpha << 24;
    for (int shift : {16, 8, 0})
        result |= (channel(argb, shift) * alpha / 255) << shift;
    return result;
}
