#include "ui/controls/vertical_layout_ui.h"

namespace SkinUI {

CVerticalLayoutUI::CVerticalLayoutUI() : CLinearLayoutUI(true) {}

const UiChar* CVerticalLayoutUI::ClassName() const {
    return UI_TEXT("VerticalLayoutUI");
}

void* CVerticalLayoutUI::InterfaceFor(const UiChar* name) {
    if (UiStrEq(name, UI_TEXT("VerticalLayout"))) return this;
    return CContainerUI::InterfaceFor(name);
}

}  // namespace SkinUI
