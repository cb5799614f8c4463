// CHorizontalLayoutUI: a container that stacks its non-floating children
// left to right, sharing the space the fixed-size children leave among
// the others; "sepwidth" makes it resizable by dragging a strip at one edge.
#pragma once

#include "ui/controls/container_ui.h"
#include "ui/controls/separator_drag.h"

namespace SkinUI {

class CHorizontalLayoutUI : public CContainerUI {
public:
    CHorizontalLayoutUI();

    const UiChar* ClassName() const override;
    void* InterfaceFor(const UiChar* name) override;
    uint32_t InputFlags() override;
    void Place(RECT rect, bool repaint) override;
    void HandleEvent(UiEvent& event) override;
    void SetAttribute(const UiChar* name, const UiChar* value) override;
    void AfterPaint(HDC hdc, const RECT& paintRect) override;

    int SeparatorSize() const { return separator_.Size(); }
    bool IsSeparatorImmediate() const { return separator_.Immediate(); }
    // The strip of the item rectangle (empty without a separator).
    RECT SeparatorThumbRect() const;

private:
    SeparatorDrag separator_;
};

}  // namespace SkinUI
