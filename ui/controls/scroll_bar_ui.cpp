#include "ui/controls/scroll_bar_ui.h"

namespace SkinUI {

CScrollBarUI::CScrollBarUI() {
    SetHorizontal(false);
}

const UiChar* CScrollBarUI::ClassName() const {
    return UI_TEXT("ScrollBarUI");
}

void* CScrollBarUI::InterfaceFor(const UiChar* name) {
    if (UiStrEq(name, UI_TEXT("ScrollBar"))) return this;
    return CControlUI::InterfaceFor(name);
}

void CScrollBarUI::SetHorizontal(bool horizontal) {
    horizontal_ = horizontal;
    if (horizontal_) {
        SetDeclaredWidth(0);
        SetDeclaredHeight(kDefaultSize);
    } else {
        SetDeclaredWidth(kDefaultSize);
        SetDeclaredHeight(0);
    }
}

void CScrollBarUI::SetScrollRange(int range) {
    range_ = range < 0 ? 0 : range;
    if (pos_ > range_) pos_ = range_;
}

void CScrollBarUI::SetScrollPos(int pos) {
    if (pos < 0) pos = 0;
    if (pos > range_) pos = range_;
    if (pos == pos_) return;
    pos_ = pos;
    Repaint();
}

}  // namespace SkinUI
