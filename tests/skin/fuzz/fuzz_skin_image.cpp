// Fuzz target: image bytes decoded and converted to premultiplied pixels.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "ui/skin/skin_image_pixels.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SkinUI::RgbaImage image;
    // A far lower cap than the loader's keeps each run short: a few header
    // bytes can announce millions of pixels that the decoder then fills.
    if (!SkinUI::DecodeImageRgba(data, size, &image, 8u << 20)) return 0;
    const size_t pixels = size_t(image.width) * size_t(image.height);
    std::vector<unsigned char> bgra(pixels * 4);
    SkinUI::ConvertToPremultipliedBgra(image.rgba.get(), pixels, 0xFFFF00FF, bgra.data());
    return 0;
}
