#pragma once
// The images of an icon file (.ico) and the resources that carry them in an executable: one icon resource per
// image and the group that lists them, which is what the shell and LoadImage read. Portable: no Windows headers.
#include "ResourceTree.h"

#include <string>

struct IconImage {
    uint8_t entry[12]; // width, height, colours, reserved, planes, bits per pixel, byte count: as the file has it
    Bytes data;        // a PNG stream or a device-independent bitmap
};

// False with a reason when the bytes are not an icon file with at least one image, each wholly inside the file.
bool readIconFile(const Bytes& file, std::vector<IconImage>& images, std::string& error);

// Replaces the group the shell shows (the first in directory order), in its language, and the icons that only it
// used; without a group the images become group 1. The new icons take the lowest numbers no other icon has.
void replaceIcon(ResourceList& resources, const std::vector<IconImage>& images);
