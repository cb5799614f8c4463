// CPainter: plain text and markup text over GDI.
#include <algorithm>
#include <map>

#include "ui/core/manager_ui.h"
#include "ui/core/markup_layout.h"
#include "ui/core/painter.h"
#include "ui/core/painter_gdi.h"
#include "ui/skin/image_entry.h"

namespace SkinUI {

void CPainter::DrawPlainText(HDC dc, CManagerUI* manager, const RECT& rect, const UiChar* text, uint32_t argb,
                             int fontId, unsigned format) {
    if (dc == nullptr || manager == nullptr || text == nullptr || *text == 0) return;
    UiString expanded(text);
    CManagerUI::ExpandLanguageTokens(expanded);
    const uint32_t rgb = PlainTextRgb(argb);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return;

    SetBkMode(dc, OPAQUE);
    ScopedMemoryDC memory(dc);
    uint32_t* bits = nullptr;
    ScopedGdiObject<HBITMAP> bitmap(CreateDib32(dc, width, height, &bits));
    if (memory.get() == nullptr || bitmap.get() == nullptr) return;
    ScopedSelect selectBitmap(memory.get(), bitmap.get());
    ScopedSelect selectFont(memory.get(), manager->FontHandle(fontId));
    // White on black: the blue byte of each pixel is the glyph coverage.
    SetBkColor(memory.get(), RGB(0, 0, 0));
    SetBkMode(memory.get(), OPAQUE);
    SetTextColor(memory.get(), RGB(255, 255, 255));
    RECT local = {0, 0, width, height};
    DrawTextW(memory.get(), expanded.Data(), expanded.Length(), &local, format | DT_NOPREFIX);
    GdiFlush();
    const size_t count = size_t(width) * size_t(height);
    for (size_t i = 0; i < count; ++i) bits[i] = CoverageToPremultiplied(bits[i], rgb);
    BlendPremultiplied(dc, rect.left, rect.top, width, height, memory.get(), 0, 0, width, height, 255);
}

namespace {

uint32_t Rgb(uint32_t argb) {
    return argb & 0x00FFFFFFu;
}

// The markup layout's surface on a GDI DC: the manager's fonts and images,
// TextOutW and BlitImage.
class GdiMarkupSurface : public MarkupSurface {
public:
    GdiMarkupSurface(HDC dc, CManagerUI* manager, uint32_t selectedBackRgb)
        : dc_(dc), manager_(manager), selectedBackRgb_(selectedBackRgb & 0x00FFFFFFu) {}

    MarkupFont DefaultFont() override { return manager_->DefaultFont()->font; }
    MarkupFont FontById(int id) override { return manager_->FontInfo(id)->font; }
    MarkupFontStyle StyleOf(MarkupFont font) override {
        const FontEntry* entry = manager_->FontInfoOfHandle(Handle(font));
        MarkupFontStyle style;
        style.face = entry->face;
        style.size = entry->size;
        style.bold = entry->bold != 0;
        style.underline = entry->underline != 0;
        style.italic = entry->italic != 0;
        return style;
    }
    MarkupFont FindOrCreateFont(const MarkupFontStyle& s) override {
        HFONT font = manager_->FindFontHandle(s.face, s.size, s.bold, s.underline, s.italic);
        if (font == nullptr)
            font =
                manager_->StoreFont(NextMarkupFontId(), s.face, s.size, s.bold, s.underline, s.italic, false);
        return font;
    }
    int LineHeightOf(MarkupFont font) override {
        auto found = lineHeights_.find(font);
        if (found != lineHeights_.end()) return found->second;
        // Measured on the drawing DC, so it works before the window has a
        // paint DC for the manager to fill its metrics with.
        TEXTMETRICW metrics = {};
        HGDIOBJ old = SelectObject(dc_, Handle(font));
        GetTextMetricsW(dc_, &metrics);
        SelectObject(dc_, old);
        const int height = int(metrics.tmHeight + metrics.tmExternalLeading);
        lineHeights_[font] = height;
        return height;
    }
    void SelectFont(MarkupFont font) override {
        if (font != nullptr) SelectObject(dc_, Handle(font));
    }
    int TextWidth(const UiChar* text, int length) override {
        SIZE size = {};
        if (length <= 0) return 0;
        GetTextExtentPoint32W(dc_, text, length, &size);
        return size.cx;
    }
    int SpaceTrailingWidth() override {
        ABC abc = {};
        if (!GetCharABCWidthsW(dc_, L' ', L' ', &abc)) return 0;
        return int(abc.abcC);
    }
    bool FindImage(const UiString& name, const UiChar* resourceType, uint32_t mask,
                   MarkupImage* image) override {
        ImageEntry* entry = manager_->FindOrLoadImage(name, resourceType, mask, false);
        if (entry == nullptr) return false;
        image->handle = entry;
        image->width = entry->width;
        image->height = entry->height;
        return true;
    }
    void DrawText(int x, int y, const UiChar* text, int length, uint32_t rgb, bool selected) override {
        if (length <= 0) return;
        SIZE size = {};
        GetTextExtentPoint32W(dc_, text, length, &size);
        TEXTMETRICW metrics = {};
        GetTextMetricsW(dc_, &metrics);
        const int height = std::max<int>(size.cy, metrics.tmHeight);
        // Italic glyphs reach past their advance width.
        const RECT bounds = {x, y, x + size.cx + metrics.tmOverhang + metrics.tmAveCharWidth / 2, y + height};
        if (selected) {
            const RECT back = {x, y, x + size.cx, y + height};
            CPainter::FillColor(dc_, back, 0xFF000000u | selectedBackRgb_);
        }
        HGDIOBJ font = GetCurrentObject(dc_, OBJ_FONT);
        DrawThroughCoverage(dc_, bounds, rgb, [&](HDC canvas) {
            ScopedSelect selectFont(canvas, font);
            SetBkMode(canvas, TRANSPARENT);
            SetTextColor(canvas, RGB(255, 255, 255));
            TextOutW(canvas, x, y, text, length);
        });
    }
    void DrawImage(const MarkupImage& image, const UiRect& dest, const UiRect& source) override {
        const ImageEntry* entry = static_cast<const ImageEntry*>(image.handle);
        const RECT none = {0, 0, 0, 0};
        CPainter::BlitImage(dc_, entry->bitmap, dest, dest, source, none, entry->hasAlpha);
    }

private:
    static HFONT Handle(MarkupFont font) { return static_cast<HFONT>(const_cast<void*>(font)); }

    HDC dc_;
    CManagerUI* manager_;
    uint32_t selectedBackRgb_;
    std::map<MarkupFont, int> lineHeights_;
};

}  // namespace

void CPainter::DrawMarkupText(HDC dc, CManagerUI* manager, RECT& rect, const UiChar* text, uint32_t argb,
                              RECT* linkRects, UiString* linkTexts, int& linkCount, unsigned format) {
    if (dc == nullptr || manager == nullptr || text == nullptr || *text == 0 || IsRectEmpty(&rect)) {
        if (linkCount > 0) linkCount = 0;  // no link was drawn
        return;
    }
    UiString expanded(text);
    CManagerUI::ExpandLanguageTokens(expanded);

    MarkupLayoutInput input;
    input.rect = rect;
    input.format = format;
    input.textRgb = Rgb(argb);
    input.linkRgb = Rgb(manager->DefaultLinkColor());
    input.linkHoverRgb = Rgb(manager->DefaultLinkHoverColor());
    const POINT mouse = manager->MousePoint();
    input.mouseX = mouse.x;
    input.mouseY = mouse.y;
    const int capacity = (linkRects != nullptr && linkTexts != nullptr) ? std::max(linkCount, 0) : 0;
    for (int i = 0; i < capacity; ++i) input.previousLinks.push_back({linkRects[i], linkTexts[i]});
    input.linkCapacity = capacity;

    HGDIOBJ oldFont = SelectObject(dc, manager->DefaultFont()->font);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldText = SetTextColor(dc, ArgbToColorRef(argb));
    const COLORREF oldBack = SetBkColor(dc, ArgbToColorRef(manager->DefaultSelectedBackColor()));

    GdiMarkupSurface surface(dc, manager, manager->DefaultSelectedBackColor());
    MarkupLayoutOutput output;
    if ((format & DT_CALCRECT) != 0) {
        LayoutMarkup(surface, expanded, input, &output);
        rect = output.used;
    } else {
        ScopedClipRect clip(dc, rect);
        LayoutMarkup(surface, expanded, input, &output);
    }
    if (capacity > 0 || linkCount > 0) {
        const int used = std::min(int(output.links.size()), capacity);
        for (int i = 0; i < used; ++i) {
            linkRects[i] = output.links[size_t(i)].rect;
            linkTexts[i] = output.links[size_t(i)].text;
        }
        linkCount = used;
    }

    SetBkColor(dc, oldBack);
    SetTextColor(dc, oldText);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
}

}  // namespace SkinUI
