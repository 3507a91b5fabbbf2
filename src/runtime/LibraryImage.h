#pragma once
// Questions about a runtime library file on disk.
#include <string>

// True when the file is an image of the companion's width (a runtime only the companion launcher can host: x86 for
// the 64-bit launcher, x64 for the 32-bit one). A file that cannot be opened or mapped, or is no valid image, gives
// false.
bool isCompanionLibrary(const std::wstring& path);
