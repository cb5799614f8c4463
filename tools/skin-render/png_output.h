// The canvas-to-PNG step of skin-render.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace skin_render {

// Straight RGBA from the same drawing made over opaque black and over opaque
// white (0xAARRGGBB pixels, top-down). Over black a pixel is a*C, over white
// a*C + (1-a)*255, so both a and C come out whatever alpha the drawing
// routines wrote themselves: GDI's opaque fills and pens leave the alpha
// byte of a DIB at 0, which a single canvas would turn into "transparent".
std::vector<uint8_t> StraightRgbaFromTwoBackgrounds(const uint32_t* overBlack, const uint32_t* overWhite,
                                                    size_t count);

bool WritePng(const std::wstring& path, const std::vector<uint8_t>& rgba, int width, int height);

}  // namespace skin_render
