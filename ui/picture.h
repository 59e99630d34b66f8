// JPEG pictures decoded through libjpeg's decompression interface into 24-bit
// RGB. Portable, so the decoder is tested and fuzzed on Linux too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;  // rows top to bottom, 3 bytes a pixel, no padding
};

// Decodes once; false (and `image` left empty) for anything libjpeg rejects
// through its error exit, or a colour space that is neither RGB nor greyscale.
bool decodeJpeg(const std::uint8_t* data, std::size_t size, RgbImage& image);
