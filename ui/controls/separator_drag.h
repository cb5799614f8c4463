// SeparatorDrag: the user resizing of a vertical or horizontal layout by
// dragging a strip along one of its edges. Both layouts own one and hand it
// their events; the arithmetic is in layout_math.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/core/ui_event.h"

namespace SkinUI {

class CControlUI;

enum class DragOutcome {
    kNotHandled,    // not a drag event: the container handles it
    kHandled,       // consumed
    kApplyNewRect,  // the layout takes NewRect() as its item rectangle and asks its parent to re-place it
};

class SeparatorDrag {
public:
    static constexpr uint32_t kDragging = 0x40;

    explicit SeparatorDrag(bool vertical) : vertical_(vertical) {}

    int Size() const { return size_; }
    void SetSize(int size) { size_ = size; }
    bool Immediate() const { return immediate_; }
    // Switching to immediate during a drag drops the shadow's after-paint.
    void SetImmediate(CControlUI* layout, bool immediate);
    bool IsDragging() const { return (state_ & kDragging) != 0; }
    RECT NewRect() const { return newRect_; }

    // The strip of rect (the item rectangle, or during a drag the new one).
    RECT Thumb(const RECT& rect) const;
    // InputSetCursor when the layout is enabled and has a strip.
    uint32_t InputFlags(const CControlUI* layout) const;
    // Handles the drag events.
    DragOutcome HandleEvent(CControlUI* layout, UiEvent& event);
    // The shadow of the new edge during a non-immediate drag.
    void AfterPaint(HDC hdc) const;

private:
    bool vertical_;
    int size_ = 0;
    uint32_t state_ = 0;
    POINT lastPoint_ = {0, 0};
    RECT newRect_ = {0, 0, 0, 0};
    bool immediate_ = false;
};

}  // namespace SkinUI
