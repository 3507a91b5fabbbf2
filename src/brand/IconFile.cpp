#include "IconFile.h"

#include <algorithm>
#include <cstring>
#include <set>

namespace {

constexpr size_t fileHeaderSize = 6;
constexpr size_t fileEntrySize = 16;
constexpr size_t groupEntrySize = 14;
constexpr uint8_t pngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr uint32_t bitmapHeaderSize = 40;

bool isImageData(const uint8_t* data, uint32_t size) {
    if (size >= sizeof pngSignature && std::memcmp(data, pngSignature, sizeof pngSignature) == 0)
        return true;
    return size >= bitmapHeaderSize && readUint32(data) == bitmapHeaderSize;
}

// The icon numbers a group lists.
std::set<uint16_t> iconsOf(const Resource& group) {
    std::set<uint16_t> icons;
    const Bytes& data = group.data;
    const size_t count = data.size() >= fileHeaderSize ? readUint16(data.data() + 4) : 0;
    for (size_t i = 0; i < count && fileHeaderSize + groupEntrySize * (i + 1) <= data.size(); ++i)
        icons.insert(readUint16(data.data() + fileHeaderSize + groupEntrySize * i + 12));
    return icons;
}

bool isType(const Resource& resource, uint16_t type) { return resource.type == ResourceId(type); }

// Takes the shown group and every icon that no remaining group lists out of the list; returns that group.
Resource takeShownGroup(ResourceList& resources) {
    Resource shown;
    shown.type = groupIconType;
    shown.name = 1;
    auto first = std::min_element(resources.begin(), resources.end(), [](const Resource& a, const Resource& b) {
        return isType(a, groupIconType) && (!isType(b, groupIconType) || a.name < b.name);
    });
    if (first == resources.end() || !isType(*first, groupIconType))
        return shown;
    shown = *first;
    std::set<uint16_t> released, kept;
    for (const Resource& resource : resources) {
        if (isType(resource, groupIconType))
            (resource.name == shown.name ? released : kept).merge(iconsOf(resource));
    }
    resources.erase(std::remove_if(resources.begin(), resources.end(),
                                   [&](const Resource& r) {
                                       const bool unused = isType(r, iconType) && !r.name.named() &&
                                                           released.count(r.name.number) && !kept.count(r.name.number);
                                       return unused || (isType(r, groupIconType) && r.name == shown.name);
                                   }),
                    resources.end());
    return shown;
}

uint16_t freeIconNumber(const ResourceList& resources, uint16_t after) {
    for (uint16_t number = after + 1;; ++number) {
        auto taken = [&](const Resource& r) { return isType(r, iconType) && r.name == ResourceId(number); };
        if (std::none_of(resources.begin(), resources.end(), taken))
            return number;
    }
}

} // namespace

bool readIconFile(const Bytes& file, std::vector<IconImage>& images, std::string& error) {
    images.clear();
    error = "not an icon file (.ico)";
    if (file.size() < fileHeaderSize || readUint16(file.data()) != 0 || readUint16(file.data() + 2) != 1)
        return false;
    const size_t count = readUint16(file.data() + 4);
    if (count == 0 || file.size() < fileHeaderSize + fileEntrySize * count)
        return false;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* entry = file.data() + fileHeaderSize + fileEntrySize * i;
        const uint32_t size = readUint32(entry + 8), offset = readUint32(entry + 12);
        if (offset > file.size() || size > file.size() - offset || !isImageData(file.data() + offset, size))
            return error = "image " + std::to_string(i + 1) + " of the icon lies outside the file or is no image",
                   false;
        IconImage image;
        std::memcpy(image.entry, entry, sizeof image.entry);
        image.data.assign(file.begin() + offset, file.begin() + offset + size);
        images.push_back(image);
    }
    return true;
}

void replaceIcon(ResourceList& resources, const std::vector<IconImage>& images) {
    Resource group = takeShownGroup(resources);
    group.data.clear();
    appendUint16(group.data, 0);
    appendUint16(group.data, 1);
    appendUint16(group.data, static_cast<uint16_t>(images.size()));
    uint16_t number = 0;
    for (const IconImage& image : images) {
        number = freeIconNumber(resources, number);
        group.data.insert(group.data.end(), image.entry, image.entry + sizeof image.entry);
        appendUint16(group.data, number);
        resources.push_back(Resource{ResourceId{iconType}, ResourceId{number}, group.language, 0, image.data});
    }
    resources.push_back(group);
}
