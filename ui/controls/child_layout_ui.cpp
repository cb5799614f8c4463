#include "ui/controls/child_layout_ui.h"

#include "ui/skin/skin_builder.h"

namespace SkinUI {

const UiChar* CChildLayoutUI::ClassName() const {
    return UI_TEXT("ChildLayoutUI");
}

void* CChildLayoutUI::InterfaceFor(const UiChar* name) {
    if (UiStrEq(name, UI_TEXT("ChildLayout"))) return this;
    return CContainerUI::InterfaceFor(name);
}

void CChildLayoutUI::Initialize() {
    if (!xmlFile_.IsEmpty()) {
        CSkinBuilder builder;
        CControlUI* child = builder.Create(xmlFile_.Data(), nullptr, nullptr, Manager(), nullptr);
        if (child != nullptr) {
            Add(child);
        } else {
            RemoveAll();
        }
    }
    CContainerUI::Initialize();
}

void CChildLayoutUI::SetAttribute(const UiChar* name, const UiChar* value) {
    if (name != nullptr && UiStrEq(name, UI_TEXT("xmlfile"))) {
        SetChildLayoutXml(value);
    } else {
        CContainerUI::SetAttribute(name, value);
    }
}

}  // namespace SkinUI
