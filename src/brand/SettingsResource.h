#pragma once
// The built-in settings text as the launcher reads it from resource 300 (RCDATA), made the way the build's
// settings option makes it. Portable: no Windows headers.
#include "support/LittleEndian.h"

#include <string>

// UTF-16 with its byte-order mark is kept as it is; any other text must be UTF-8, and its line ends (LF, CR or
// CR LF) all become CR LF, the only ones the launcher splits at. False with a reason when the text is neither,
// or when the launcher would find no [section] line in it.
bool settingsResource(const Bytes& text, Bytes& resource, std::string& error);
