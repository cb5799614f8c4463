// CPainter: fills, gradients, lines, frames, bitmaps and image specs.
#include "ui/core/painter.h"

#include <algorithm>

#include "ui/core/manager_ui.h"
#include "ui/core/painter_gdi.h"
#include "ui/skin/image_entry.h"

namespace SkinUI {

void CPainter::FillColor(HDC dc, const RECT& rect, uint32_t argb) {
    const uint8_t alpha = ColorAlpha(argb);
    if (alpha == 0) return;
    // One pixel stretched over the rectangle, for every alpha: a GDI fill
    // would leave the canvas' alpha byte at 0 (transparent on a layered
    // window). The blend treats the pixel as premultiplied, so the colour is
    // premultiplied here; as given, a translucent colour would be added at
    // full strength (too bright, and an invalid pixel on a layered canvas).
    uint32_t* bits = nullptr;
    ScopedGdiObject<HBITMAP> pixel(CreateDib32(dc, 1, 1, &bits));
    if (pixel.get() == nullptr) return;
    *bits = PremultiplyArgb(argb);
    const RECT one = {0, 0, 1, 1};
    const RECT none = {0, 0, 0, 0};
    BlitImage(dc, pixel.get(), rect, rect, one, none, true);
}

void CPainter::FillGradient(HDC dc, const RECT& rect, uint32_t argb1, uint32_t argb2, bool vertical, int) {
    GradientFillFn gradientFill = GradientFillEntry();
    AlphaBlendFn alphaBlend = AlphaBlendEntry();
    if (gradientFill == nullptr || alphaBlend == nullptr) return;
    const uint8_t alpha = GradientAlpha(argb1, argb2);
    if (alpha == 0) return;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return;

    auto vertex = [](LONG x, LONG y, uint32_t argb) {
        TRIVERTEX v;
        v.x = x;
        v.y = y;
        v.Red = COLOR16(((argb >> 16) & 0xFF) << 8);
        v.Green = COLOR16(((argb >> 8) & 0xFF) << 8);
        v.Blue = COLOR16((argb & 0xFF) << 8);
        v.Alpha = 0xFF00;
        return v;
    };
    GRADIENT_RECT order = {0, 1};
    const ULONG mode = vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H;

    if (alpha == 255) {
        TRIVERTEX v[2] = {vertex(rect.left, rect.top, argb1), vertex(rect.right, rect.bottom, argb2)};
        gradientFill(dc, v, 2, &order, 1, mode);
        return;
    }
    ScopedMemoryDC memory(dc);
    uint32_t* bits = nullptr;
    ScopedGdiObject<HBITMAP> bitmap(CreateDib32(dc, width, height, &bits));
    if (memory.get() == nullptr || bitmap.get() == nullptr) return;
    ScopedSelect select(memory.get(), bitmap.get());
    TRIVERTEX v[2] = {vertex(0, 0, argb1), vertex(width, height, argb2)};
    gradientFill(memory.get(), v, 2, &order, 1, mode);
    BlendPremultiplied(dc, rect.left, rect.top, width, height, memory.get(), 0, 0, width, height, alpha);
}

void CPainter::DrawLineSegment(HDC dc, const RECT& rect, int width, uint32_t argb, int penStyle) {
    const int reach = width > 1 ? width : 1;
    const RECT bounds = {std::min(rect.left, rect.right) - reach, std::min(rect.top, rect.bottom) - reach,
                         std::max(rect.left, rect.right) + reach + 1,
                         std::max(rect.top, rect.bottom) + reach + 1};
    DrawThroughCoverage(dc, bounds, argb, [&](HDC canvas) {
        LOGPEN logPen = {UINT(penStyle), {width, 0}, RGB(255, 255, 255)};
        ScopedGdiObject<HPEN> pen(CreatePenIndirect(&logPen));
        if (pen.get() == nullptr) return;
        ScopedSelect select(canvas, pen.get());
        MoveToEx(canvas, rect.left, rect.top, nullptr);
        LineTo(canvas, rect.right, rect.bottom);
    });
}

void CPainter::DrawFrameRect(HDC dc, const RECT& rect, int width, uint32_t argb) {
    DrawThroughCoverage(dc, rect, argb, [&](HDC canvas) {
        ScopedGdiObject<HPEN> pen(CreatePen(PS_INSIDEFRAME, width, RGB(255, 255, 255)));
        if (pen.get() == nullptr) return;
        ScopedSelect selectPen(canvas, pen.get());
        ScopedSelect selectBrush(canvas, GetStockObject(NULL_BRUSH));
        Rectangle(canvas, rect.left, rect.top, rect.right, rect.bottom);
    });
}

void CPainter::DrawRoundFrame(HDC dc, const RECT& rect, int width, int cx, int cy, uint32_t argb) {
    DrawThroughCoverage(dc, rect, argb, [&](HDC canvas) {
        ScopedGdiObject<HPEN> pen(CreatePen(PS_INSIDEFRAME, width, RGB(255, 255, 255)));
        if (pen.get() == nullptr) return;
        ScopedSelect selectPen(canvas, pen.get());
        ScopedSelect selectBrush(canvas, GetStockObject(NULL_BRUSH));
        RoundRect(canvas, rect.left, rect.top, rect.right, rect.bottom, cx, cy);
    });
}

void CPainter::BlitImage(HDC dc, HBITMAP bitmap, const RECT& dest, const RECT& paint, const RECT& source,
                         const RECT& corners, bool hasAlpha, uint8_t fade, bool hole, bool xtiled,
                         bool ytiled) {
    if (dc == nullptr || bitmap == nullptr) return;
    const bool blended = hasAlpha || fade < 255;
    const std::vector<BlitPart> parts =
        PlanNineGrid(dest, paint, source, corners, blended, hole, xtiled, ytiled);
    if (parts.empty()) return;

    ScopedMemoryDC memory(dc);
    if (memory.get() == nullptr) return;
    ScopedSelect select(memory.get(), bitmap);
    SetStretchBltMode(dc, COLORONCOLOR);
    for (const BlitPart& part : parts) {
        const int dw = RectWidth(part.dest), dh = RectHeight(part.dest);
        const int sw = RectWidth(part.source), sh = RectHeight(part.source);
        if (blended) {
            BlendPremultiplied(dc, part.dest.left, part.dest.top, dw, dh, memory.get(), part.source.left,
                               part.source.top, sw, sh, fade);
        } else if (dw == sw && dh == sh) {
            BitBlt(dc, part.dest.left, part.dest.top, dw, dh, memory.get(), part.source.left, part.source.top,
                   SRCCOPY);
        } else {
            StretchBlt(dc, part.dest.left, part.dest.top, dw, dh, memory.get(), part.source.left,
                       part.source.top, sw, sh, SRCCOPY);
        }
    }
}

bool CPainter::DrawImageSpec(HDC dc, CManagerUI* manager, const RECT& item, const RECT& paint,
                             ImageSpec& spec) {
    if (spec.image == nullptr) {
        if (spec.tried) return false;
        // Without a manager there is nowhere to load from; a later draw with
        // one still tries.
        if (manager == nullptr) return false;
        spec.tried = 1;
        if (spec.text.IsEmpty()) return false;
        ImageLoadOptions options;
        ParseImageSpecText(spec.text, &spec, &options);
        spec.imageName = options.name;
        const UiChar* type = options.isResource ? options.resourceType.Data() : nullptr;
        ImageEntry* image = manager->FindOrLoadImage(options.name, type, options.mask, options.hsl);
        if (image == nullptr) return false;
        spec.image = image;
        if (RectIsZero(spec.source)) spec.source = MakeUiRect(0, 0, image->width, image->height);
    }
    ClampImageSource(&spec.source, spec.image->width, spec.image->height);
    if (dc != nullptr) {
        const RECT d = ImageDestRect(item, spec.dest);
        if (RectsIntersect(d, item) && RectsIntersect(d, paint)) {
            BlitImage(dc, spec.image->bitmap, d, paint, spec.source, spec.corner, spec.image->hasAlpha,
                      spec.fade, spec.hole != 0, spec.xtiled != 0, spec.ytiled != 0);
        }
    }
    return true;
}

uint32_t CPainter::ShiftColorHsl(uint32_t argb, short hue, short saturation, short lightness) {
    return SkinUI::ShiftColorHsl(argb, hue, saturation, lightness);
}

}  // namespace SkinUI
