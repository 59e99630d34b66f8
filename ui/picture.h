// JPEG pictures decoded through libjpeg's decompression interface, straight into
// the caller's pixel memory (a 24-bit DIB section for the window) or into RGB. Portable, so the decoder is tested and fuzzed on Linux too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// How the decoded pixels are laid out in each row.
enum class PixelLayout {
    rgb,  // 3 bytes a pixel: red, green, blue
    bgr,  // 3 bytes a pixel: blue, green, red (a 24-bit DIB's)
};

// Where the rows of a picture go: row y starts at pixels + y * stride.
struct PixelTarget {
    std::uint8_t* pixels = nullptr;
    std::size_t stride = 0;
};

// Asked once the picture's size is known and accepted; a null `pixels` refuses
// the picture. The memory stays the caller's, whether or not decoding succeeds.
using AllocatePixels = PixelTarget (*)(void* context, int width, int height);

// Decodes once into the memory `allocate` provides; false for anything libjpeg
// rejects through its error exit, a colour space that is neither RGB nor
// greyscale (greyscale is expanded to RGB), or a size beyond any picture of the
// program. Then the memory holds nothing meaningful.
bool decodeJpegInto(const std::uint8_t* data, std::size_t size, PixelLayout layout, AllocatePixels allocate,
                    void* context);

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;  // rows top to bottom, 3 bytes a pixel, no padding
};

// Decodes into `image`; false (and `image` left empty) as for decodeJpegInto.
bool decodeJpeg(const std::uint8_t* data, std::size_t size, RgbImage& image);
