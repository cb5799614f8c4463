#include "ui/controls/vertical_layout_ui.h"

#include "ui/controls/attribute_values.h"

namespace SkinUI {

CVerticalLayoutUI::CVerticalLayoutUI() : separator_(true) {}

const UiChar* CVerticalLayoutUI::ClassName() const {
    return UI_TEXT("VerticalLayoutUI");
}

void* CVerticalLayoutUI::InterfaceFor(const UiChar* name) {
    if (UiStrEq(name, UI_TEXT("VerticalLayout"))) return this;
    return CContainerUI::InterfaceFor(name);
}

uint32_t CVerticalLayoutUI::InputFlags() {
    return separator_.InputFlags(this);
}

void CVerticalLayoutUI::Place(RECT rect, bool repaint) {
    CControlUI::Place(rect, repaint);
    PlaceLinearChildren(true);
}

void CVerticalLayoutUI::HandleEvent(UiEvent& event) {
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

void CVerticalLayoutUI::SetAttribute(const UiChar* name, const UiChar* value) {
    if (name == nullptr || value == nullptr) return;
    if (UiStrEq(name, UI_TEXT("sepheight"))) {
        separator_.SetSize(ParseDecimal(value));
    } else if (UiStrEq(name, UI_TEXT("sepimm"))) {
        separator_.SetImmediate(this, ParseTrue(value));
    } else {
        CContainerUI::SetAttribute(name, value);
    }
}

void CVerticalLayoutUI::AfterPaint(HDC hdc, const RECT& paintRect) {
    separator_.AfterPaint(hdc);
}

RECT CVerticalLayoutUI::SeparatorThumbRect() const {
    if (separator_.Size() == 0) return {0, 0, 0, 0};
    return separator_.Thumb(ItemRect());
}

}  // namespace SkinUI
