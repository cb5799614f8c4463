// CButtonUI's state images and text colours.
#include "ui/controls/button_ui.h"
#include "ui/core/painter.h"

namespace SkinUI {

void CButtonUI::DrawStateImages(HDC hdc) {
    RefreshPaintState();
    ImageSpec& fore = ForeImageSpec();
    if ((state_ & kDisabled) != 0) {
        if (!DrawSpec(hdc, disabledImage_)) DrawSpec(hdc, normalImage_);
    } else if ((state_ & kPushed) != 0) {
        if (!DrawSpec(hdc, pushedImage_)) DrawSpec(hdc, normalImage_);
    } else if ((state_ & kHot) != 0) {
        if (!DrawSpec(hdc, hotImage_)) DrawSpec(hdc, normalImage_);
        if (DrawSpec(hdc, hotForeImage_)) return;
        if (hotBackColor_ != 0) {
            CPainter::FillColor(hdc, PaintRect(), AdjustedColor(hotBackColor_));
            return;
        }
    } else if ((state_ & kFocused) != 0) {
        if (!DrawSpec(hdc, focusedImage_)) DrawSpec(hdc, normalImage_);
    } else {
        DrawSpec(hdc, normalImage_);
    }
    DrawSpec(hdc, fore);
}

void CButtonUI::DrawTextContent(HDC hdc) {
    RefreshPaintState();
    StoreDefaultColors();
    const UiString text = GetText();
    if (text.IsEmpty()) return;
    RECT rect = PaddedRect();
    SetTextRect(rect);
    uint32_t color = IsEnabled() ? TextColor() : DisabledTextColor();
    if ((state_ & kPushed) != 0 && pushedTextColor_ != 0) {
        color = pushedTextColor_;
    } else if ((state_ & kHot) != 0 && hotTextColor_ != 0) {
        color = hotTextColor_;
    } else if ((state_ & kFocused) != 0 && focusedTextColor_ != 0) {
        color = focusedTextColor_;
    }
    DrawLabelText(hdc, rect, text.Data(), color, TextStyle());
}

}  // namespace SkinUI
