// libjpeg reports fatal errors through an error exit that must not return; it
// longjmps back to decodeScanlines. That function holds no C++ object with a
// destructor between setjmp and longjmp, and the pixel memory belongs to the
// caller, who keeps or drops it by the result.
#include "ui/picture.h"

#include <csetjmp>
#include <cstdio>
#include <utility>

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

// A row of grey samples at the start of the row becomes RGB in place, from the
// right, so no sample is overwritten before it is read.
void expandGrey(unsigned char* row, std::size_t width) {
    for (std::size_t x = width; x-- > 0;) row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = row[x];
}

void swapRedBlue(unsigned char* row, std::size_t width) {
    for (std::size_t x = 0; x < width; ++x) std::swap(row[3 * x], row[3 * x + 2]);
}

bool decodeScanlines(const unsigned char* data, unsigned long size, PixelLayout layout, AllocatePixels allocate,
                     void* context) {
    jpeg_decompress_struct cinfo;
    ErrorExit error;
    cinfo.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = onJpegError;
    error.manager.output_message = ignoreJpegMessage;
    if (setjmp(error.jump) != 0) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, size);
    jpeg_read_header(&cinfo, TRUE);
    // RGB and greyscale pictures only, in libjpeg's default output colour space.
    const bool grey = cinfo.out_color_space == JCS_GRAYSCALE;
    if (cinfo.out_color_space != JCS_RGB && !grey) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    // The output's size is checked before decompression starts: for a progressive
    // or multi-scan picture jpeg_start_decompress already reads every scan into
    // buffers of the whole picture's size, so a header that only claims a huge
    // size would otherwise cost gigabytes before being refused.
    jpeg_calc_output_dimensions(&cinfo);
    const std::size_t width = cinfo.output_width, height = cinfo.output_height;
    const std::size_t rowBytes = width * 3;  // a greyscale row is read into its first third
    if (width == 0 || height == 0 || width * height > kMaxPixels) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    const PixelTarget target = allocate(context, static_cast<int>(width), static_cast<int>(height));
    if (target.pixels == nullptr || target.stride < rowBytes) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_start_decompress(&cinfo);
    while (cinfo.output_scanline < cinfo.output_height) {
        unsigned char* row = target.pixels + static_cast<std::size_t>(cinfo.output_scanline) * target.stride;
        JSAMPROW rows[1] = {row};
        jpeg_read_scanlines(&cinfo, rows, 1);
        if (grey) expandGrey(row, width);
        if (layout == PixelLayout::bgr) swapRedBlue(row, width);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

PixelTarget allocateRgbImage(void* context, int width, int height) {
    auto& image = *static_cast<RgbImage*>(context);
    image.width = width;
    image.height = height;
    const std::size_t stride = static_cast<std::size_t>(width) * 3;
    image.rgb.resize(stride * static_cast<std::size_t>(height));
    return {image.rgb.data(), stride};
}

}  // namespace

bool decodeJpegInto(const std::uint8_t* data, std::size_t size, PixelLayout layout, AllocatePixels allocate,
                    void* context) {
    if (data == nullptr || size == 0 || size > 0xFFFFFFFFu || allocate == nullptr) return false;
    return decodeScanlines(data, static_cast<unsigned long>(size), layout, allocate, context);
}

bool decodeJpeg(const std::uint8_t* data, std::size_t size, RgbImage& image) {
    image = {};
    if (decodeJpegInto(data, size, PixelLayout::rgb, allocateRgbImage, &image)) return true;
    image = {};
    return false;
}
