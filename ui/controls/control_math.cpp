#include "ui/controls/control_math.h"

#include "ui/core/ui_string.h"

namespace SkinUI {

namespace {

bool Contains(const UiChar* text, const UiChar* part) {
    if (text == nullptr) return false;
    return UiString(text).Find(part) >= 0;
}

}  // namespace

uint32_t ApplyAlignValue(uint32_t style, const UiChar* value) {
    if (Contains(value, UI_TEXT("left"))) style &= ~(TextCenter | TextRight | TextSingleLine);
    if (Contains(value, UI_TEXT("center"))) {
        style &= ~TextRight;
        style |= TextCenter;
    }
    if (Contains(value, UI_TEXT("right"))) {
        style &= ~(TextCenter | TextSingleLine);
        style |= TextRight;
    }
    return style;
}

uint32_t ApplyVAlignValue(uint32_t style, const UiChar* value) {
    if (Contains(value, UI_TEXT("top"))) {
        style &= ~(TextBottom | TextVCenter);
        style |= TextSingleLine;
    }
    if (Contains(value, UI_TEXT("vcenter"))) {
        style &= ~TextBottom;
        style |= TextVCenter | TextSingleLine;
    }
    if (Contains(value, UI_TEXT("bottom"))) {
        style &= ~TextVCenter;
        style |= TextBottom | TextSingleLine;
    }
    return style;
}

bool ShadowOffsetFromPolar(int32_t distance, int32_t angle, int32_t left, int32_t top, float* x, float* y) {
    if (angle < -180 || angle > 180) return false;
    int32_t yPrime = top;
    if (angle >= 0) {
        yPrime = top - distance;
    } else if (angle >= -179) {
        yPrime = top + distance;
    }
    int32_t xPrime = left + distance;
    if (angle >= -89 && angle <= 90) {
        xPrime = left - distance;
    } else if (angle == -90) {
        xPrime = left;
    }
    *x = static_cast<float>(yPrime);
    *y = static_cast<float>(xPrime);
    return true;
}

uint32_t DragEdgesAt(const LayoutRect& item, int32_t x, int32_t y, int32_t border) {
    uint32_t edges = 0;
    if (border <= 0) return 0;
    if (x >= item.left && x <= item.left + border) edges |= DragEdgeLeft;
    if (y >= item.top && y <= item.top + border) edges |= DragEdgeTop;
    if (x >= item.right - border && x <= item.right) edges |= DragEdgeRight;
    if (y >= item.bottom - border && y <= item.bottom) edges |= DragEdgeBottom;
    return edges;
}

EdgeCursor CursorForEdges(uint32_t edges) {
    const bool left = (edges & DragEdgeLeft) != 0;
    const bool top = (edges & DragEdgeTop) != 0;
    const bool right = (edges & DragEdgeRight) != 0;
    const bool bottom = (edges & DragEdgeBottom) != 0;
    if ((left && top) || (right && bottom)) return EdgeCursor::kSizeNWSE;
    if ((left && bottom) || (right && top)) return EdgeCursor::kSizeNESW;
    if (left || right) return EdgeCursor::kSizeWE;
    if (top || bottom) return EdgeCursor::kSizeNS;
    return EdgeCursor::kUnchanged;
}

LayoutRect ResizeStep(LayoutRect r, uint32_t edges, int32_t dx, int32_t dy, int32_t border,
                      int32_t parentWidth, int32_t parentHeight) {
    const int32_t least = 2 * border;
    if ((edges & DragEdgeLeft) != 0) {
        r.left += dx;
        if (r.left + least > r.right) r.left = r.right - least;
        if (r.left < 0) r.left = 0;
    }
    if ((edges & DragEdgeTop) != 0) {
        r.top += dy;
        if (r.top + least > r.bottom) r.top = r.bottom - least;
        if (r.top < 0) r.top = 0;
    }
    if ((edges & DragEdgeRight) != 0) {
        r.right += dx;
        if (r.right - least < r.left) r.right = r.left + least;
        if (r.right > parentWidth) r.right = parentWidth;
    }
    if ((edges & DragEdgeBottom) != 0) {
        r.bottom += dy;
        if (r.bottom - least < r.top) r.bottom = r.top + least;
        if (r.bottom > parentHeight) r.bottom = parentHeight;
    }
    return r;
}

bool MoveStepAllowed(const LayoutRect& r, int32_t dx, int32_t dy, int32_t parentWidth, int32_t parentHeight) {
    return r.left + dx >= 0 && r.right + dx <= parentWidth && r.top + dy >= 0 &&
           r.bottom + dy <= parentHeight;
}

ProgressRange RepairProgressRange(ProgressRange range) {
    if (range.maximum <= range.minimum) range.maximum = range.minimum + 1;
    if (range.value > range.maximum) range.value = range.maximum;
    if (range.value < range.minimum) range.value = range.minimum;
    return range;
}

LayoutRect ProgressFill(const ProgressRange& range, bool horizontal, int32_t width, int32_t height) {
    // 64-bit products: a wide bar with a large range must not wrap.
    const int64_t span = int64_t(range.maximum) - range.minimum;
    if (span <= 0) return {};
    if (horizontal) {
        return {0, 0, int32_t(int64_t(width) * (int64_t(range.value) - range.minimum) / span), height};
    }
    return {0, int32_t(int64_t(height) * (int64_t(range.maximum) - range.value) / span), width, height};
}

}  // namespace SkinUI
