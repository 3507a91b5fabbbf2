#pragma once
// The version resource: the numbers Explorer's Details tab shows as file and product version, and the texts it
// and Task Manager show (product name, company, description, copyright, original file name). Portable: no
// Windows headers.
#include "support/LittleEndian.h"

#include <string>

// "1", "1.2", "1.2.3" or "1.2.3.4": decimal numbers from 0 to 65535; missing parts are 0.
struct VersionNumber {
    uint16_t parts[4] = {0, 0, 0, 0};
};
bool parseVersionNumber(const std::u16string& text, VersionNumber& number);

struct VersionTexts {
    std::u16string fileVersion;
    std::u16string productVersion;
    std::u16string productName;
    std::u16string companyName;
    std::u16string fileDescription;
    std::u16string legalCopyright;
    std::u16string originalFilename;
};

// The resource for the texts, which hold valid version numbers, in US English and UTF-16; empty texts are left
// out. False with a reason when the texts do not fit the format's 16-bit lengths.
bool buildVersionResource(const VersionTexts& texts, bool dll, Bytes& resource, std::string& error);
