// CPainter: the stateless drawing routines of the UI framework (Windows).
//
// Every routine draws on a GDI device context, in practice the manager's
// 32-bit off-screen or layered canvas, and treats bitmaps as premultiplied
// BGRA. Colours are ARGB (0xAARRGGBB); an alpha of 0 means no colour where a
// routine says so. Everything runs on the UI thread.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/core/image_spec.h"
#include "ui/core/painter_color.h"
#include "ui/core/ui_string.h"

namespace SkinUI {

class CManagerUI;

class CPainter {
public:
    // Alpha 0: nothing; alpha 0xFF: an opaque fill; otherwise the colour is
    // blended over rect.
    static void FillColor(HDC dc, const RECT& rect, uint32_t argb);

    // Two-colour gradient, argb1 at the top (vertical) or left, blended with the
    // mean of the two alphas (nothing when that is 0). steps is not used.
    static void FillGradient(HDC dc, const RECT& rect, uint32_t argb1, uint32_t argb2, bool vertical,
                             int steps);

    // A line from (rect.left, rect.top) to (rect.right, rect.bottom) with a pen
    // of this style, width and colour (alpha dropped).
    static void DrawLineSegment(HDC dc, const RECT& rect, int width, uint32_t argb, int penStyle = PS_SOLID);

    // A frame drawn inside rect, width pixels wide (alpha dropped).
    static void DrawFrameRect(HDC dc, const RECT& rect, int width, uint32_t argb);

    // A frame with rounded corners of ellipse size cx x cy (alpha dropped).
    static void DrawRoundFrame(HDC dc, const RECT& rect, int width, int cx, int cy, uint32_t argb);

    // Draws source of a 32-bit bitmap into dest as a nine-grid with corners
    // (left, top, right, bottom widths in bitmap pixels). Parts that do not
    // touch paint are skipped. With hasAlpha or fade < 255 the bitmap is
    // alpha-blended (premultiplied, constant alpha fade), else copied.
    static void BlitImage(HDC dc, HBITMAP bitmap, const RECT& dest, const RECT& paint, const RECT& source,
                          const RECT& corners, bool hasAlpha, uint8_t fade = 255, bool hole = false,
                          bool xtiled = false, bool ytiled = false);

    // Resolves the ImageSpec on first use (parse, load through the manager) and
    // draws it inside item over paint. With a null dc it only resolves. False
    // when there is no image (a failed spec is not tried again until reset).
    static bool DrawImageSpec(HDC dc, CManagerUI* manager, const RECT& item, const RECT& paint,
                              ImageSpec& spec);

    // Text in the manager's font fontId, clipped to rect, with DrawText format
    // flags. The text carries its own alpha; argb's alpha is not used and black
    // is drawn as 0x024CA1.
    static void DrawPlainText(HDC dc, CManagerUI* manager, const RECT& rect, const UiChar* text,
                              uint32_t argb, int fontId, unsigned format);

    // Text in the markup language (tags a b c f i n p r s u x y). With
    // DT_CALCRECT nothing is drawn and rect becomes the size used. Link
    // rectangles and texts are written to the arrays (capacity linkCount,
    // which becomes the number used); the arrays may be null with linkCount 0.
    static void DrawMarkupText(HDC dc, CManagerUI* manager, RECT& rect, const UiChar* text, uint32_t argb,
                               RECT* linkRects, UiString* linkTexts, int& linkCount, unsigned format);

    // See ShiftColorHsl in painter_color.h.
    static uint32_t ShiftColorHsl(uint32_t argb, short hue, short saturation, short lightness);
};

}  // namespace SkinUI
