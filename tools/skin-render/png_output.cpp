#include "tools/skin-render/png_output.h"

#include <cstdio>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

namespace skin_render {

std::vector<uint8_t> StraightRgbaFromPremultiplied(const uint32_t* pixels, size_t count) {
    std::vector<uint8_t> rgba(count * 4);
    for (size_t i = 0; i < count; ++i) {
        const uint32_t alpha = pixels[i] >> 24;
        uint8_t* out = &rgba[i * 4];
        const int shifts[3] = {16, 8, 0};  // red, green, blue
        for (int c = 0; c < 3; ++c) {
            const uint32_t value = (pixels[i] >> shifts[c]) & 0xFF;
            const uint32_t straight = alpha == 0 ? 0 : (value * 255 + alpha / 2) / alpha;
            out[c] = static_cast<uint8_t>(straight > 255 ? 255 : straight);
        }
        out[3] = static_cast<uint8_t>(alpha);
    }
    return rgba;
}

namespace {

void WriteToFile(void* context, void* data, int size) {
    if (size > 0) std::fwrite(data, 1, static_cast<size_t>(size), static_cast<FILE*>(context));
}

}  // namespace

bool WritePng(const std::wstring& path, const std::vector<uint8_t>& rgba, int width, int height) {
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (file == nullptr) return false;
    const int ok = stbi_write_png_to_func(WriteToFile, file, width, height, 4, rgba.data(), width * 4);
    const bool closed = std::fclose(file) == 0;
    return ok != 0 && closed;
}

}  // namespace skin_render
