// libjpeg reports fatal errors through an error exit that must not return; it
// longjmps back to decodeScanlines. That function holds no C++ object with a
// destructor between setjmp and longjmp: the pixels go into a malloc'd buffer
// that the caller hands to the image only after success.
#include "ui/picture.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

namespace {

struct ErrorExit {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void onJpegError(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<ErrorExit*>(cinfo->err)->jump, 1);
}

void ignoreJpegMessage(j_common_ptr) {}

// Far beyond any picture of the program; keeps a hostile header from asking for
// gigabytes.
constexpr std::size_t kMaxPixels = std::size_t{1} << 26;

struct Decoded {
    unsigned char* pixels;
    int width;
    int height;
};

// Decodes into out->pixels (malloc'd, RGB). Returns false after any libjpeg error.
bool decodeScanlines(const unsigned char* data, unsigned long size, Decoded* out) {
    jpeg_decompress_struct cinfo;
    ErrorExit error;
    cinfo.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = onJpegError;
    error.manager.output_message = ignoreJpegMessage;
    unsigned char* volatile pixels = nullptr;
    unsigned char* volatile row = nullptr;
    if (setjmp(error.jump) != 0) {
        std::free(pixels);
        std::free(row);
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, size);
    jpeg_read_header(&cinfo, TRUE);
    // The output's size and colour space are checked before decompression starts:
    // for a progressive or multi-scan picture jpeg_start_decompress already reads
    // every scan into buffers of the whole picture's size, so a header that only
    // claims a huge size would otherwise cost gigabytes before being refused.
    jpeg_calc_output_dimensions(&cinfo);
    int components = cinfo.output_components;
    bool colourOk = (cinfo.out_color_space == JCS_RGB && components == 3) ||
                    (cinfo.out_color_space == JCS_GRAYSCALE && components == 1);
    std::size_t width = cinfo.output_width, height = cinfo.output_height;
    if (!colourOk || width == 0 || height == 0 || width * height > kMaxPixels) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_start_decompress(&cinfo);
    pixels = static_cast<unsigned char*>(std::malloc(width * height * 3));
    row = static_cast<unsigned char*>(std::malloc(width * static_cast<std::size_t>(components)));
    if (pixels == nullptr || row == nullptr) {
        std::free(pixels);
        std::free(row);
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        unsigned char* target = pixels + static_cast<std::size_t>(cinfo.output_scanline) * width * 3;
        JSAMPROW rows[1] = {row};
        jpeg_read_scanlines(&cinfo, rows, 1);
        if (components == 3) {
            std::memcpy(target, row, width * 3);
        } else {
            for (std::size_t x = 0; x < width; ++x) target[3 * x] = target[3 * x + 1] = target[3 * x + 2] = row[x];
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    std::free(row);
    *out = {pixels, static_cast<int>(width), static_cast<int>(height)};
    return true;
}

}  // namespace

bool decodeJpeg(const std::uint8_t* data, std::size_t size, RgbImage& image) {
    image = {};
    if (data == nullptr || size == 0 || size > 0xFFFFFFFFu) return false;
    Decoded decoded{nullptr, 0, 0};
    if (!decodeScanlines(data, static_cast<unsigned long>(size), &decoded)) return false;
    std::size_t bytes = static_cast<std::size_t>(decoded.width) * static_cast<std::size_t>(decoded.height) * 3;
    image.width = decoded.width;
    image.height = decoded.height;
    image.rgb.assign(decoded.pixels, decoded.pixels + bytes);
    std::free(decoded.pixels);
    return true;
}
