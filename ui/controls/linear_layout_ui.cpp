#include "ui/controls/linear_layout_ui.h"

#include "ui/controls/attribute_values.h"

namespace SkinUI {

uint32_t CLinearLayoutUI::InputFlags() {
    return separator_.InputFlags(this);
}

void CLinearLayoutUI::Place(RECT rect, bool repaint) {
    CControlUI::Place(rect, repaint);
    PlaceLinearChildren(vertical_);
}

void CLinearLayoutUI::HandleEvent(UiEvent& event) {
    switch (separator_.HandleEvent(this, event)) {
        case DragOutcome::kHandled:
            return;
        case DragOutcome::kApplyNewRect:
            SetItemRect(separator_.NewRect());
            RequestParentLayout();
            return;
        case DragOutcome::kNotHandled:
            break;
    }
    CContainerUI::HandleEvent(event);
}

void CLinearLayoutUI::SetAttribute(const UiChar* name, const UiChar* value) {
    if (name == nullptr || value == nullptr) return;
    if (UiStrEq(name, vertical_ ? UI_TEXT("sepheight") : UI_TEXT("sepwidth"))) {
        separator_.SetSize(ParseDecimal(value));
    } else if (UiStrEq(name, UI_TEXT("sepimm"))) {
        separator_.SetImmediate(this, ParseTrue(value));
    } else {
        CContainerUI::SetAttribute(name, value);
    }
}

void CLinearLayoutUI::AfterPaint(HDC hdc, const RECT& paintRect) {
    separator_.AfterPaint(hdc);
}

RECT CLinearLayoutUI::SeparatorThumbRect() const {
    if (separator_.Size() == 0) return {0, 0, 0, 0};
    return separator_.Thumb(ItemRect());
}

}  // namespace SkinUI
