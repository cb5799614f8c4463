#include "tools/skin-render/png_output.h"

#include <cstdio>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

namespace skin_render {

std::vector<uint8_t> StraightRgbaFromTwoBackgrounds(const uint32_t* overBlack, const uint32_t* overWhite,
                                                    size_t count) {
    std::vector<uint8_t> rgba(count * 4);
    for (size_t i = 0; i < count; ++i) {
        const int shifts[3] = {16, 8, 0};  // red, green, blue
        int black[3];
        int diff = 0;
        for (int c = 0; c < 3; ++c) {
            black[c] = static_cast<int>((overBlack[i] >> shifts[c]) & 0xFF);
            const int white = static_cast<int>((overWhite[i] >> shifts[c]) & 0xFF);
            diff += white - black[c];
        }
        int alpha = 255 - (diff + 1) / 3;
        if (alpha < 0) alpha = 0;
        if (alpha > 255) alpha = 255;
        uint8_t* out = &rgba[i * 4];
        for (int c = 0; c < 3; ++c) {
            const int value = alpha == 0 ? 0 : (black[c] * 255 + alpha / 2) / alpha;
            out[c] = static_cast<uint8_t>(value > 255 ? 255 : value);
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
