#pragma once
// Image files written byte by byte, so that what the launcher decodes is known exactly and no encoder of the
// machine under test makes them.
#include <cstdint>
#include <string>
#include <vector>

// Pixels as 0xAARRGGBB, rows from the top.
struct TestImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> argb;
};

// Every pixel different (the position is in its colour), fully opaque.
TestImage opaqueTestImage(int width, int height);

std::string bmpFile(const TestImage& image);  // 32 bits per pixel, alpha dropped
std::string tiffFile(const TestImage& image); // 8-bit RGBA, straight alpha, uncompressed
// A BMP of any size in a few bytes: 8-bit run lengths that end the bitmap at once (the rest is the first colour).
std::string runLengthBmpFile(int width, int height);
