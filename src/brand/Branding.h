#pragma once
// Writes an application's own icon, version information, built-in settings and requested execution level into
// a copy of the launcher's image. Portable: no Windows headers.
#include "IconFile.h"
#include "PeImage.h"

#include <string>

struct Branding {
    std::vector<IconImage> icon; // none: the image keeps its icon
    Bytes version;               // a version resource; empty: the image keeps its version information
    Bytes settings;              // a built-in settings resource; empty: the image keeps its settings text
    std::string executionLevel = "asInvoker";
};

// False with a reason, and `branded` untouched, when the image is signed (branding would void the signature)
// or its resources or manifest cannot be read.
bool brandImage(const Bytes& file, const PeImage& image, const Branding& branding, Bytes& branded, std::string& error);
