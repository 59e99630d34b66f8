// The JPEG decoder on the program's own pictures, on pictures made here with
// libjpeg's compressor, on damaged data, and on the fuzzer's committed corpus,
// replayed through the decoder of every target the unit tests are built for.
#include "ui/picture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace {

std::vector<std::uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A small JPEG in the given colour space, encoded with libjpeg itself.
std::vector<std::uint8_t> encode(int width, int height, J_COLOR_SPACE space, int components,
                                 const std::vector<std::uint8_t>& samples) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr error;
    cinfo.err = jpeg_std_error(&error);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = components;
    cinfo.in_color_space = space;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 100, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(samples.data() + cinfo.next_scanline * width * components);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<std::uint8_t> out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

TEST(Picture, ProgramPicturesDecodeAtTheirSizes) {
    const struct {
        const char* file;
        int width, height;
    } cases[] = {
        {"panel1.jpg", 540, 88}, {"panel2.jpg", 540, 178},      {"panel3.jpg", 540, 120},
        {"panel4.jpg", 540, 214}, {"query_button.jpg", 127, 65},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        std::vector<std::uint8_t> data = readFile(std::string(ASSETS_DIR "/") + c.file);
        ASSERT_FALSE(data.empty());
        RgbImage image;
        ASSERT_TRUE(decodeJpeg(data.data(), data.size(), image));
        EXPECT_EQ(image.width, c.width);
        EXPECT_EQ(image.height, c.height);
        EXPECT_EQ(image.rgb.size(), static_cast<std::size_t>(c.width * c.height * 3));
    }
}

TEST(Picture, GreyscaleIsExpandedToRgb) {
    std::vector<std::uint8_t> grey(16 * 8);
    for (std::size_t i = 0; i < grey.size(); ++i) grey[i] = i % 16 < 8 ? 40 : 200;
    std::vector<std::uint8_t> jpeg = encode(16, 8, JCS_GRAYSCALE, 1, grey);
    RgbImage image;
    ASSERT_TRUE(decodeJpeg(jpeg.data(), jpeg.size(), image));
    ASSERT_EQ(image.rgb.size(), 16u * 8u * 3u);
    for (std::size_t i = 0; i < grey.size(); ++i) {
        EXPECT_EQ(image.rgb[3 * i], image.rgb[3 * i + 1]);
        EXPECT_EQ(image.rgb[3 * i], image.rgb[3 * i + 2]);
        EXPECT_NEAR(image.rgb[3 * i], grey[i], 12) << "pixel " << i;
    }
}

TEST(Picture, ColourPictureKeepsItsColours) {
    std::vector<std::uint8_t> rgb;
    for (int i = 0; i < 16 * 16; ++i) rgb.insert(rgb.end(), {46, 43, 41});
    std::vector<std::uint8_t> jpeg = encode(16, 16, JCS_RGB, 3, rgb);
    RgbImage image;
    ASSERT_TRUE(decodeJpeg(jpeg.data(), jpeg.size(), image));
    EXPECT_NEAR(image.rgb[0], 46, 2);
    EXPECT_NEAR(image.rgb[1], 43, 2);
    EXPECT_NEAR(image.rgb[2], 41, 2);
}

TEST(Picture, DamagedDataGivesNoPicture) {
    std::vector<std::uint8_t> good = readFile(ASSETS_DIR "/panel1.jpg");
    ASSERT_GT(good.size(), 200u);
    // A frame header that asks for 12-bit samples, which the decoder does not take.
    std::vector<std::uint8_t> twelveBit = good;
    for (std::size_t i = 0; i + 4 < twelveBit.size(); ++i) {
        if (twelveBit[i] == 0xFF && twelveBit[i + 1] == 0xC0) {
            twelveBit[i + 4] = 12;
            break;
        }
    }
    const std::vector<std::uint8_t> cases[] = {
        {},
        {0xFF, 0xD8},
        std::vector<std::uint8_t>(good.begin(), good.begin() + 100),
        twelveBit,
        std::vector<std::uint8_t>(64, 0xAB),
    };
    for (const auto& data : cases) {
        SCOPED_TRACE(data.size());
        RgbImage image;
        image.width = 7;
        EXPECT_FALSE(decodeJpeg(data.data(), data.size(), image));
        EXPECT_EQ(image.width, 0);
        EXPECT_TRUE(image.rgb.empty());
    }
}

// A progressive picture whose frame claims 60000 x 60000 pixels: refused from its
// header, before libjpeg would buffer every scan at that size.
TEST(Picture, HugeClaimedSizeIsRefusedFromTheHeader) {
    std::vector<std::uint8_t> data = readFile(FUZZ_CORPUS_DIR "/decode_jpeg/progressive_huge_frame.jpg");
    ASSERT_FALSE(data.empty());
    RgbImage image;
    EXPECT_FALSE(decodeJpeg(data.data(), data.size(), image));
    EXPECT_TRUE(image.rgb.empty());
}

// Every input of the committed fuzz corpus, through the decoder built for this
// target (its SIMD routines included): decoded whole, or refused with nothing
// left behind, and never a crash.
TEST(Picture, FuzzCorpusDecodesWholeOrIsRefused) {
    int decoded = 0, refused = 0;
    for (const auto& file : std::filesystem::directory_iterator(FUZZ_CORPUS_DIR "/decode_jpeg")) {
        if (!file.is_regular_file()) continue;
        SCOPED_TRACE(file.path().filename().string());
        const std::vector<std::uint8_t> data = readFile(file.path().string());
        RgbImage image;
        image.width = -1;
        image.rgb.assign(5, 0);
        if (decodeJpeg(data.data(), data.size(), image)) {
            ++decoded;
            ASSERT_GT(image.width, 0);
            ASSERT_GT(image.height, 0);
            ASSERT_EQ(image.rgb.size(),
                      static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) * 3);
        } else {
            ++refused;
            EXPECT_EQ(image.width, 0);
            EXPECT_EQ(image.height, 0);
            EXPECT_TRUE(image.rgb.empty());
        }
    }
    EXPECT_GT(decoded, 0);
    EXPECT_GT(refused, 0);
    std::printf("fuzz corpus: %d decoded, %d refused\n", decoded, refused);
}

}  // namespace
