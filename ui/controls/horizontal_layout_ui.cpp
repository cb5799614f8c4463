#include "ui/controls/horizontal_layout_ui.h"

#include "ui/controls/attribute_values.h"

namespace SkinUI {

CHorizontalLayoutUI::CHorizontalLayoutUI() : separator_(false) {}

const UiChar* CHorizontalLayoutUI::ClassName() const {
    return UI_TEXT("HorizontalLayoutUI");
}

void* CHorizontalLayoutUI::InterfaceFor(const UiChar* name) {
    if (UiStrEq(name, UI_TEXT("HorizontalLayout"))) return this;
    return CContainerUI::InterfaceFor(name);
}

uint32_t CHorizontalLayoutUI::InputFlags() {
    return separator_.InputFlags(this);
}

void CHorizontalLayoutUI::Place(RECT rect, bool repaint) {
    CControlUI::Place(rect, repaint);
    PlaceLinearChildren(false);
}

void CHorizontalLayoutUI::HandleEvent(UiEvent& event) {
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

void CHorizontalLayoutUI::SetAttribute(const UiChar* name, const UiChar* value) {
    if (name == nullptr || value == nullptr) return;
    if (UiStrEq(name, UI_TEXT("sepwidth"))) {
        separator_.SetSize(ParseDecimal(value));
    } else if (UiStrEq(name, UI_TEXT("sepimm"))) {
        separator_.SetImmediate(this, ParseTrue(value));
    } else {
        CContainerUI::SetAttribute(name, value);
    }
}

void CHorizontalLayoutUI::AfterPaint(HDC hdc, const RECT& paintRect) {
    separator_.AfterPaint(hdc);
}

RECT CHorizontalLayoutUI::SeparatorThumbRect() const {
    if (separator_.Size() == 0) return {0, 0, 0, 0};
    return separator_.Thumb(ItemRect());
}

}  // namespace SkinUI
