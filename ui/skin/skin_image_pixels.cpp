#include "ui/skin/skin_image_pixels.h"

#include <cstring>

#include <climits>
#include <cstdlib>

// The decoder's functions stay private to this file, so nothing clashes with
// another user of the same single-header library.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_ONLY_GIF
// The JPEG decoder reads Huffman tables that a scan names but no DHT segment
// defined; zeroed memory makes such a table decode nothing instead of reading
// through indexes made of leftover heap bytes.
#define STBI_MALLOC(size) std::calloc(1, size)
#define STBI_REALLOC(pointer, size) std::realloc(pointer, size)
#define STBI_FREE(pointer) std::free(pointer)
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#endif
#include <stb_image.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace SkinUI {

namespace {

// The JPEG decoder builds each Huffman table of a DHT segment into arrays of
// 256 codes without checking that the 16 code counts add up to at most 256,
// so a crafted table writes past them. Every DHT segment is checked here
// first: the byte pair FF C4 cannot occur inside entropy-coded data (FF is
// stuffed there as FF 00), so a scan for it finds every segment the decoder
// could read. Bytes past the end count as 0, as the decoder reads them.
bool JpegHuffmanTablesSafe(const unsigned char* b, size_t length) {
    // The decoder takes FF, any number of FF fill bytes, then D8 as the start.
    size_t start = 0;
    while (start < length && b[start] == 0xFF) ++start;
    if (start == 0 || start >= length || b[start] != 0xD8) return true;  // not a JPEG
    auto at = [b, length](size_t i) -> unsigned { return i < length ? b[i] : 0u; };
    for (size_t i = start; i + 1 < length; ++i) {
        if (b[i] != 0xFF || b[i + 1] != 0xC4) continue;
        long left = static_cast<long>((at(i + 2) << 8) | at(i + 3)) - 2;
        size_t p = i + 4;
        while (left > 0 && p < length) {
            unsigned codes = 0;
            for (size_t k = 0; k < 16; ++k) codes += at(p + 1 + k);
            if (codes > 256) return false;
            p += 17 + codes;
            left -= 17 + static_cast<long>(codes);
        }
    }
    return true;
}

// The PNG decoder grows its buffer for the compressed data to whatever a
// chunk's length field claims, up to 2 GiB, before it reads the chunk. A
// chunk can never be longer than the bytes that follow it, so such a claim
// is refused here and the buffer stays bounded by the input's size.
bool PngChunksWithinInput(const unsigned char* b, size_t length) {
    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (length < 8 || std::memcmp(b, kSignature, 8) != 0) return true;  // not a PNG
    size_t p = 8;
    while (p + 8 <= length) {
        const uint64_t chunk = (uint64_t(b[p]) << 24) | (uint64_t(b[p + 1]) << 16) |
                               (uint64_t(b[p + 2]) << 8) | uint64_t(b[p + 3]);
        if (chunk > length - p - 8) return false;  // data (and CRC) past the end
        if (std::memcmp(b + p + 4, "IEND", 4) == 0) return true;
        p += 8 + chunk + 4;
    }
    return true;  // truncated: the decoder refuses it by itself
}

}  // namespace

uint64_t ImagePixelBytes(int width, int height, uint64_t maxBytes) {
    if (width <= 0 || height <= 0) return 0;
    uint64_t bytes = uint64_t(width) * uint64_t(height) * 4;
    return bytes > maxBytes ? 0 : bytes;
}

void RgbaImage::Free::operator()(unsigned char* p) const {
    stbi_image_free(p);
}

bool DecodeImageRgba(const void* bytes, size_t length, RgbaImage* image, uint64_t maxBytes) {
    image->rgba.reset();
    image->width = image->height = 0;
    if (bytes == nullptr || length == 0 || length > INT_MAX) return false;
    const stbi_uc* data = static_cast<const stbi_uc*>(bytes);
    int width = 0, height = 0, channels = 0;
    if (!JpegHuffmanTablesSafe(data, length) || !PngChunksWithinInput(data, length)) return false;
    if (!stbi_info_from_memory(data, static_cast<int>(length), &width, &height, &channels)) return false;
    if (ImagePixelBytes(width, height, maxBytes) == 0) return false;
    unsigned char* rgba =
        stbi_load_from_memory(data, static_cast<int>(length), &width, &height, &channels, 4);
    if (rgba == nullptr) return false;
    image->rgba.reset(rgba);
    // The header read above and the decode agree for every format supported;
    // checked again because the buffer size depends on it.
    if (ImagePixelBytes(width, height, maxBytes) == 0) {
        image->rgba.reset();
        return false;
    }
    image->width = width;
    image->height = height;
    return true;
}

void ConvertToPremultipliedBgra(const unsigned char* rgba, size_t pixelCount, uint32_t mask,
                                unsigned char* bgra) {
    for (size_t i = 0; i < pixelCount; ++i, rgba += 4, bgra += 4) {
        const unsigned a = rgba[3];
        unsigned r = rgba[0], g = rgba[1], b = rgba[2];
        if (a != 255) {
            r = r * a / 255;
            g = g * a / 255;
            b = b * a / 255;
        }
        const uint32_t pixel = (uint32_t(a) << 24) | (r << 16) | (g << 8) | b;
        if (pixel == mask) {
            bgra[0] = bgra[1] = bgra[2] = bgra[3] = 0;
        } else {
            bgra[0] = static_cast<unsigned char>(b);
            bgra[1] = static_cast<unsigned char>(g);
            bgra[2] = static_cast<unsigned char>(r);
            bgra[3] = static_cast<unsigned char>(a);
        }
    }
}

}  // namespace SkinUI
