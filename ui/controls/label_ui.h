// CLabelUI and CTextUI, as far as the skin builder needs them: the classes
// with their names. Their text drawing comes with the label and text
// controls themselves.
#pragma once

#include "ui/controls/control_ui.h"

namespace SkinUI {

class CLabelUI : public CControlUI {
public:
    const UiChar* ClassName() const override { return UI_TEXT("LabelUI"); }
    void* InterfaceFor(const UiChar* name) override {
        if (UiStrEq(name, UI_TEXT("Label"))) return this;
        return CControlUI::InterfaceFor(name);
    }
};

class CTextUI : public CLabelUI {
public:
    const UiChar* ClassName() const override { return UI_TEXT("TextUI"); }
    void* InterfaceFor(const UiChar* name) override {
        if (UiStrEq(name, UI_TEXT("Text"))) return this;
        return CLabelUI::InterfaceFor(name);
    }
};

}  // namespace SkinUI
