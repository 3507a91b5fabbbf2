#pragma once
// An image's resources as a flat list (type, name, language, data), read from its resource directory and laid
// out into a new one. Portable: no Windows headers.
#include "PeImage.h"

#include <string>
#include <utility>

// A resource type or name: a number, or a text as stored (resource compilers store names in capitals).
struct ResourceId {
    ResourceId(uint16_t number = 0) : number(number) {}
    explicit ResourceId(std::u16string text) : text(std::move(text)) {}

    uint16_t number = 0;
    std::u16string text;

    bool named() const { return !text.empty(); }
    bool operator==(const ResourceId& other) const { return number == other.number && text == other.text; }
    // Directory order: names first, by their UTF-16 units, then numbers, ascending.
    bool operator<(const ResourceId& other) const;
};

struct Resource {
    ResourceId type;
    ResourceId name;
    uint16_t language = 0;
    uint32_t codePage = 0;
    Bytes data;
};

using ResourceList = std::vector<Resource>;

// The standard types branding touches.
enum ResourceType : uint16_t { iconType = 3, rcdataType = 10, groupIconType = 14, versionType = 16, manifestType = 24 };

// False with a reason when the directory is damaged: an offset outside the section, a level too many or too
// few, more entries or data than the file could hold. An image without resources gives an empty list.
bool readResources(const Bytes& file, const PeImage& image, ResourceList& resources, std::string& error);

// A resource section for the list, for the address it will have in the image.
Bytes layOutResources(ResourceList resources, uint32_t sectionRva);
