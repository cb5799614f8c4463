// Decoding of skin images and their conversion to the pixel layout the
// painter blends: 32-bit, blue-green-red-alpha bytes, alpha-premultiplied.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace SkinUI {

// Largest pixel buffer accepted: width * height * 4 must fit a signed 32-bit
// size (the DIB header's image size and the negated height are 32-bit).
constexpr uint64_t kMaxImagePixelBytes = 0x7FFFFFFF;

// Bytes of a width x height image of 4-byte pixels, or 0 when a dimension is
// not positive or the size exceeds maxBytes.
uint64_t ImagePixelBytes(int width, int height, uint64_t maxBytes = kMaxImagePixelBytes);

// An image decoded to 8-bit RGBA, freed by the owner.
struct RgbaImage {
    struct Free {
        void operator()(unsigned char* p) const;
    };
    int width = 0;
    int height = 0;
    std::unique_ptr<unsigned char, Free> rgba;
};

// Decodes PNG, JPEG, BMP or GIF (first frame) bytes to RGBA. Images whose
// pixel buffer would exceed maxBytes are refused before they are decoded.
bool DecodeImageRgba(const void* bytes, size_t length, RgbaImage* image,
                     uint64_t maxBytes = kMaxImagePixelBytes);

// Converts RGBA pixels to premultiplied BGRA: an opaque pixel is copied,
// otherwise each colour becomes value * alpha / 255. A converted pixel whose
// 32-bit value (alpha, red, green, blue from the high byte down) equals mask
// becomes 0, so only opaque pixels can match a mask with alpha 255.
void ConvertToPremultipliedBgra(const unsigned char* rgba, size_t pixelCount, uint32_t mask,
                                unsigned char* bgra);

}  // namespace SkinUI
