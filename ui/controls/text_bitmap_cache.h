// The last plain text a label drew, kept as a premultiplied bitmap: a label
// repaints far more often than its text, colour, font or size change, and
// drawing text with valid alpha (coverage on a scratch bitmap, then a blend)
// costs several times a bare DrawTextW. A repaint with the same inputs is one
// blend of the kept bitmap, pixel for pixel what drawing it again would give.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/core/ui_string.h"

namespace SkinUI {

class CManagerUI;

class TextBitmapCache {
public:
    TextBitmapCache() = default;
    ~TextBitmapCache();
    TextBitmapCache(const TextBitmapCache&) = delete;
    TextBitmapCache& operator=(const TextBitmapCache&) = delete;

    // CPainter::DrawPlainText's result, from the kept bitmap when every
    // input is the same as last time.
    void Draw(HDC dc, CManagerUI* manager, const RECT& rect, const UiChar* text, uint32_t argb, int fontId,
              unsigned format);

private:
    void Release();

    HDC memory_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    uint32_t* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    UiString text_;
    uint32_t argb_ = 0;
    HFONT font_ = nullptr;
    LONG fontHeight_ = 0;
    unsigned format_ = 0;
    RECT ink_ = {0, 0, 0, 0};  // the pixels the text covers; only they are blended
    bool valid_ = false;
};

}  // namespace SkinUI
