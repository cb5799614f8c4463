#include "ui/controls/layout_math.h"

#include <algorithm>

namespace SkinUI {

int32_t ClampToLimits(int32_t value, int32_t minimum, int32_t maximum) {
    if (value < minimum) value = minimum;
    if (value > maximum) value = maximum;
    return value;
}

namespace {

int32_t Share(int32_t size, double share) {
    return static_cast<int32_t>(size * share);  // toward zero
}

}  // namespace

LayoutRect FloatChildRect(int32_t parentWidth, int32_t parentHeight, LayoutSize fixedOffset,
                          LayoutSize declared, const FloatShares& shares) {
    LayoutRect r;
    r.left = Share(parentWidth, shares.left) + fixedOffset.cx;
    r.top = Share(parentHeight, shares.top) + fixedOffset.cy;
    r.right = Share(parentWidth, shares.right) + fixedOffset.cx + declared.cx;
    r.bottom = Share(parentHeight, shares.bottom) + fixedOffset.cy + declared.cy;
    return r;
}

void FloatChildRules(const LayoutRect& rect, int32_t parentWidth, int32_t parentHeight,
                     const FloatShares& shares, LayoutSize* fixedOffset, LayoutSize* declared) {
    fixedOffset->cx = rect.left - Share(parentWidth, shares.left);
    fixedOffset->cy = rect.top - Share(parentHeight, shares.top);
    declared->cx = rect.right - fixedOffset->cx - Share(parentWidth, shares.right);
    declared->cy = rect.bottom - fixedOffset->cy - Share(parentHeight, shares.bottom);
}

LayoutResult LayOutStacked(const LayoutRect& area, const std::vector<LayoutChild>& children) {
    LayoutResult result;
    result.placement.resize(children.size(), ChildPlacement::kSkipped);
    result.rects.resize(children.size());
    for (size_t i = 0; i < children.size(); ++i) {
        const LayoutChild& c = children[i];
        if (!c.visible) continue;
        if (c.floating) {
            result.placement[i] = ChildPlacement::kFloating;
            continue;
        }
        int32_t w = ClampToLimits(area.Width(), c.minSize.cx, c.maxSize.cx);
        int32_t h = ClampToLimits(area.Height(), c.minSize.cy, c.maxSize.cy);
        result.placement[i] = ChildPlacement::kPlaced;
        result.rects[i] = {area.left, area.top, area.left + w, area.top + h};
    }
    return result;
}

namespace {

// The two-pass layout along one axis. "Main" is the stacking axis (height
// for the vertical layout), "cross" the other one. The helpers below pick the
// axis out of the generic structures.
struct Axis {
    bool vertical;
    int32_t Main(LayoutSize s) const { return vertical ? s.cy : s.cx; }
    int32_t Cross(LayoutSize s) const { return vertical ? s.cx : s.cy; }
    int32_t PadBefore(const LayoutRect& p) const { return vertical ? p.top : p.left; }
    int32_t PadAfter(const LayoutRect& p) const { return vertical ? p.bottom : p.right; }
    int32_t CrossBefore(const LayoutRect& p) const { return vertical ? p.left : p.top; }
    int32_t CrossAfter(const LayoutRect& p) const { return vertical ? p.right : p.bottom; }
};

LayoutResult LayOutLinear(const Axis& axis, const LayoutArea& la, int32_t childPadding,
                          const std::vector<LayoutChild>& children, const DesiredSizeFn& desired) {
    LayoutResult result;
    result.placement.resize(children.size(), ChildPlacement::kSkipped);
    result.rects.resize(children.size());
    if (children.empty()) return result;

    const LayoutRect& area = la.area;
    // The available size: the cross axis grows by the scroll range of its bar.
    LayoutSize avail;
    if (axis.vertical) {
        avail = {area.Width() + la.rangeX, area.Height()};
    } else {
        avail = {area.Width(), area.Height() + la.rangeY};
    }
    const int32_t mainAvail = axis.Main(avail);

    // First pass: the fixed total and the adjustable children.
    int32_t adjustable = 0;
    int32_t estimated = 0;
    int32_t fixed = 0;
    for (size_t i = 0; i < children.size(); ++i) {
        const LayoutChild& c = children[i];
        if (!c.visible || c.floating) continue;
        int32_t size = axis.Main(desired(static_cast<int>(i), avail));
        if (size == 0) {
            ++adjustable;
        } else {
            size = ClampToLimits(size, axis.Main(c.minSize), axis.Main(c.maxSize));
        }
        fixed += axis.PadBefore(c.padding) + axis.PadAfter(c.padding) + size;
        ++estimated;
    }
    const int32_t gaps = estimated > 1 ? estimated - 1 : 0;
    fixed += childPadding * gaps;

    int32_t share = 0;
    if (adjustable > 0) share = std::max<int32_t>(0, (mainAvail - fixed) / adjustable);

    // Second pass.
    int32_t pos = axis.vertical ? area.top - la.scrollY : area.left - la.scrollX;
    const int32_t crossStart = axis.vertical ? area.left - la.scrollX : area.top;
    const int32_t crossArea = axis.vertical ? avail.cx : area.Height();
    int32_t remaining = mainAvail;
    int32_t fixedRemaining = fixed;
    int32_t adjustableSeen = 0;
    int32_t needed = 0;
    for (size_t i = 0; i < children.size(); ++i) {
        const LayoutChild& c = children[i];
        if (!c.visible) continue;
        if (c.floating) {
            result.placement[i] = ChildPlacement::kFloating;
            continue;
        }
        const int32_t before = axis.PadBefore(c.padding);
        const int32_t after = axis.PadAfter(c.padding);
        remaining -= before;
        LayoutSize ask = axis.vertical ? LayoutSize{avail.cx, remaining} : LayoutSize{remaining, avail.cy};
        int32_t size = axis.Main(desired(static_cast<int>(i), ask));
        if (size == 0) {
            ++adjustableSeen;
            size = share;
            if (adjustableSeen == adjustable) size = std::max<int32_t>(0, remaining - after - fixedRemaining);
            size = ClampToLimits(size, axis.Main(c.minSize), axis.Main(c.maxSize));
        } else {
            size = ClampToLimits(size, axis.Main(c.minSize), axis.Main(c.maxSize));
            fixedRemaining -= size;
        }

        const int32_t crossBefore = axis.CrossBefore(c.padding);
        const int32_t crossAfter = axis.CrossAfter(c.padding);
        int32_t cross = axis.Cross(c.declared);
        if (cross == 0) cross = crossArea - crossBefore - crossAfter;
        if (cross < 0) cross = 0;
        cross = ClampToLimits(cross, axis.Cross(c.minSize), axis.Cross(c.maxSize));

        LayoutRect r;
        if (axis.vertical) {
            r = {crossStart + crossBefore, pos + before, crossStart + crossBefore + cross,
                 pos + before + size + after};
        } else {
            r = {pos + before, crossStart + crossBefore, pos + before + size + after,
                 crossStart + crossBefore + cross};
        }
        result.placement[i] = ChildPlacement::kPlaced;
        result.rects[i] = r;

        pos += before + size + after + childPadding;
        needed += before + size + after;
        remaining -= size + after + childPadding;
    }
    needed += childPadding * gaps;
    result.needed = needed;
    return result;
}

}  // namespace

LayoutResult LayOutVertical(const LayoutArea& area, int32_t childPadding,
                            const std::vector<LayoutChild>& children, const DesiredSizeFn& desired) {
    return LayOutLinear(Axis{true}, area, childPadding, children, desired);
}

LayoutResult LayOutHorizontal(const LayoutArea& area, int32_t childPadding,
                              const std::vector<LayoutChild>& children, const DesiredSizeFn& desired) {
    return LayOutLinear(Axis{false}, area, childPadding, children, desired);
}

LayoutRect SeparatorThumb(const LayoutRect& r, int32_t size, bool vertical) {
    if (vertical) {
        if (size > 0) return {r.left, std::max(r.bottom - size, r.top), r.right, r.bottom};
        return {r.left, r.top, r.right, std::min(r.top - size, r.bottom)};
    }
    if (size > 0) return {r.right - size, r.top, r.right, r.bottom};
    return {r.left, r.top, r.left - size, r.bottom};
}

bool SeparatorDragStep(LayoutRect* newRect, int32_t* lastPoint, int32_t point, int32_t size, bool vertical,
                       int32_t minimum, int32_t maximum) {
    const int32_t d = point - *lastPoint;
    *lastPoint = point;
    int32_t& low = vertical ? newRect->top : newRect->left;
    int32_t& high = vertical ? newRect->bottom : newRect->right;
    LayoutRect next = *newRect;
    int32_t& nextLow = vertical ? next.top : next.left;
    int32_t& nextHigh = vertical ? next.bottom : next.right;
    if (size < 0) {
        // The strip lies at the low edge, which moves.
        if ((d > 0 && point < low) || (d < 0 && point > low - size)) return false;
        nextLow += d;
    } else {
        if ((d > 0 && point < high - size) || (d < 0 && point > high)) return false;
        nextHigh += d;
    }
    const int32_t current = high - low;
    const int32_t extent = nextHigh - nextLow;
    auto setExtent = [&](int32_t value) {
        if (size < 0) {
            nextLow = nextHigh - value;
        } else {
            nextHigh = nextLow + value;
        }
    };
    if (extent <= minimum) {
        if (current <= minimum) return false;
        setExtent(minimum);
    } else if (extent >= maximum) {
        if (current >= maximum) return false;
        setExtent(maximum);
    }
    *newRect = next;
    return true;
}

}  // namespace SkinUI
