#include "Branding.h"

#include "Manifest.h"
#include "ResourceSection.h"

#include <algorithm>

namespace {

constexpr uint16_t versionName = 1;    // the one version resource Windows reads
constexpr uint16_t settingsName = 300; // the launcher's built-in settings
constexpr uint16_t manifestName = 1;   // the manifest a process is created with
constexpr uint16_t neutralLanguage = 0;

bool isResource(const Resource& resource, uint16_t type, uint16_t name) {
    return resource.type == ResourceId(type) && resource.name == ResourceId(name);
}

// Every language of the resource gives way to one, in the language of the first of them.
void replaceResource(ResourceList& resources, uint16_t type, uint16_t name, const Bytes& data) {
    Resource replacement{ResourceId{type}, ResourceId{name}, neutralLanguage, 0, data};
    auto same = [&](const Resource& resource) { return isResource(resource, type, name); };
    auto first = std::find_if(resources.begin(), resources.end(), same);
    if (first != resources.end())
        replacement.language = first->language;
    resources.erase(std::remove_if(resources.begin(), resources.end(), same), resources.end());
    resources.push_back(replacement);
}

bool setManifestLevel(ResourceList& resources, const std::string& level, std::string& error) {
    auto manifest = std::find_if(resources.begin(), resources.end(),
                                 [](const Resource& r) { return isResource(r, manifestType, manifestName); });
    std::string text = manifest == resources.end() ? manifestWithLevel(level)
                                                   : std::string(manifest->data.begin(), manifest->data.end());
    if (!setExecutionLevel(text, level, error))
        return false;
    replaceResource(resources, manifestType, manifestName, Bytes(text.begin(), text.end()));
    return true;
}

} // namespace

bool brandImage(const Bytes& file, const PeImage& image, const Branding& branding, Bytes& branded, std::string& error) {
    if (image.directory(file, certificateDirectory).size != 0)
        return error = "it is signed, and branding would break the signature: brand the unsigned exe and sign the "
                       "result",
               false;
    ResourceList resources;
    if (!readResources(file, image, resources, error) || !setManifestLevel(resources, branding.executionLevel, error))
        return false;
    if (!branding.icon.empty())
        replaceIcon(resources, branding.icon);
    if (!branding.version.empty())
        replaceResource(resources, versionType, versionName, branding.version);
    if (!branding.settings.empty())
        replaceResource(resources, rcdataType, settingsName, branding.settings);
    ResourcePlacement placement;
    if (!placeResources(file, image, placement, error))
        return false;
    branded = withResourceSection(file, image, placement, layOutResources(resources, placement.rva));
    return true;
}
