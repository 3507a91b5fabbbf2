#include "ResourceSection.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t discardable = 0x02000000;
constexpr uint32_t initializedData = 0x00000040;
constexpr uint32_t readable = 0x40000000;

size_t sectionOf(const PeImage& image, uint32_t rva) {
    for (size_t i = 0; i < image.sections.size(); ++i) {
        if (image.sections[i].holds(rva))
            return i;
    }
    return image.sections.size();
}

// Relocations that point at an address the move would shift would leave stale pointers behind.
bool relocationsBelow(const Bytes& file, const PeImage& image, uint32_t limit) {
    const PeDirectory relocations = image.directory(file, relocationDirectory);
    size_t available = 0;
    const uint8_t* blocks = image.bytesAt(file, relocations.rva, available);
    const size_t size = blocks ? std::min<size_t>(available, relocations.size) : 0;
    for (size_t at = 0; at + 8 <= size;) {
        const uint32_t blockSize = readUint32(blocks + at + 4);
        if (readUint32(blocks + at) >= limit)
            return false;
        if (blockSize < 8)
            break;
        at += blockSize;
    }
    return true;
}

// Only the resource directory may point into the resource section, and only the relocation directory into the
// sections behind it; their data must follow the resource section's in the file as their addresses do.
bool canReplace(const Bytes& file, const PeImage& image, size_t first) {
    const PeSection& resources = image.sections[first];
    for (size_t i = 0; i < image.sections.size(); ++i) {
        const PeSection& section = image.sections[i];
        const bool raw = section.rawSize != 0;
        if (i < first && raw && section.rawPointer + section.rawSize > resources.rawPointer)
            return false;
        if (i > first &&
            (!(section.characteristics & discardable) || (raw && section.rawPointer < resources.rawPointer)))
            return false;
    }
    for (uint32_t index = 0; index < image.directoryCount; ++index) {
        const PeDirectory directory = image.directory(file, index);
        const size_t holder = sectionOf(image, directory.rva);
        if (index == certificateDirectory || directory.rva == 0 || holder < first || holder == image.sections.size())
            continue;
        const bool allowed =
            index == resourceDirectory ? holder == first : index == relocationDirectory && holder > first;
        if (!allowed)
            return false;
    }
    return resources.rawSize != 0 && relocationsBelow(file, image, resources.virtualAddress);
}

uint32_t initializedSize(const std::vector<PeSection>& sections) {
    uint32_t total = 0;
    for (const PeSection& section : sections)
        total += section.characteristics & initializedData ? section.rawSize : 0;
    return total;
}

uint32_t nextAddress(const PeSection& previous, uint32_t alignment) {
    return static_cast<uint32_t>(alignUp(uint64_t(previous.virtualAddress) + previous.span(), alignment));
}

// Puts the section's data at the end of `out`, padded to the file alignment, and the section's entry with it.
void appendSection(Bytes& out, PeSection& section, const uint8_t* data, uint32_t size, uint32_t fileAlignment) {
    section.rawPointer = size ? static_cast<uint32_t>(out.size()) : 0;
    section.rawSize = static_cast<uint32_t>(alignUp(size, fileAlignment));
    out.insert(out.end(), data, data + size);
    padTo(out, fileAlignment);
}

// The new section table: the sections before the first rewritten one as they are, the resource section, then
// the sections that move, each right behind the one before it.
std::vector<PeSection> placeSections(const Bytes& file, const PeImage& image, const ResourcePlacement& placement,
                                     const Bytes& resources, Bytes& out) {
    std::vector<PeSection> sections(image.sections.begin(), image.sections.begin() + placement.first);
    PeSection resourceSection;
    if (placement.appended) {
        resourceSection.header = image.sections.back().header + sectionHeaderSize;
        resourceSection.characteristics = initializedData | readable;
    } else {
        resourceSection = image.sections[placement.first];
    }
    resourceSection.virtualAddress = placement.rva;
    resourceSection.virtualSize = static_cast<uint32_t>(resources.size());
    appendSection(out, resourceSection, resources.data(), resourceSection.virtualSize, image.fileAlignment);
    sections.push_back(resourceSection);
    for (size_t i = placement.first + 1; !placement.appended && i < image.sections.size(); ++i) {
        PeSection moved = image.sections[i];
        moved.virtualAddress = nextAddress(sections.back(), image.sectionAlignment);
        appendSection(out, moved, file.data() + moved.rawPointer, moved.rawSize, image.fileAlignment);
        sections.push_back(moved);
    }
    return sections;
}

void writeSectionTable(Bytes& out, const std::vector<PeSection>& sections) {
    for (const PeSection& section : sections) {
        uint8_t* header = out.data() + section.header;
        writeUint32(header + 8, section.virtualSize);
        writeUint32(header + 12, section.virtualAddress);
        writeUint32(header + 16, section.rawSize);
        writeUint32(header + 20, section.rawPointer);
        writeUint32(header + 36, section.characteristics);
    }
}

void writeDirectory(Bytes& out, const PeImage& image, uint32_t index, PeDirectory directory) {
    writeUint32(out.data() + image.directoryTable + 8 * index, directory.rva);
    writeUint32(out.data() + image.directoryTable + 8 * index + 4, directory.size);
}

// Everything in the headers that depends on where the sections lie. `shift` is how far the bytes behind the
// last section moved.
void writeHeaders(Bytes& out, const Bytes& file, const PeImage& image, const std::vector<PeSection>& sections,
                  int64_t shift) {
    if (sections.size() > image.sections.size()) {
        std::memset(out.data() + sections.back().header, 0, sectionHeaderSize);
        std::memcpy(out.data() + sections.back().header, ".rsrc", 5);
    }
    writeSectionTable(out, sections);
    writeUint16(out.data() + image.fileHeader + 2, static_cast<uint16_t>(sections.size()));
    const PeDirectory relocations = image.directory(file, relocationDirectory);
    const size_t holder = sectionOf(image, relocations.rva);
    if (relocations.rva != 0 && holder < image.sections.size())
        writeDirectory(out, image, relocationDirectory,
                       {relocations.rva - image.sections[holder].virtualAddress + sections[holder].virtualAddress,
                        relocations.size});
    uint8_t* optional = out.data() + image.optionalHeader;
    writeUint32(optional + sizeOfImageField, nextAddress(sections.back(), image.sectionAlignment));
    writeUint32(optional + initializedDataField, readUint32(optional + initializedDataField) -
                                                     initializedSize(image.sections) + initializedSize(sections));
    const uint32_t symbols = readUint32(out.data() + image.fileHeader + 8);
    if (symbols >= image.rawEnd())
        writeUint32(out.data() + image.fileHeader + 8, static_cast<uint32_t>(symbols + shift));
    writeUint32(optional + checksumField, peChecksum(out, image.optionalHeader + checksumField));
}

} // namespace

bool placeResources(const Bytes& file, const PeImage& image, ResourcePlacement& placement, std::string& error) {
    const PeDirectory directory = image.directory(file, resourceDirectory);
    const size_t first = sectionOf(image, directory.rva);
    if (directory.rva != 0 && first < image.sections.size() && image.sections[first].virtualAddress == directory.rva &&
        canReplace(file, image, first)) {
        placement = ResourcePlacement{first, directory.rva, false};
        return true;
    }
    if (image.directoryCount <= resourceDirectory)
        return error = "it has no entry for a resource directory", false;
    const size_t tableEnd = image.sections.back().header + sectionHeaderSize;
    size_t roomEnd = image.sizeOfHeaders;
    for (const PeSection& section : image.sections)
        roomEnd = section.rawSize ? std::min<size_t>(roomEnd, section.rawPointer) : roomEnd;
    // Bound imports may follow the section table in the headers.
    for (uint32_t index = 0; index < image.directoryCount; ++index) {
        const uint32_t rva = image.directory(file, index).rva;
        roomEnd = index != certificateDirectory && rva >= tableEnd ? std::min<size_t>(roomEnd, rva) : roomEnd;
    }
    if (tableEnd + sectionHeaderSize > roomEnd)
        return error = "its headers have no room for another section", false;
    placement =
        ResourcePlacement{image.sections.size(), nextAddress(image.sections.back(), image.sectionAlignment), true};
    return true;
}

Bytes withResourceSection(const Bytes& file, const PeImage& image, const ResourcePlacement& placement,
                          const Bytes& resources) {
    const size_t end = image.rawEnd();
    Bytes out(file.begin(), file.begin() + (placement.appended ? end : image.sections[placement.first].rawPointer));
    padTo(out, image.fileAlignment);
    std::vector<PeSection> sections = placeSections(file, image, placement, resources, out);
    const int64_t shift = int64_t(out.size()) - int64_t(end);
    out.insert(out.end(), file.begin() + end, file.end());
    writeDirectory(out, image, resourceDirectory, {placement.rva, static_cast<uint32_t>(resources.size())});
    writeHeaders(out, file, image, sections, shift);
    return out;
}
