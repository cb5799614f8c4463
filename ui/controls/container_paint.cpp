// CContainerUI's painting: its own layers, then the children clipped to the
// inner area (floating ones to the whole container), then the scroll bars.
#include "ui/controls/clip_guard.h"
#include "ui/controls/container_ui.h"
#include "ui/controls/scroll_bar_ui.h"

namespace SkinUI {

namespace {

bool Meets(const RECT& a, const RECT& b) {
    RECT ignored;
    return IntersectRect(&ignored, &a, &b) != FALSE;
}

}  // namespace

void CContainerUI::Paint(HDC hdc, const RECT& paintRect) {
    const RECT item = ItemRect();
    RECT outerRect;
    if (!IntersectRect(&outerRect, &paintRect, &item)) return;
    ClipGuard outer(hdc, outerRect);
    CControlUI::Paint(hdc, paintRect);

    if (ItemCount() > 0) {
        const RECT inner = InnerArea();
        RECT innerRect;
        if (IntersectRect(&innerRect, &paintRect, &inner)) {
            ClipGuard innerGuard(hdc, innerRect);
            for (int i = 0; i < ItemCount(); ++i) {
                CControlUI* child = ItemAt(i);
                if (!child->IsVisible()) continue;
                const RECT childRect = child->ItemRect();
                if (!Meets(paintRect, childRect)) continue;
                if (child->IsFloating()) {
                    if (!Meets(item, childRect)) continue;
                    // A floating child may reach over the inset and the bars.
                    outer.SelectOwn();
                    child->Paint(hdc, paintRect);
                    innerGuard.SelectOwn();
                } else if (Meets(inner, childRect)) {
                    child->Paint(hdc, paintRect);
                }
            }
        } else {
            for (int i = 0; i < ItemCount(); ++i) {
                CControlUI* child = ItemAt(i);
                if (!child->IsVisible() || !child->IsFloating()) continue;
                const RECT childRect = child->ItemRect();
                if (Meets(paintRect, childRect) && Meets(item, childRect)) child->Paint(hdc, paintRect);
            }
        }
    }

    CScrollBarUI* bars[2] = {VerticalScrollBar(), HorizontalScrollBar()};
    for (CScrollBarUI* bar : bars) {
        if (IsBarVisible(bar) && Meets(paintRect, bar->ItemRect())) bar->Paint(hdc, paintRect);
    }
}

}  // namespace SkinUI
