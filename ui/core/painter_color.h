// Colour arithmetic of the painter: the HSL shift, the colour rule of plain
// text and the conversion of text coverage to premultiplied pixels. Plain
// code, tested natively.
#pragma once

#include <cstdint>

namespace SkinUI {

inline uint8_t ColorAlpha(uint32_t argb) {
    return uint8_t(argb >> 24);
}
// The colour as a GDI COLORREF (0x00BBGGRR): alpha dropped, red and blue swapped.
inline uint32_t ArgbToColorRef(uint32_t argb) {
    return ((argb >> 16) & 0xFF) | (argb & 0xFF00) | ((argb & 0xFF) << 16);
}

// The colour with red, green and blue scaled by its alpha (x * a / 255).
uint32_t PremultiplyArgb(uint32_t argb);

// Hue moved by (hue - 180) degrees, saturation and lightness scaled by
// percent/100; alpha kept. (180, 100, 100) returns the colour unchanged.
uint32_t ShiftColorHsl(uint32_t argb, short hue, short saturation, short lightness);

// The RGB used for plain text: argb's RGB, except that black becomes 0x024CA1.
uint32_t PlainTextRgb(uint32_t argb);

// A pixel drawn white-on-black turned into premultiplied BGRA of rgb: the
// blue byte is the coverage v; colours are rgb * v / 256 and alpha is v.
uint32_t CoverageToPremultiplied(uint32_t pixel, uint32_t rgb);
// The same with colours rgb * v / 255, rounded, so full coverage gives the
// colour exactly (shapes and markup text drawn through coverage).
uint32_t CoverageToPremultipliedExact(uint32_t pixel, uint32_t rgb);

// The constant alpha a two-colour gradient is blended with: the integer mean
// of the two alpha bytes.
inline uint8_t GradientAlpha(uint32_t argb1, uint32_t argb2) {
    return uint8_t((ColorAlpha(argb1) + ColorAlpha(argb2)) / 2);
}

}  // namespace SkinUI
