// CHorizontalLayoutUI: a container that stacks its non-floating children
// left to right; "sepwidth" makes it resizable by dragging a strip at one edge.
#pragma once

#include "ui/controls/linear_layout_ui.h"

namespace SkinUI {

class CHorizontalLayoutUI : public CLinearLayoutUI {
public:
    CHorizontalLayoutUI();

    const UiChar* ClassName() const override;
    void* InterfaceFor(const UiChar* name) override;
};

}  // namespace SkinUI
