// CVerticalLayoutUI: a container that stacks its non-floating children
// top to bottom; "sepheight" makes it resizable by dragging a strip at one edge.
#pragma once

#include "ui/controls/linear_layout_ui.h"

namespace SkinUI {

class CVerticalLayoutUI : public CLinearLayoutUI {
public:
    CVerticalLayoutUI();

    const UiChar* ClassName() const override;
    void* InterfaceFor(const UiChar* name) override;
};

}  // namespace SkinUI
