// CControlUI's painting: five layers inside the paint rectangle, clipped to
// the rounded corners when the control has them.
#include "ui/controls/clip_guard.h"
#include "ui/controls/control_ui.h"
#include "ui/core/painter.h"

namespace SkinUI {

void CControlUI::Paint(HDC hdc, const RECT& paintRect) {
    if (!IntersectRect(&paintRect_, &paintRect, &itemRect_)) return;
    auto layers = [this, hdc]() {
        DrawBackColor(hdc);
        DrawBackImage(hdc);
        DrawStateImages(hdc);
        DrawTextContent(hdc);
        DrawBorder(hdc);
    };
    if (borderRound_.cx > 0 || borderRound_.cy > 0) {
        ClipGuard round(hdc, paintRect_, itemRect_, borderRound_.cx, borderRound_.cy);
        layers();
    } else {
        layers();
    }
}

void CControlUI::DrawBackColor(HDC hdc) {
    if (backColor_[0] == 0) return;
    if (backColor_[1] == 0) {
        // A translucent colour covers the whole item so that partial repaints
        // do not blend twice where they overlap.
        const RECT& area = backColor_[0] < 0xFF000000u ? itemRect_ : paintRect_;
        CPainter::FillColor(hdc, area, AdjustedColor(backColor_[0]));
    } else if (backColor_[2] == 0) {
        CPainter::FillGradient(hdc, itemRect_, AdjustedColor(backColor_[0]), AdjustedColor(backColor_[1]),
                               true, 16);
    } else {
        RECT upper = itemRect_;
        RECT lower = itemRect_;
        int mid = (itemRect_.top + itemRect_.bottom) / 2;
        upper.bottom = mid;
        lower.top = mid;
        CPainter::FillGradient(hdc, upper, AdjustedColor(backColor_[0]), AdjustedColor(backColor_[1]), true,
                               8);
        CPainter::FillGradient(hdc, lower, AdjustedColor(backColor_[1]), AdjustedColor(backColor_[2]), true,
                               8);
    }
}

void CControlUI::DrawBackImage(HDC hdc) {
    CPainter::DrawImageSpec(hdc, manager_, itemRect_, paintRect_, backImage_);
}

void CControlUI::DrawStateImages(HDC hdc) {}

void CControlUI::DrawTextContent(HDC hdc) {}

void CControlUI::DrawBorder(HDC hdc) {
    if (borderColor_ == 0 && focusBorderColor_ == 0) return;
    const bool useFocus = HasFocus() && focusBorderColor_ != 0;
    const uint32_t color = AdjustedColor(useFocus ? focusBorderColor_ : borderColor_);
    if (borderSize_ > 0 && (borderRound_.cx > 0 || borderRound_.cy > 0)) {
        CPainter::DrawRoundFrame(hdc, itemRect_, borderSize_, borderRound_.cx, borderRound_.cy, color);
        return;
    }
    if (useFocus && borderSize_ > 0) {
        CPainter::DrawFrameRect(hdc, itemRect_, borderSize_, color);
        return;
    }
    const RECT& s = sideBorders_;
    if (s.left <= 0 && s.top <= 0 && s.right <= 0 && s.bottom <= 0) {
        if (borderSize_ > 0) CPainter::DrawFrameRect(hdc, itemRect_, borderSize_, color);
        return;
    }
    const uint32_t sideColor = AdjustedColor(borderColor_);
    const RECT& r = itemRect_;
    if (s.left > 0) {
        CPainter::DrawLineSegment(hdc, {r.left, r.top, r.left, r.bottom}, s.left, sideColor, borderStyle_);
    }
    if (s.top > 0) {
        CPainter::DrawLineSegment(hdc, {r.left, r.top, r.right, r.top}, s.top, sideColor, borderStyle_);
    }
    if (s.right > 0) {
        CPainter::DrawLineSegment(hdc, {r.right, r.top, r.right, r.bottom}, s.right, sideColor, borderStyle_);
    }
    if (s.bottom > 0) {
        CPainter::DrawLineSegment(hdc, {r.left, r.bottom, r.right, r.bottom}, s.bottom, sideColor,
                                  borderStyle_);
    }
}

}  // namespace SkinUI
