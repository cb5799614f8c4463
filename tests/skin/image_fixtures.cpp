#include "tests/skin/image_fixtures.h"

#include <vector>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#endif
#include <stb_image_write.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace kelo_test {

std::string PngOf(int width, int height, std::array<unsigned char, 4> rgba) {
    std::vector<unsigned char> pixels;
    for (int i = 0; i < width * height; ++i) pixels.insert(pixels.end(), rgba.begin(), rgba.end());
    std::string out;
    stbi_write_png_to_func(
        [](void* context, void* data, int size) {
            static_cast<std::string*>(context)->append(static_cast<const char*>(data), size);
        },
        &out, width, height, 4, pixels.data(), width * 4);
    return out;
}

std::string PngHeaderOnly(unsigned width, unsigned height) {
    std::string out("\x89PNG\r\n\x1a\n", 8);
    auto be32 = [&out](unsigned v) {
        for (int s = 24; s >= 0; s -= 8) out += static_cast<char>((v >> s) & 0xFF);
    };
    be32(13);
    out += "IHDR";
    be32(width);
    be32(height);
    out += std::string("\x08\x06\x00\x00\x00", 5);
    be32(0);  // CRC, not checked by the decoder
    return out;
}

}  // namespace kelo_test
