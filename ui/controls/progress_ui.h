// CProgressUI, as far as the skin builder needs it: the class with its
// names. Its value and fore image come with the progress control itself.
#pragma once

#include "ui/controls/label_ui.h"

namespace SkinUI {

class CProgressUI : public CLabelUI {
public:
    const UiChar* ClassName() const override { return UI_TEXT("ProgressUI"); }
    void* InterfaceFor(const UiChar* name) override {
        if (UiStrEq(name, UI_TEXT("Progress"))) return this;
        return CLabelUI::InterfaceFor(name);
    }
};

}  // namespace SkinUI
