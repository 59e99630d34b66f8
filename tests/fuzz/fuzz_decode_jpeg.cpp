// Fuzzes the JPEG decoder with arbitrary bytes: it either refuses them and leaves
// the image empty, or gives an image whose pixel buffer holds exactly width ×
// height RGB pixels. A crash, a leak (LeakSanitizer) or a read outside the input
// (ASan) is a finding as well.
#include "ui/picture.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    RgbImage image;
    image.width = -1;  // stale contents that a refusal must clear
    image.rgb.assign(5, 0);
    const bool decoded = decodeJpeg(data, size, image);
    bool consistent;
    if (decoded) {
        consistent = image.width > 0 && image.height > 0 &&
                     image.rgb.size() == static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) * 3;
    } else {
        consistent = image.width == 0 && image.height == 0 && image.rgb.empty();
    }
    if (!consistent) {
        std::fprintf(stderr, "decodeJpeg gave %s with %d x %d and %zu bytes of pixels\n", decoded ? "true" : "false",
                     image.width, image.height, image.rgb.size());
        std::abort();
    }
    return 0;
}
