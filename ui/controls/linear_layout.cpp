// The placement shared by the vertical and horizontal layouts: the numbers of
// the children go through the two-pass layout, and each child is placed at
// its result.
#include <vector>

#include "ui/controls/container_ui.h"
#include "ui/controls/layout_math.h"
#include "ui/controls/scroll_bar_ui.h"

namespace SkinUI {

void CContainerUI::PlaceLinearChildren(bool vertical) {
    const RECT item = ItemRect();
    const RECT inset = Inset();
    LayoutArea la;
    la.area = {item.left + inset.left, item.top + inset.top, item.right - inset.right,
               item.bottom - inset.bottom};
    CScrollBarUI* vbar = VerticalScrollBar();
    CScrollBarUI* hbar = HorizontalScrollBar();
    if (IsBarVisible(vbar)) {
        la.area.right -= vbar->DeclaredWidth();
        la.scrollY = vbar->ScrollPos();
        la.rangeY = vbar->ScrollRange();
    }
    if (IsBarVisible(hbar)) {
        la.area.bottom -= hbar->DeclaredHeight();
        la.scrollX = hbar->ScrollPos();
        la.rangeX = hbar->ScrollRange();
    }
    const RECT area = {la.area.left, la.area.top, la.area.right, la.area.bottom};
    const int count = ItemCount();
    if (count == 0) {
        UpdateScrollBars(area, 0, 0);
        return;
    }
    std::vector<LayoutChild> children(count);
    for (int i = 0; i < count; ++i) {
        CControlUI* child = ItemAt(i);
        LayoutChild& c = children[i];
        c.visible = child->IsVisible();
        c.floating = child->IsFloating();
        RECT padding = child->OuterPadding();
        c.padding = {padding.left, padding.top, padding.right, padding.bottom};
        c.declared = {child->DeclaredWidth(), child->DeclaredHeight()};
        c.minSize = {child->MinWidth(), child->MinHeight()};
        c.maxSize = {child->MaxWidth(), child->MaxHeight()};
    }
    auto desired = [this](int index, LayoutSize available) {
        SIZE size = ItemAt(index)->DesiredSize({available.cx, available.cy});
        return LayoutSize{size.cx, size.cy};
    };
    LayoutResult result = vertical ? LayOutVertical(la, ChildPadding(), children, desired)
                                   : LayOutHorizontal(la, ChildPadding(), children, desired);
    for (int i = 0; i < count; ++i) {
        if (result.placement[i] == ChildPlacement::kFloating) {
            PlaceFloatingChild(i);
        } else if (result.placement[i] == ChildPlacement::kPlaced) {
            const LayoutRect& r = result.rects[i];
            ItemAt(i)->Place({r.left, r.top, r.right, r.bottom}, false);
        }
    }
    if (vertical) {
        UpdateScrollBars(area, 0, result.needed);
    } else {
        UpdateScrollBars(area, result.needed, 0);
    }
}

}  // namespace SkinUI
