#include "ui/controls/horizontal_layout_ui.h"

namespace SkinUI {

CHorizontalLayoutUI::CHorizontalLayoutUI() : CLinearLayoutUI(false) {}

const UiChar* CHorizontalLayoutUI::ClassName() const {
    return UI_TEXT("HorizontalLayoutUI");
}

void* CHorizontalLayoutUI::InterfaceFor(const UiChar* name) {
    if (UiStrEq(name, UI_TEXT("HorizontalLayout"))) return this;
    return CContainerUI::InterfaceFor(name);
}

}  // namespace SkinUI
