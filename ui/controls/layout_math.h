// The layout arithmetic of the containers, in plain C++: float placement, the
// plain container's stacking, the two-pass vertical and horizontal layouts
// and the separator strip of a resizable layout. The control classes feed
// their children's numbers in and place the children at the results.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace SkinUI {

struct LayoutRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    bool operator==(const LayoutRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

struct LayoutSize {
    int32_t cx = 0;
    int32_t cy = 0;
    bool operator==(const LayoutSize& o) const { return cx == o.cx && cy == o.cy; }
};

struct FloatShares {
    double left = 0.0;
    double top = 0.0;
    double right = 0.0;
    double bottom = 0.0;
};

// Clamps to the minimum first, then to the maximum, so a maximum below the
// minimum wins.
int32_t ClampToLimits(int32_t value, int32_t minimum, int32_t maximum);

// Where a floating child lies relative to its parent's top-left corner, for a
// parent of width W and height H.
LayoutRect FloatChildRect(int32_t parentWidth, int32_t parentHeight, LayoutSize fixedOffset,
                          LayoutSize declared, const FloatShares& shares);

// The inverse: the fixed offset and declared size that make FloatChildRect
// reproduce rect (relative to the parent).
void FloatChildRules(const LayoutRect& rect, int32_t parentWidth, int32_t parentHeight,
                     const FloatShares& shares, LayoutSize* fixedOffset, LayoutSize* declared);

// What the layouts need of one child.
struct LayoutChild {
    bool visible = true;
    bool floating = false;
    LayoutRect padding;  // outer padding
    LayoutSize declared;
    LayoutSize minSize;
    LayoutSize maxSize{9999, 9999};
};

enum class ChildPlacement { kSkipped, kFloating, kPlaced };

struct LayoutResult {
    std::vector<ChildPlacement> placement;  // one per child
    std::vector<LayoutRect> rects;          // valid for kPlaced
    int32_t needed = 0;                     // height (vertical) or width (horizontal) used
};

// The container's area and scroll state for one layout run.
struct LayoutArea {
    LayoutRect area;      // item rectangle minus inset and visible scroll bars
    int32_t scrollX = 0;  // horizontal bar position (0 when hidden)
    int32_t scrollY = 0;  // vertical bar position (0 when hidden)
    int32_t rangeX = 0;   // horizontal bar range (0 when hidden)
    int32_t rangeY = 0;   // vertical bar range (0 when hidden)
};

// The child's DesiredSize for an available size.
using DesiredSizeFn = std::function<LayoutSize(int index, LayoutSize available)>;

// A plain container: every visible non-floating child covers the whole area
// (clamped to its limits) from the area's top-left corner.
LayoutResult LayOutStacked(const LayoutRect& area, const std::vector<LayoutChild>& children);

LayoutResult LayOutVertical(const LayoutArea& area, int32_t childPadding,
                            const std::vector<LayoutChild>& children, const DesiredSizeFn& desired);
LayoutResult LayOutHorizontal(const LayoutArea& area, int32_t childPadding,
                              const std::vector<LayoutChild>& children, const DesiredSizeFn& desired);

// The separator strip of a resizable layout: |size| pixels along the bottom
// (vertical, size > 0), top (size < 0), right or left (horizontal) edge.
LayoutRect SeparatorThumb(const LayoutRect& rect, int32_t size, bool vertical);

// One mouse-move step of a separator drag. newRect is the rectangle the
// layout will take; lastPoint the pointer coordinate (y for vertical, x for
// horizontal) of the previous step, updated here. Returns false when the
// step is ignored (newRect unchanged).
bool SeparatorDragStep(LayoutRect* newRect, int32_t* lastPoint, int32_t point, int32_t size, bool vertical,
                       int32_t minimum, int32_t maximum);

}  // namespace SkinUI
