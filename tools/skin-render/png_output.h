// The canvas-to-PNG step of skin-render.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace skin_render {

// Straight (not premultiplied) RGBA from premultiplied 0xAARRGGBB pixels,
// top-down.
std::vector<uint8_t> StraightRgbaFromPremultiplied(const uint32_t* pixels, size_t count);

bool WritePng(const std::wstring& path, const std::vector<uint8_t>& rgba, int width, int height);

}  // namespace skin_render
