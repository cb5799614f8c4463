#include "ui/core/painter_color.h"

#include <algorithm>
#include <cmath>

namespace SkinUI {

namespace {

double HueToChannel(double p, double q, double t) {
    if (t < 0) t += 1;
    if (t > 1) t -= 1;
    if (t < 1.0 / 6) return p + (q - p) * 6 * t;
    if (t < 0.5) return q;
    if (t < 2.0 / 3) return p + (q - p) * (2.0 / 3 - t) * 6;
    return p;
}

uint32_t ToByte(double v) {
    const long n = std::lround(std::clamp(v, 0.0, 1.0) * 255.0);
    return uint32_t(n);
}

}  // namespace

uint32_t ShiftColorHsl(uint32_t argb, short hue, short saturation, short lightness) {
    if (hue == 180 && saturation == 100 && lightness == 100) return argb;

    const double r = ((argb >> 16) & 0xFF) / 255.0;
    const double g = ((argb >> 8) & 0xFF) / 255.0;
    const double b = (argb & 0xFF) / 255.0;
    const double maxc = std::max({r, g, b});
    const double minc = std::min({r, g, b});
    double h = 0;  // degrees
    double s = 0;
    double l = (maxc + minc) / 2;
    const double delta = maxc - minc;
    if (delta > 0) {
        s = l > 0.5 ? delta / (2 - maxc - minc) : delta / (maxc + minc);
        if (maxc == r)
            h = (g - b) / delta + (g < b ? 6 : 0);
        else if (maxc == g)
            h = (b - r) / delta + 2;
        else
            h = (r - g) / delta + 4;
        h *= 60;
    }

    h += hue - 180;
    if (h <= 0) h += 360;
    if (h > 360) h -= 360;
    s = std::min(1.0, s * saturation / 100.0);
    l = std::min(1.0, l * lightness / 100.0);

    double nr = l, ng = l, nb = l;
    if (s > 0) {
        const double q = l < 0.5 ? l * (1 + s) : l + s - l * s;
        const double p = 2 * l - q;
        const double hh = h / 360.0;
        nr = HueToChannel(p, q, hh + 1.0 / 3);
        ng = HueToChannel(p, q, hh);
        nb = HueToChannel(p, q, hh - 1.0 / 3);
    }
    return (argb & 0xFF000000u) | (ToByte(nr) << 16) | (ToByte(ng) << 8) | ToByte(nb);
}

uint32_t PremultiplyArgb(uint32_t argb) {
    const uint32_t a = argb >> 24;
    const uint32_t r = ((argb >> 16) & 0xFF) * a / 255;
    const uint32_t g = ((argb >> 8) & 0xFF) * a / 255;
    const uint32_t b = (argb & 0xFF) * a / 255;
    return (a << 24) | (r << 16) | (g << 8) | b;
}

uint32_t PlainTextRgb(uint32_t argb) {
    const uint32_t rgb = argb & 0x00FFFFFFu;
    return rgb == 0 ? 0x024CA1u : rgb;
}

uint32_t CoverageToPremultipliedExact(uint32_t pixel, uint32_t rgb) {
    const uint32_t v = pixel & 0xFF;
    const uint32_t blue = ((rgb & 0xFF) * v + 127) / 255;
    const uint32_t green = (((rgb >> 8) & 0xFF) * v + 127) / 255;
    const uint32_t red = (((rgb >> 16) & 0xFF) * v + 127) / 255;
    return (v << 24) | (red << 16) | (green << 8) | blue;
}

uint32_t CoverageToPremultiplied(uint32_t pixel, uint32_t rgb) {
    const uint32_t v = pixel & 0xFF;
    const uint32_t blue = ((rgb & 0xFF) * v) >> 8;
    const uint32_t green = (((rgb >> 8) & 0xFF) * v) >> 8;
    const uint32_t red = (((rgb >> 16) & 0xFF) * v) >> 8;
    return (v << 24) | (red << 16) | (green << 8) | blue;
}

}  // namespace SkinUI
