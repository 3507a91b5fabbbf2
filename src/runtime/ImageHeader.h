#pragma once
// Reads the machine type of a Portable Executable image from its bytes, trusting nothing in them.
// Portable: no Windows headers.
#include <cstddef>
#include <cstdint>

// True when the bytes hold an "MZ" header whose NT headers, wholly inside the bytes, carry the "PE\0\0"
// signature and the x86 machine value 0x014C. Anything short, truncated or malformed gives false.
bool isX86Image(const uint8_t* bytes, size_t size);
