#include "ui/skin/skin_image_pixels.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/skin/image_fixtures.h"

namespace {

using SkinUI::ConvertToPremultipliedBgra;

struct PixelCase {
    const char* what;
    unsigned char rgba[4];
    uint32_t mask;
    unsigned char bgra[4];
};

TEST(SkinImagePixels, PremultiplicationAndMask) {
    const uint32_t magenta = 0xFFFF00FF;
    const PixelCase cases[] = {
        {"opaque copied", {10, 20, 30, 255}, 0, {30, 20, 10, 255}},
        {"half alpha red", {255, 0, 0, 128}, 0, {0, 0, 128, 128}},
        {"alpha 1", {255, 255, 255, 1}, 0, {1, 1, 1, 1}},
        {"transparent", {200, 100, 50, 0}, 0, {0, 0, 0, 0}},
        {"rounding down", {100, 200, 254, 200}, 0, {199, 156, 78, 200}},
        {"opaque magenta masked", {255, 0, 255, 255}, magenta, {0, 0, 0, 0}},
        {"magenta alpha 254 kept", {255, 0, 255, 254}, magenta, {254, 0, 254, 254}},
        {"other colour kept", {255, 0, 254, 255}, magenta, {254, 0, 255, 255}},
        {"mask without alpha never matches opaque", {255, 0, 255, 255}, 0x00FF00FF, {255, 0, 255, 255}},
        {"premultiplied value matches", {255, 0, 0, 128}, 0x80800000, {0, 0, 0, 0}},
    };
    for (const PixelCase& c : cases) {
        unsigned char out[4] = {9, 9, 9, 9};
        ConvertToPremultipliedBgra(c.rgba, 1, c.mask, out);
        EXPECT_EQ(std::vector<int>(out, out + 4), std::vector<int>(c.bgra, c.bgra + 4)) << c.what;
    }
}

TEST(SkinImagePixels, PixelBufferSizeLimits) {
    EXPECT_EQ(SkinUI::ImagePixelBytes(2, 3), 24u);
    EXPECT_EQ(SkinUI::ImagePixelBytes(0, 3), 0u);
    EXPECT_EQ(SkinUI::ImagePixelBytes(-1, 3), 0u);
    EXPECT_EQ(SkinUI::ImagePixelBytes(23170, 23170), 2147395600u);
    EXPECT_EQ(SkinUI::ImagePixelBytes(46341, 46341), 0u) << "would overflow 32 bits";
    EXPECT_EQ(SkinUI::ImagePixelBytes(0x7FFFFFFF, 0x7FFFFFFF), 0u);
    EXPECT_EQ(SkinUI::ImagePixelBytes(100, 100, 1000), 0u);
}

TEST(SkinImageDecode, PngBmpAndRefusals) {
    const std::string png = kelo_test::PngOf(3, 2, {255, 0, 0, 128});
    SkinUI::RgbaImage image;
    ASSERT_TRUE(SkinUI::DecodeImageRgba(png.data(), png.size(), &image));
    EXPECT_EQ(image.width, 3);
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(image.rgba.get()[0], 255);
    EXPECT_EQ(image.rgba.get()[3], 128);

    EXPECT_FALSE(SkinUI::DecodeImageRgba("not an image", 12, &image));
    EXPECT_FALSE(image.rgba);
    EXPECT_FALSE(SkinUI::DecodeImageRgba(png.data(), 20, &image)) << "truncated";
    EXPECT_FALSE(SkinUI::DecodeImageRgba(nullptr, 0, &image));
    // A header announcing 65536 x 65536 pixels is refused before decoding.
    const std::string huge = kelo_test::PngHeaderOnly(65536, 65536);
    EXPECT_FALSE(SkinUI::DecodeImageRgba(huge.data(), huge.size(), &image));
    EXPECT_FALSE(SkinUI::DecodeImageRgba(png.data(), png.size(), &image, 16)) << "over a caller's limit";
}

std::string ReadData(const std::string& name) {
    std::ifstream in(std::string(KELO_TEST_DATA) + "/skin/fuzz/image/" + name, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// Inputs the fuzzer found; each must decode or fail cleanly.
TEST(SkinImageDecode, FuzzFindings) {
    const struct {
        const char* file;
        bool decodes;
    } cases[] = {
        {"red.jpg", true},
        {"rgb.bmp", true},
        {"pixel.gif", true},
        // A Huffman table with more than 256 codes would overrun the JPEG
        // decoder's tables; it is refused before decoding.
        {"regression-jpeg-dht-over-256-codes.jpg", false},
        {"regression-jpeg-fill-bytes-before-start.jpg", false},
        {"regression-png-empty-idat.png", false},
        // A chunk claiming more bytes than follow it would make the PNG
        // decoder reserve up to 2 GiB first; it is refused before decoding.
        {"regression-png-chunk-longer-than-input.png", false},
        {"rgba.png", true},
        // A scan naming a Huffman table no DHT segment defined: the decoder
        // must find it empty, not read through leftover heap bytes.
        {"regression-jpeg-undefined-huffman-table.jpg", false},
    };
    for (const auto& c : cases) {
        const std::string bytes = ReadData(c.file);
        ASSERT_FALSE(bytes.empty()) << c.file;
        SkinUI::RgbaImage image;
        EXPECT_EQ(SkinUI::DecodeImageRgba(bytes.data(), bytes.size(), &image), c.decodes) << c.file;
    }
}

}  // namespace
