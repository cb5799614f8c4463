// CLabelUI's events: focus only flags, and the drag and resize of a floating
// label with "drag" by its body or its border strips.
#include "ui/controls/control_math.h"
#include "ui/controls/label_ui.h"
#include "ui/core/manager_ui.h"

namespace SkinUI {

namespace {

LayoutRect ToLayout(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

void SetEdgeCursor(uint32_t edges) {
    const wchar_t* shape = nullptr;
    switch (CursorForEdges(edges)) {
        case EdgeCursor::kSizeNWSE:
            shape = IDC_SIZENWSE;
            break;
        case EdgeCursor::kSizeNESW:
            shape = IDC_SIZENESW;
            break;
        case EdgeCursor::kSizeWE:
            shape = IDC_SIZEWE;
            break;
        case EdgeCursor::kSizeNS:
            shape = IDC_SIZENS;
            break;
        case EdgeCursor::kUnchanged:
            return;
    }
    SetCursor(LoadCursorW(nullptr, shape));
}

}  // namespace

bool CLabelUI::HandleDragEvent(UiEvent& event) {
    const bool canDrag = drag_ && IsFloating() && Parent() != nullptr;
    const POINT pt = event.mousePoint;
    switch (event.type) {
        case EventButtonDown: {
            const RECT item = ItemRect();
            if (!IsEnabled() || !PtInRect(&item, pt) || !canDrag) return false;
            dragState_ |= kDragging;
            lastDragPoint_ = pt;
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            if (BorderSize() > 0) {
                dragEdges_ = DragEdgesAt(ToLayout(item), pt.x, pt.y, BorderSize());
                SetEdgeCursor(dragEdges_);
            }
            return true;
        }
        case EventButtonUp:
            if ((dragState_ & kDragging) == 0) return false;
            dragState_ &= ~kDragging;
            dragEdges_ = 0;
            SetCursor(LoadCursorW(nullptr, IDC_ARROW));
            return true;
        case EventMouseMove: {
            if ((dragState_ & kDragging) != 0 && canDrag) {
                const int dx = pt.x - lastDragPoint_.x;
                const int dy = pt.y - lastDragPoint_.y;
                lastDragPoint_ = pt;
                const LayoutRect r = ToLayout(RectInParent());
                const RECT parent = Parent()->ItemRect();
                const int pw = parent.right - parent.left;
                const int ph = parent.bottom - parent.top;
                if (dragEdges_ != 0) {
                    const LayoutRect n = ResizeStep(r, dragEdges_, dx, dy, BorderSize(), pw, ph);
                    Place({n.left, n.top, n.right, n.bottom}, true);
                } else {
                    if (!MoveStepAllowed(r, dx, dy, pw, ph)) return true;
                    // Placing (rather than only offsetting the item rectangle)
                    // keeps the new place through the parent's next layout.
                    Place({r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}, true);
                }
                if (Manager() != nullptr) {
                    Manager()->RaiseNotify(this, UI_TEXT("uimoved"), event.wParam, event.lParam);
                }
                return true;
            }
            if (canDrag && BorderSize() > 0) {
                SetEdgeCursor(DragEdgesAt(ToLayout(ItemRect()), pt.x, pt.y, BorderSize()));
            }
            return false;
        }
        default:
            return false;
    }
}

bool CLabelUI::PassOnRefusedMouse(UiEvent& event) {
    if (AcceptsMouse() || !IsMouseEvent(event.type)) return false;
    if (Parent() != nullptr) {
        Parent()->HandleEvent(event);
    } else {
        CLabelUI::HandleEvent(event);
    }
    return true;
}

void CLabelUI::HandleEvent(UiEvent& event) {
    if (event.type == EventSetFocus || event.type == EventKillFocus) {
        SetFocusedFlag(event.type == EventSetFocus);
        return;
    }
    if (HandleDragEvent(event)) return;
    CControlUI::HandleEvent(event);
}

}  // namespace SkinUI
