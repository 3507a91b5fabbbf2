#pragma once
// The branding tool's files and output, one implementation for Windows (_win) and one for Linux (_posix).
#include "support/LittleEndian.h"

#include <string>

// False with the system's reason.
bool readWholeFile(const std::u16string& path, Bytes& contents, std::string& error);

// Writes a temporary file beside `path` and renames it to `path` once every byte is on disk, so that `path` is
// either the whole new file or as it was; the temporary file is removed after a failure.
bool replaceFile(const std::u16string& path, const Bytes& contents, std::string& error);

// Prints UTF-8 text on standard output or standard error.
void printText(const std::string& text, bool toError);
