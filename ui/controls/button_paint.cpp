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
    DrawStateText(hdc, [this]() -> uint32_t {
        if ((state_ & kPushed) != 0 && pushedTextColor_ != 0) return pushedTextColor_;
        if ((state_ & kHot) != 0 && hotTextColor_ != 0) return hotTextColor_;
        if ((state_ & kFocused) != 0 && focusedTextColor_ != 0) return focusedTextColor_;
        return IsEnabled() ? TextColor() : DisabledTextColor();
    });
}

}  // namespace SkinUI
