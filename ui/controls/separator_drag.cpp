#include "ui/controls/separator_drag.h"

#include "ui/controls/control_ui.h"
#include "ui/controls/layout_math.h"
#include "ui/core/manager_ui.h"
#include "ui/core/painter.h"

namespace SkinUI {

namespace {

LayoutRect ToLayout(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

RECT ToRect(const LayoutRect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

}  // namespace

RECT SeparatorDrag::Thumb(const RECT& rect) const {
    return ToRect(SeparatorThumb(ToLayout(rect), size_, vertical_));
}

uint32_t SeparatorDrag::InputFlags(const CControlUI* layout) const {
    return layout->IsEnabled() && size_ != 0 ? InputSetCursor : 0;
}

void SeparatorDrag::SetImmediate(CControlUI* layout, bool immediate) {
    if (immediate_ == immediate) return;
    if (IsDragging() && !immediate_ && layout->Manager() != nullptr)
        layout->Manager()->RemoveAfterPaint(layout);
    immediate_ = immediate;
}

DragOutcome SeparatorDrag::HandleEvent(CControlUI* layout, UiEvent& event) {
    if (size_ == 0) return DragOutcome::kNotHandled;
    CManagerUI* manager = layout->Manager();
    const RECT item = layout->ItemRect();
    if (event.type == EventSetCursor) {
        RECT thumb = Thumb(item);
        if (!layout->IsEnabled() || !PtInRect(&thumb, event.mousePoint)) return DragOutcome::kNotHandled;
        SetCursor(LoadCursorW(nullptr, vertical_ ? IDC_SIZENS : IDC_SIZEWE));
        return DragOutcome::kHandled;
    }
    if (event.type == EventButtonDown) {
        RECT thumb = Thumb(item);
        if (!layout->IsEnabled() || !PtInRect(&thumb, event.mousePoint)) return DragOutcome::kNotHandled;
        state_ |= kDragging;
        lastPoint_ = event.mousePoint;
        newRect_ = item;
        if (!immediate_ && manager != nullptr) manager->AddAfterPaint(layout);
        return DragOutcome::kHandled;
    }
    if (!IsDragging()) return DragOutcome::kNotHandled;
    if (event.type == EventMouseMove) {
        LayoutRect next = ToLayout(newRect_);
        int32_t last = vertical_ ? lastPoint_.y : lastPoint_.x;
        const int32_t point = vertical_ ? event.mousePoint.y : event.mousePoint.x;
        const int minimum = vertical_ ? layout->MinHeight() : layout->MinWidth();
        const int maximum = vertical_ ? layout->MaxHeight() : layout->MaxWidth();
        const bool moved = SeparatorDragStep(&next, &last, point, size_, vertical_, minimum, maximum);
        lastPoint_ = event.mousePoint;
        if (!moved) return DragOutcome::kHandled;
        const RECT oldThumb = Thumb(newRect_);
        newRect_ = ToRect(next);
        if (vertical_) {
            layout->SetDeclaredHeight(newRect_.bottom - newRect_.top);
        } else {
            layout->SetDeclaredWidth(newRect_.right - newRect_.left);
        }
        if (immediate_) return DragOutcome::kApplyNewRect;
        if (manager != nullptr) {
            RECT area = oldThumb;
            RECT newThumb = Thumb(newRect_);
            RECT itemThumb = Thumb(item);
            UnionRect(&area, &area, &newThumb);
            UnionRect(&area, &area, &itemThumb);
            manager->InvalidateArea(area);
        }
        return DragOutcome::kHandled;
    }
    if (event.type == EventButtonUp) {
        state_ &= ~kDragging;
        if (!immediate_ && manager != nullptr) manager->RemoveAfterPaint(layout);
        return DragOutcome::kApplyNewRect;
    }
    return DragOutcome::kNotHandled;
}

void SeparatorDrag::AfterPaint(HDC hdc) const {
    if (!IsDragging() || immediate_) return;
    CPainter::FillColor(hdc, Thumb(newRect_), 0xAA000000u);
}

}  // namespace SkinUI
