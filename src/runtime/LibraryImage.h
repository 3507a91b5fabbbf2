#pragma once
// Questions about a runtime library file on disk.
#include <string>

// True when the file is a 32-bit x86 image (a runtime only a 32-bit companion launcher can host). A file that
// cannot be opened or mapped, or is no valid image, gives false.
bool isX86Library(const std::wstring& path);
