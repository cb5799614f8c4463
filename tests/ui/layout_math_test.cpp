#include "ui/controls/layout_math.h"

#include <gtest/gtest.h>

#include <vector>

namespace SkinUI {
namespace {

// A child that asks for a fixed size (0: adjustable) along both axes.
struct Spec {
    int32_t size;  // desired main size; 0 = adjustable
    LayoutRect padding;
    int32_t minMain = 0;
    int32_t maxMain = 9999;
    bool floating = false;
    bool visible = true;
};

struct Built {
    std::vector<LayoutChild> children;
    DesiredSizeFn desired;
};

Built Build(const std::vector<Spec>& specs, bool vertical) {
    Built built;
    std::vector<int32_t> sizes;
    for (const Spec& s : specs) {
        LayoutChild c;
        c.padding = s.padding;
        c.visible = s.visible;
        c.floating = s.floating;
        if (vertical) {
            c.declared.cy = s.size;
            c.minSize.cy = s.minMain;
            c.maxSize.cy = s.maxMain;
        } else {
            c.declared.cx = s.size;
            c.minSize.cx = s.minMain;
            c.maxSize.cx = s.maxMain;
        }
        built.children.push_back(c);
        sizes.push_back(s.size);
    }
    built.desired = [sizes, vertical](int index, LayoutSize) {
        return vertical ? LayoutSize{0, sizes[index]} : LayoutSize{sizes[index], 0};
    };
    return built;
}

std::vector<int32_t> Heights(const LayoutResult& r) {
    std::vector<int32_t> out;
    for (size_t i = 0; i < r.rects.size(); ++i) {
        if (r.placement[i] == ChildPlacement::kPlaced) out.push_back(r.rects[i].Height());
    }
    return out;
}

std::vector<int32_t> Widths(const LayoutResult& r) {
    std::vector<int32_t> out;
    for (size_t i = 0; i < r.rects.size(); ++i) {
        if (r.placement[i] == ChildPlacement::kPlaced) out.push_back(r.rects[i].Width());
    }
    return out;
}

struct LinearCase {
    const char* what;
    int32_t extent;  // layout height (vertical) / width (horizontal)
    int32_t childPadding;
    std::vector<Spec> children;
    std::vector<int32_t> expected;  // rectangle extents along the main axis
};

const std::vector<LinearCase>& LinearCases() {
    static const std::vector<LinearCase> cases = {
        {"fixed and two adjustable", 100, 0, {{20, {}}, {0, {}}, {0, {}}}, {20, 40, 40}},
        // The last adjustable child takes R - pb - Fr, and Fr still holds
        // the gaps R has already lost.
        {"child padding", 100, 10, {{20, {}}, {0, {}}, {0, {}}}, {20, 30, 10}},
        {"remainder to the last", 100, 0, {{0, {}}, {0, {}}, {0, {}}}, {33, 33, 34}},
        // Paddings count in the fixed total and stay in it: the last
        // adjustable child is short by them.
        {"bottom padding inside the rectangle", 100, 0, {{20, {0, 0, 0, 5}}, {0, {}}}, {25, 70}},
        {"top padding before the rectangle", 100, 0, {{20, {0, 5, 0, 0}}, {0, {}}}, {20, 70}},
        {"minimum wins over the space", 50, 0, {{0, {}, 80}, {10, {}}}, {80, 10}},
        {"maximum caps an adjustable child", 100, 0, {{0, {}, 0, 30}, {0, {}}}, {30, 70}},
        {"fixed size clamped to its maximum", 100, 0, {{60, {}, 0, 40}, {0, {}}}, {40, 60}},
        {"no room left gives 0", 30, 0, {{50, {}}, {0, {}}}, {50, 0}},
        {"hidden children take no space", 100, 0, {{20, {}, 0, 9999, false, false}, {0, {}}}, {100}},
        {"floating children take no space", 100, 10, {{20, {}, 0, 9999, true}, {0, {}}, {0, {}}}, {45, 35}},
    };
    return cases;
}

TEST(LayoutMath, VerticalTable) {
    for (const LinearCase& c : LinearCases()) {
        Built b = Build(c.children, true);
        LayoutArea area;
        area.area = {10, 20, 110, 20 + c.extent};
        LayoutResult r = LayOutVertical(area, c.childPadding, b.children, b.desired);
        EXPECT_EQ(Heights(r), c.expected) << c.what;
    }
}

TEST(LayoutMath, HorizontalTable) {
    for (const LinearCase& c : LinearCases()) {
        std::vector<Spec> specs = c.children;
        // The same paddings along the other axis.
        for (Spec& s : specs) s.padding = {s.padding.top, s.padding.left, s.padding.bottom, s.padding.right};
        Built b = Build(specs, false);
        LayoutArea area;
        area.area = {10, 20, 10 + c.extent, 120};
        LayoutResult r = LayOutHorizontal(area, c.childPadding, b.children, b.desired);
        EXPECT_EQ(Widths(r), c.expected) << c.what;
    }
}

TEST(LayoutMath, VerticalPositionsAndCrossSize) {
    // Area (10,20)-(110,120); padding 10; first child fixed 20 with side
    // paddings 3/4, second declared 50 wide.
    std::vector<LayoutChild> children(2);
    children[0].padding = {3, 0, 4, 0};
    children[1].declared = {50, 0};
    std::vector<int32_t> heights = {20, 0};
    auto desired = [&](int i, LayoutSize) { return LayoutSize{children[i].declared.cx, heights[i]}; };
    LayoutArea area;
    area.area = {10, 20, 110, 120};
    LayoutResult r = LayOutVertical(area, 10, children, desired);
    EXPECT_EQ(r.rects[0], (LayoutRect{13, 20, 106, 40}));
    EXPECT_EQ(r.rects[1], (LayoutRect{10, 50, 60, 110}));
    EXPECT_EQ(r.needed, 90);
}

TEST(LayoutMath, HorizontalCrossSizeUsesPaddingAndLimits) {
    std::vector<LayoutChild> children(2);
    children[0].padding = {0, 5, 0, 7};  // height 100 - 12
    children[1].maxSize = {9999, 30};
    auto desired = [](int i, LayoutSize) { return LayoutSize{i == 0 ? 20 : 0, 0}; };
    LayoutArea area;
    area.area = {0, 0, 100, 100};
    LayoutResult r = LayOutHorizontal(area, 0, children, desired);
    EXPECT_EQ(r.rects[0], (LayoutRect{0, 5, 20, 93}));
    EXPECT_EQ(r.rects[1], (LayoutRect{20, 0, 100, 30}));
}

TEST(LayoutMath, ScrollPositionMovesChildren) {
    std::vector<LayoutChild> children(1);
    auto desired = [](int, LayoutSize) { return LayoutSize{0, 40}; };
    LayoutArea area;
    area.area = {0, 0, 100, 100};
    area.scrollY = 15;
    area.scrollX = 4;
    area.rangeX = 30;
    LayoutResult r = LayOutVertical(area, 0, children, desired);
    EXPECT_EQ(r.rects[0], (LayoutRect{-4, -15, 126, 25}));
}

TEST(LayoutMath, StackedChildrenCoverTheArea) {
    std::vector<LayoutChild> children(3);
    children[1].maxSize = {50, 9999};
    children[2].floating = true;
    LayoutResult r = LayOutStacked({5, 5, 105, 65}, children);
    EXPECT_EQ(r.rects[0], (LayoutRect{5, 5, 105, 65}));
    EXPECT_EQ(r.rects[1], (LayoutRect{5, 5, 55, 65}));
    EXPECT_EQ(r.placement[2], ChildPlacement::kFloating);
}

TEST(LayoutMath, FloatPlacementAndItsInverse) {
    struct Case {
        FloatShares shares;
        LayoutRect expected;
    } cases[] = {
        {{0, 0, 0, 0}, {30, 30, 92, 41}},
        {{1, 0, 1, 0}, {230, 30, 292, 41}},         // moves with the right edge
        {{0, 0, 1, 0}, {30, 30, 292, 41}},          // stretches with the container
        {{0.5, 0, 0.5, 0}, {130, 30, 192, 41}},     // centred share
        {{0.333, 0, 0.333, 0}, {96, 30, 158, 41}},  // trunc(200 * 0.333) = 66
    };
    for (const Case& c : cases) {
        LayoutRect r = FloatChildRect(200, 100, {30, 30}, {62, 11}, c.shares);
        EXPECT_EQ(r, c.expected);
        LayoutSize offset, declared;
        FloatChildRules(r, 200, 100, c.shares, &offset, &declared);
        EXPECT_EQ(offset, (LayoutSize{30, 30}));
        EXPECT_EQ(declared, (LayoutSize{62, 11}));
    }
}

TEST(LayoutMath, SeparatorThumbs) {
    LayoutRect r{10, 10, 110, 60};
    EXPECT_EQ(SeparatorThumb(r, 4, true), (LayoutRect{10, 56, 110, 60}));
    EXPECT_EQ(SeparatorThumb(r, -4, true), (LayoutRect{10, 10, 110, 14}));
    EXPECT_EQ(SeparatorThumb(r, 100, true), (LayoutRect{10, 10, 110, 60}));  // cut to the rectangle
    EXPECT_EQ(SeparatorThumb(r, 4, false), (LayoutRect{106, 10, 110, 60}));
    EXPECT_EQ(SeparatorThumb(r, -4, false), (LayoutRect{10, 10, 14, 60}));
}

TEST(LayoutMath, SeparatorDragStopsAtTheMinimum) {
    LayoutRect r{0, 0, 100, 50};
    int32_t last = 48;
    // Drag the bottom strip up by 20: height 30.
    EXPECT_TRUE(SeparatorDragStep(&r, &last, 28, 4, true, 25, 9999));
    EXPECT_EQ(r.bottom, 30);
    // 10 more would give 20 < 25: stops at the minimum.
    EXPECT_TRUE(SeparatorDragStep(&r, &last, 18, 4, true, 25, 9999));
    EXPECT_EQ(r.bottom, 25);
    // Further in the same direction: ignored.
    EXPECT_FALSE(SeparatorDragStep(&r, &last, 10, 4, true, 25, 9999));
    EXPECT_EQ(r.bottom, 25);
    // A pointer below the bottom edge moving down does nothing either way;
    // moving down inside the strip grows again.
    last = 23;
    EXPECT_TRUE(SeparatorDragStep(&r, &last, 33, 4, true, 25, 9999));
    EXPECT_EQ(r.bottom, 35);
}

TEST(LayoutMath, SeparatorDragAtTheTopEdgeAndMaximum) {
    LayoutRect r{0, 100, 50, 200};
    int32_t last = 101;
    EXPECT_TRUE(SeparatorDragStep(&r, &last, 81, -4, true, 0, 110));
    EXPECT_EQ(r.top, 90);  // capped at height 110
    EXPECT_FALSE(SeparatorDragStep(&r, &last, 70, -4, true, 0, 110));
    // Ignored: moving down while the pointer is above the top edge.
    last = 60;
    EXPECT_FALSE(SeparatorDragStep(&r, &last, 70, -4, true, 0, 110));
    EXPECT_EQ(r.top, 90);
}

}  // namespace
}  // namespace SkinUI
