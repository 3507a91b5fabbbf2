#include "PeImage.h"

#include <algorithm>

namespace {

constexpr uint16_t dosSignature = 0x5A4D;    // "MZ"
constexpr uint32_t ntSignature = 0x00004550; // "PE\0\0"
constexpr size_t ntOffsetField = 0x3C;
constexpr uint16_t dllFlag = 0x2000;

bool isPowerOfTwo(uint32_t value) { return value != 0 && (value & (value - 1)) == 0; }

bool readOptionalHeader(const Bytes& file, PeImage& image, size_t optionalSize, std::string& error) {
    const uint8_t* optional = file.data() + image.optionalHeader;
    const uint16_t magic = readUint16(optional);
    if (magic != 0x10B && magic != 0x20B)
        return error = "its optional header is neither PE32 nor PE32+", false;
    image.pe32Plus = magic == 0x20B;
    const size_t countField = image.pe32Plus ? 108 : 92;
    if (optionalSize < countField + 4)
        return error = "its optional header is truncated", false;
    image.directoryCount = readUint32(optional + countField);
    image.directoryTable = image.optionalHeader + countField + 4;
    if (image.directoryCount > (optionalSize - countField - 4) / 8)
        return error = "its data directories do not fit in the optional header", false;
    image.sectionAlignment = readUint32(optional + 32);
    image.fileAlignment = readUint32(optional + 36);
    image.sizeOfHeaders = readUint32(optional + sizeOfHeadersField);
    if (!isPowerOfTwo(image.fileAlignment) || !isPowerOfTwo(image.sectionAlignment) ||
        image.sectionAlignment < image.fileAlignment)
        return error = "its section or file alignment is not a power of two", false;
    return true;
}

bool readSection(const Bytes& file, PeImage& image, size_t header, std::string& error) {
    const uint8_t* at = file.data() + header;
    PeSection section;
    section.header = header;
    section.virtualSize = readUint32(at + 8);
    section.virtualAddress = readUint32(at + 12);
    section.rawSize = readUint32(at + 16);
    section.rawPointer = readUint32(at + 20);
    section.characteristics = readUint32(at + 36);
    if (section.rawSize != 0 && uint64_t(section.rawPointer) + section.rawSize > file.size())
        return error = "a section's data lies past the end of the file", false;
    if (section.virtualAddress % image.sectionAlignment != 0 || section.span() == 0)
        return error = "a section has no size or an unaligned address", false;
    if (!image.sections.empty()) {
        const PeSection& last = image.sections.back();
        if (section.virtualAddress < alignUp(uint64_t(last.virtualAddress) + last.span(), image.sectionAlignment))
            return error = "its sections overlap or are out of order", false;
    }
    image.sections.push_back(section);
    return true;
}

} // namespace

bool readPeImage(const Bytes& file, PeImage& image, std::string& error) {
    image = PeImage();
    if (file.size() < ntOffsetField + 4 || readUint16(file.data()) != dosSignature)
        return error = "it has no MZ header", false;
    const uint64_t nt = readUint32(file.data() + ntOffsetField);
    if (nt + 24 > file.size() || readUint32(file.data() + nt) != ntSignature)
        return error = "it has no PE header", false;
    image.fileHeader = nt + 4;
    const uint16_t sectionCount = readUint16(file.data() + image.fileHeader + 2);
    const uint16_t optionalSize = readUint16(file.data() + image.fileHeader + 16);
    image.dll = (readUint16(file.data() + image.fileHeader + 18) & dllFlag) != 0;
    image.optionalHeader = nt + 24;
    if (optionalSize < 2 || image.optionalHeader + optionalSize > file.size())
        return error = "its optional header is truncated", false;
    if (!readOptionalHeader(file, image, optionalSize, error))
        return false;
    const size_t table = image.optionalHeader + optionalSize;
    const size_t tableEnd = table + sectionHeaderSize * sectionCount;
    if (sectionCount == 0 || tableEnd > image.sizeOfHeaders || image.sizeOfHeaders > file.size())
        return error = "its section table is missing or lies outside its headers", false;
    for (size_t header = table; header < tableEnd; header += sectionHeaderSize) {
        if (!readSection(file, image, header, error))
            return false;
    }
    return true;
}

PeDirectory PeImage::directory(const Bytes& file, uint32_t index) const {
    if (index >= directoryCount)
        return PeDirectory();
    const uint8_t* entry = file.data() + directoryTable + 8 * index;
    return PeDirectory{readUint32(entry), readUint32(entry + 4)};
}

const uint8_t* PeImage::bytesAt(const Bytes& file, uint32_t rva, size_t& available) const {
    available = 0;
    for (const PeSection& section : sections) {
        const uint32_t offset = rva - section.virtualAddress;
        if (!section.holds(rva) || offset >= section.rawSize)
            continue;
        available = std::min(section.rawSize, section.span()) - offset;
        return file.data() + section.rawPointer + offset;
    }
    return nullptr;
}

size_t PeImage::rawEnd() const {
    size_t end = sizeOfHeaders;
    for (const PeSection& section : sections)
        end = std::max<size_t>(end, section.rawSize ? section.rawPointer + section.rawSize : 0);
    return end;
}

uint32_t peChecksum(const Bytes& file, size_t checksumOffset) {
    // The field itself counts as zero, wherever it lies.
    auto byteAt = [&](size_t at) -> uint32_t { return at >= file.size() || at - checksumOffset < 4 ? 0 : file[at]; };
    uint64_t sum = 0;
    for (size_t at = 0; at < file.size(); at += 2) {
        sum += byteAt(at) | byteAt(at + 1) << 8;
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    return static_cast<uint32_t>(sum + file.size());
}
