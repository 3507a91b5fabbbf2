#pragma once
// The branding tool's command line: koru-brand [options] <launcher exe> <branded exe>. Portable: no Windows
// headers.
#include <string>
#include <vector>

struct BrandToolResult {
    int exitCode = 0;    // 0: written (or help shown); 1: an input was refused, nothing written; 2: bad usage
    std::string message; // for standard output after --help, for standard error otherwise
};

BrandToolResult runBrandTool(const std::vector<std::u16string>& arguments);
