// CLinearLayoutUI: what the vertical and horizontal layouts share. Children
// that do not float are stacked along one axis, sharing the space the
// fixed-size children leave among the others; a separator size attribute
// ("sepheight" or "sepwidth") makes the layout resizable by dragging a strip
// at one edge.
#pragma once

#include "ui/controls/container_ui.h"
#include "ui/controls/separator_drag.h"

namespace SkinUI {

class CLinearLayoutUI : public CContainerUI {
public:
    uint32_t InputFlags() override;
    void Place(RECT rect, bool repaint) override;
    void HandleEvent(UiEvent& event) override;
    void SetAttribute(const UiChar* name, const UiChar* value) override;
    void AfterPaint(HDC hdc, const RECT& paintRect) override;

    int SeparatorSize() const { return separator_.Size(); }
    bool IsSeparatorImmediate() const { return separator_.Immediate(); }
    // The strip of the item rectangle (empty without a separator).
    RECT SeparatorThumbRect() const;

protected:
    explicit CLinearLayoutUI(bool vertical) : vertical_(vertical), separator_(vertical) {}

private:
    bool vertical_;
    SeparatorDrag separator_;
};

}  // namespace SkinUI
