// CLabelUI's text effects through the GDI+ flat API: a gradient fill, a
// one-pixel outline made of four offset copies, and a drop shadow. GDI+ runs
// for as long as a label lives.
//
// The effect text is drawn on a transparent premultiplied scratch bitmap that
// is then blended onto the canvas: GDI+ drawing straight on a DC leaves the
// alpha byte of a layered canvas undefined, so the text would show as holes.
#include <windows.h>

// GDI+ needs the COM property types that a lean windows.h leaves out.
#include <objidl.h>

#include <gdiplus.h>

#include <algorithm>
#include <cmath>

#include "ui/controls/label_ui.h"
#include "ui/core/manager_ui.h"
#include "ui/core/painter_gdi.h"

namespace SkinUI {

namespace gp = Gdiplus::DllExports;
using Gdiplus::GpBrush;
using Gdiplus::GpFont;
using Gdiplus::GpGraphics;
using Gdiplus::GpLineGradient;
using Gdiplus::GpStringFormat;

GdiplusSession::GdiplusSession() {
    // Version 1, no debug callback, background thread and codecs not
    // suppressed.
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&token_, &input, nullptr) != Gdiplus::Ok) token_ = 0;
}

GdiplusSession::~GdiplusSession() {
    if (token_ != 0) Gdiplus::GdiplusShutdown(token_);
}

namespace {

Gdiplus::ARGB EffectColor(int alpha, uint32_t color) {
    const uint32_t a = static_cast<uint32_t>(std::clamp(alpha, 0, 255));
    return (a << 24) | (color & 0x00FFFFFFu);
}

// Owns one GDI+ object of each kind the effect drawing makes.
struct EffectObjects {
    GpFont* font = nullptr;
    GpGraphics* graphics = nullptr;
    GpStringFormat* format = nullptr;
    GpLineGradient* shadowBrush = nullptr;
    GpLineGradient* textBrush = nullptr;
    Gdiplus::GpBitmap* bitmap = nullptr;
    ~EffectObjects() {
        if (shadowBrush != nullptr) gp::GdipDeleteBrush(shadowBrush);
        if (textBrush != nullptr) gp::GdipDeleteBrush(textBrush);
        if (format != nullptr) gp::GdipDeleteStringFormat(format);
        if (graphics != nullptr) gp::GdipDeleteGraphics(graphics);
        if (font != nullptr) gp::GdipDeleteFont(font);
        if (bitmap != nullptr) gp::GdipDisposeImage(bitmap);
    }
};

GpLineGradient* MakeLineBrush(int startX, int length, Gdiplus::ARGB from, Gdiplus::ARGB to) {
    const Gdiplus::GpPoint p1(startX, 0);
    const Gdiplus::GpPoint p2(0, length);
    GpLineGradient* brush = nullptr;
    if (gp::GdipCreateLineBrushI(&p1, &p2, from, to, Gdiplus::WrapModeTile, &brush) != Gdiplus::Ok) {
        return nullptr;
    }
    return brush;
}

void DrawString(GpGraphics* graphics, const UiString& text, GpFont* font, const Gdiplus::RectF& rect,
                GpStringFormat* format, GpLineGradient* brush) {
    if (brush == nullptr || font == nullptr) return;
    gp::GdipDrawString(graphics, text.Data(), text.Length(), font, &rect, format, brush);
}

}  // namespace

void CLabelUI::DrawEffectText(HDC hdc) {
    if (hdc == nullptr || Manager() == nullptr || !gdiplus_.IsRunning()) return;
    const RECT& t = textRect_;
    const Gdiplus::RectF layout(float(t.left), float(t.top), float(t.right - t.left),
                                float(t.bottom - t.top));
    const Gdiplus::RectF shadow(layout.X + shadowOffset_[0], layout.Y + shadowOffset_[1], layout.Width,
                                layout.Height);

    // The scratch bitmap covers the text, its outline and its shadow.
    const int left = int(std::floor(std::min(layout.X, shadow.X))) - 1;
    const int top = int(std::floor(std::min(layout.Y, shadow.Y))) - 1;
    const int right = int(std::ceil(std::max(layout.X, shadow.X) + layout.Width)) + 1;
    const int bottom = int(std::ceil(std::max(layout.Y, shadow.Y) + layout.Height)) + 1;
    const int width = right - left;
    const int height = bottom - top;
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384) return;
    ScopedMemoryDC memory(hdc);
    uint32_t* bits = nullptr;
    ScopedGdiObject<HBITMAP> scratch(CreateDib32(hdc, width, height, &bits));
    if (memory.get() == nullptr || scratch.get() == nullptr) return;
    ScopedSelect select(memory.get(), scratch.get());
    GdiFlush();
    std::fill(bits, bits + size_t(width) * size_t(height), 0u);

    {
        EffectObjects o;
        if (gp::GdipCreateBitmapFromScan0(width, height, width * 4, PixelFormat32bppPARGB,
                                          reinterpret_cast<BYTE*>(bits), &o.bitmap) != Gdiplus::Ok) {
            return;
        }
        HFONT fontHandle = Manager()->FontHandle(font_);
        LOGFONTA logFont = {};
        if (fontHandle == nullptr || GetObjectA(fontHandle, sizeof(logFont), &logFont) == 0 ||
            gp::GdipCreateFontFromLogfontA(hdc, &logFont, &o.font) != Gdiplus::Ok) {
            o.font = nullptr;
            gp::GdipCreateFontFromDC(hdc, &o.font);
        }
        if (gp::GdipGetImageGraphicsContext(o.bitmap, &o.graphics) != Gdiplus::Ok) return;
        // World coordinates stay those of the canvas, so the brushes'
        // gradient points mean the same as on the canvas itself.
        gp::GdipTranslateWorldTransform(o.graphics, float(-left), float(-top), Gdiplus::MatrixOrderPrepend);
        gp::GdipSetTextRenderingHint(o.graphics, Gdiplus::TextRenderingHint(renderingHint_));
        gp::GdipCreateStringFormat(0, 0, &o.format);
        if (o.format != nullptr) {
            gp::GdipSetStringFormatAlign(o.format, Gdiplus::StringAlignment(effectAlign_));
            gp::GdipSetStringFormatLineAlign(o.format, Gdiplus::StringAlignment(effectLineAlign_));
        }

        const int length = gradientLength_ != 0 ? gradientLength_ : int(t.bottom - t.top);
        const uint32_t shadowTo = shadowColor2_ == 0xFFFFFFFFu ? shadowColor1_ : shadowColor2_;
        o.shadowBrush = MakeLineBrush(gradientStartX_, length, EffectColor(shadowAlpha1_, shadowColor1_),
                                      EffectColor(shadowAlpha2_, shadowTo));
        const uint32_t textTo = textColor2_ == 0xFFFFFFFFu ? textColor_ : textColor2_;
        o.textBrush = MakeLineBrush(gradientStartX_, length, EffectColor(textAlpha1_, textColor_),
                                    EffectColor(textAlpha2_, textTo));

        if (strokeOn_ && strokeColor_ != 0) {
            GpLineGradient* stroke = MakeLineBrush(gradientStartX_, int(t.bottom - t.top) + 2,
                                                   EffectColor(strokeAlpha_, strokeColor_),
                                                   EffectColor(strokeAlpha_, strokeColor_));
            static const float kSteps[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
            for (const auto& step : kSteps) {
                const Gdiplus::RectF moved(layout.X + step[0], layout.Y + step[1], layout.Width,
                                           layout.Height);
                DrawString(o.graphics, effectText_, o.font, moved, o.format, stroke);
            }
            if (stroke != nullptr) gp::GdipDeleteBrush(stroke);
        }
        if (shadowOn_ && (shadowColor1_ != 0 || shadowColor2_ != 0)) {
            DrawString(o.graphics, effectText_, o.font, shadow, o.format, o.shadowBrush);
        }
        DrawString(o.graphics, effectText_, o.font, layout, o.format, o.textBrush);
        gp::GdipFlush(o.graphics, Gdiplus::FlushIntentionSync);
    }
    GdiFlush();
    BlendPremultiplied(hdc, left, top, width, height, memory.get(), 0, 0, width, height, 255);
}

}  // namespace SkinUI
