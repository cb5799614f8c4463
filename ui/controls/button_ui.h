// CButtonUI, COptionUI and CCheckBoxUI, as far as the skin builder needs
// them: the classes with their names. Their states and images come with the
// button controls themselves.
#pragma once

#include "ui/controls/label_ui.h"

namespace SkinUI {

class CButtonUI : public CLabelUI {
public:
    const UiChar* ClassName() const override { return UI_TEXT("ButtonUI"); }
    void* InterfaceFor(const UiChar* name) override {
        if (UiStrEq(name, UI_TEXT("Button"))) return this;
        return CLabelUI::InterfaceFor(name);
    }
};

class COptionUI : public CButtonUI {
public:
    const UiChar* ClassName() const override { return UI_TEXT("OptionUI"); }
    void* InterfaceFor(const UiChar* name) override {
        if (UiStrEq(name, UI_TEXT("Option"))) return this;
        return CButtonUI::InterfaceFor(name);
    }
};

class CCheckBoxUI : public COptionUI {
public:
    const UiChar* ClassName() const override { return UI_TEXT("CheckBoxUI"); }
    void* InterfaceFor(const UiChar* name) override {
        if (UiStrEq(name, UI_TEXT("CheckBox"))) return this;
        return COptionUI::InterfaceFor(name);
    }
};

}  // namespace SkinUI
