// Small images made in memory for the image tests.
#pragma once

#include <array>
#include <string>

namespace kelo_test {

// A PNG of width x height pixels, all of one RGBA colour.
std::string PngOf(int width, int height, std::array<unsigned char, 4> rgba);

// The signature and header chunk of a PNG announcing the given size, and no
// image data.
std::string PngHeaderOnly(unsigned width, unsigned height);

}  // namespace kelo_test
