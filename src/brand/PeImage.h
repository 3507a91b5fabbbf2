#pragma once
// The parts of a Portable Executable image (PE32 or PE32+) that branding reads and rewrites: the headers, the
// section table and the data directories. Nothing in the file is trusted: every offset is checked against its
// bytes before it is used. Portable: no Windows headers.
#include "support/LittleEndian.h"

#include <string>

constexpr size_t sectionHeaderSize = 40; // one entry of the section table

struct PeSection {
    size_t header = 0; // where its entry lies in the section table
    uint32_t virtualSize = 0;
    uint32_t virtualAddress = 0;
    uint32_t rawSize = 0;
    uint32_t rawPointer = 0;
    uint32_t characteristics = 0;

    // The address space it takes: its virtual size, or its file size when a linker left the former 0.
    uint32_t span() const { return virtualSize ? virtualSize : rawSize; }
    bool holds(uint32_t rva) const { return rva >= virtualAddress && rva - virtualAddress < span(); }
};

struct PeDirectory {
    uint32_t rva = 0;
    uint32_t size = 0;
};

enum PeDirectoryIndex : uint32_t { resourceDirectory = 2, certificateDirectory = 4, relocationDirectory = 5 };

// Offsets into the optional header, the same in both formats.
enum PeOptionalField : size_t {
    initializedDataField = 8,
    sizeOfImageField = 56,
    sizeOfHeadersField = 60,
    checksumField = 64
};

struct PeImage {
    size_t fileHeader = 0;     // the COFF header, after the "PE\0\0" signature
    size_t optionalHeader = 0; // offset in the file
    size_t directoryTable = 0; // offset in the file
    uint32_t directoryCount = 0;
    bool pe32Plus = false;
    bool dll = false;
    uint32_t sectionAlignment = 0;
    uint32_t fileAlignment = 0;
    uint32_t sizeOfHeaders = 0;
    std::vector<PeSection> sections;

    PeDirectory directory(const Bytes& file, uint32_t index) const;
    // The file's bytes from rva to the end of its section's data (0 of them when rva lies in no section's data).
    const uint8_t* bytesAt(const Bytes& file, uint32_t rva, size_t& available) const;
    // The end of the last section's data in the file: what follows is not part of the image.
    size_t rawEnd() const;
};

// Fills `image` from the file's headers; false with a reason when they are truncated or inconsistent.
bool readPeImage(const Bytes& file, PeImage& image, std::string& error);

// The checksum the loader of drivers and the signing tools compare against the optional header's field.
uint32_t peChecksum(const Bytes& file, size_t checksumOffset);

inline uint64_t alignUp(uint64_t value, uint32_t alignment) { return (value + alignment - 1) / alignment * alignment; }
