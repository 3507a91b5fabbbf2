#pragma once
// Puts a new resource section into an image. Where the old one can go whole (only discardable sections such as
// the relocations follow it, and nothing points into those but their own directory) the new one takes its place
// and those sections move up behind it; otherwise the new one is added after the last section and the old one
// stays, unused. Either way the result is a complete image: adjacent sections, the image size, the data
// directories and the checksum agree with it, and nothing follows the last section but what followed it
// before. Portable: no Windows headers.
#include "PeImage.h"

#include <string>

struct ResourcePlacement {
    size_t first = 0;      // the first section rewritten: the old resource section, or the count when adding one
    uint32_t rva = 0;      // the address of the new resource section
    bool appended = false; // a section is added after the last one
};

bool placeResources(const Bytes& file, const PeImage& image, ResourcePlacement& placement, std::string& error);

// The image with `resources`, laid out for placement.rva, as its resource section.
Bytes withResourceSection(const Bytes& file, const PeImage& image, const ResourcePlacement& placement,
                          const Bytes& resources);
