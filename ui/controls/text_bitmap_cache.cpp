#include "ui/controls/text_bitmap_cache.h"

#include <algorithm>

#include "ui/core/manager_ui.h"
#include "ui/core/painter.h"
#include "ui/core/painter_gdi.h"

namespace SkinUI {

TextBitmapCache::~TextBitmapCache() {
    Release();
}

void TextBitmapCache::Release() {
    if (memory_ != nullptr && old_ != nullptr) SelectObject(memory_, old_);
    if (bitmap_ != nullptr) DeleteObject(bitmap_);
    if (memory_ != nullptr) DeleteDC(memory_);
    memory_ = nullptr;
    bitmap_ = nullptr;
    old_ = nullptr;
    bits_ = nullptr;
    width_ = height_ = 0;
    valid_ = false;
}

void TextBitmapCache::Draw(HDC dc, CManagerUI* manager, const RECT& rect, const UiChar* text, uint32_t argb,
                           int fontId, unsigned format) {
    if (dc == nullptr || manager == nullptr || text == nullptr || *text == 0) return;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return;
    // Language tokens may expand differently from one paint to the next, and
    // a huge label is not worth keeping.
    UiString current(text);
    if (current.Find(UI_TEXT("%{")) >= 0 || int64_t(width) * height > 1 << 20) {
        CPainter::DrawPlainText(dc, manager, rect, text, argb, fontId, format);
        return;
    }
    const FontEntry* font = manager->FontInfo(fontId);
    const HFONT fontHandle = font != nullptr ? font->font : nullptr;
    const LONG fontHeight = font != nullptr ? font->metrics.tmHeight : 0;
    const bool same = valid_ && width == width_ && height == height_ && argb == argb_ &&
                      fontHandle == font_ && fontHeight == fontHeight_ && format == format_ &&
                      text_ == current;
    if (!same) {
        if (width != width_ || height != height_ || memory_ == nullptr) {
            Release();
            memory_ = CreateCompatibleDC(dc);
            if (memory_ == nullptr) return;
            bitmap_ = CreateDib32(memory_, width, height, &bits_);
            if (bitmap_ == nullptr) {
                Release();
                CPainter::DrawPlainText(dc, manager, rect, text, argb, fontId, format);
                return;
            }
            old_ = SelectObject(memory_, bitmap_);
            width_ = width;
            height_ = height;
        }
        GdiFlush();
        std::fill(bits_, bits_ + size_t(width) * size_t(height), 0u);
        CPainter::DrawPlainText(memory_, manager, {0, 0, width, height}, text, argb, fontId, format);
        GdiFlush();
        // Blending fully transparent pixels changes nothing: keep the box
        // around the others.
        ink_ = {width, height, 0, 0};
        for (int y = 0; y < height; ++y) {
            const uint32_t* row = bits_ + size_t(y) * size_t(width);
            for (int x = 0; x < width; ++x) {
                if (row[x] == 0) continue;
                ink_.left = std::min<LONG>(ink_.left, x);
                ink_.right = std::max<LONG>(ink_.right, x + 1);
                ink_.top = std::min<LONG>(ink_.top, y);
                ink_.bottom = std::max<LONG>(ink_.bottom, y + 1);
            }
        }
        text_ = current;
        argb_ = argb;
        font_ = fontHandle;
        fontHeight_ = fontHeight;
        format_ = format;
        valid_ = true;
    }
    if (ink_.right <= ink_.left || ink_.bottom <= ink_.top) return;
    const int inkWidth = ink_.right - ink_.left;
    const int inkHeight = ink_.bottom - ink_.top;
    BlendPremultiplied(dc, rect.left + ink_.left, rect.top + ink_.top, inkWidth, inkHeight, memory_,
                       ink_.left, ink_.top, inkWidth, inkHeight, 255);
}

}  // namespace SkinUI
