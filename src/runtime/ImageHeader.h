#pragma once
// Reads the machine type of a Portable Executable image from its bytes, trusting nothing in them.
// Portable: no Windows headers.
#include <cstddef>
#include <cstdint>

constexpr uint16_t machineI386 = 0x014C;
constexpr uint16_t machineAmd64 = 0x8664;

// The file header's Machine value when the bytes hold an "MZ" header whose NT headers, wholly inside the bytes up
// to that field, carry the "PE\0\0" signature; 0 for anything short, truncated or malformed.
uint16_t imageMachine(const uint8_t* bytes, size_t size);
