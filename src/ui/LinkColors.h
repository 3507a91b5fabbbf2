#pragma once
// The browser's link colours as the user's settings store them: "R,G,B" in decimal.
// Portable: no Windows headers.
#include <cstdint>
#include <string>

// Longest value text taken; longer values are ignored whole.
constexpr size_t maxAnchorColorLength = 11;

// The colour in COLORREF layout (0x00BBGGRR). Red and green each end at a comma, blue is the rest and must not be
// empty; each number keeps its low 8 bits. False (colour untouched) without both commas or with an empty blue.
bool parseAnchorColor(const std::wstring& text, uint32_t& colour);
