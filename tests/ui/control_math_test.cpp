#include "ui/controls/control_math.h"

#include <gtest/gtest.h>

namespace SkinUI {
namespace {

TEST(ControlMath, AlignmentValuesChangeTheStyleBySubstring) {
    struct Case {
        bool vertical;
        uint32_t style;
        const UiChar* value;
        uint32_t expected;
    };
    const Case cases[] = {
        // A label starts with DT_VCENTER, a button with 0x25.
        {false, 0x04, UI_TEXT("center"), 0x05},  // DT_SINGLELINE stays as it was (off)
        {false, 0x25, UI_TEXT("center"), 0x25},
        {false, 0x25, UI_TEXT("left"), 0x04},   // "left" drops DT_SINGLELINE, keeps DT_VCENTER
        {false, 0x25, UI_TEXT("right"), 0x06},  // "right" too
        {false, 0x04, UI_TEXT("center right"), 0x06},
        {false, 0x06, UI_TEXT("leftcenter"), 0x05},
        {false, 0x25, UI_TEXT("middle"), 0x25},  // nothing known: unchanged
        {true, 0x04, UI_TEXT("top"), 0x20},
        {true, 0x08, UI_TEXT("vcenter"), 0x24},
        {true, 0x04, UI_TEXT("bottom"), 0x28},
        {true, 0x01, UI_TEXT("center"), 0x01},  // "center" is not a vertical word
        {true, 0x8005, UI_TEXT("top bottom"), 0x8029},
    };
    for (const Case& c : cases) {
        const uint32_t got =
            c.vertical ? ApplyVAlignValue(c.style, c.value) : ApplyAlignValue(c.style, c.value);
        EXPECT_EQ(got, c.expected) << (c.vertical ? "valign " : "align ") << std::hex << c.style;
    }
}

TEST(ControlMath, ShadowOffsetAngleTable) {
    struct Case {
        int distance, angle, left, top;
        float x, y;
    };
    // The offset's x is the computed y' and its y the computed x'.
    const Case cases[] = {
        {2, 45, 0, 0, -2, -2}, {2, -90, 0, 0, 2, 0},  {2, 90, 0, 0, -2, -2},  {2, 91, 0, 0, -2, 2},
        {2, 0, 0, 0, -2, -2},  {2, -1, 0, 0, 2, -2},  {2, -89, 0, 0, 2, -2},  {2, -91, 0, 0, 2, 2},
        {2, -180, 0, 0, 0, 2}, {2, 180, 0, 0, -2, 2}, {3, 45, 10, 20, 17, 7},
    };
    for (const Case& c : cases) {
        float x = 99, y = 99;
        ASSERT_TRUE(ShadowOffsetFromPolar(c.distance, c.angle, c.left, c.top, &x, &y)) << c.angle;
        EXPECT_EQ(x, c.x) << "angle " << c.angle;
        EXPECT_EQ(y, c.y) << "angle " << c.angle;
    }
    for (int angle : {200, -181, 181}) {
        float x = 5, y = 6;
        EXPECT_FALSE(ShadowOffsetFromPolar(2, angle, 0, 0, &x, &y));
        EXPECT_EQ(x, 5);
        EXPECT_EQ(y, 6);
    }
}

TEST(ControlMath, DragEdgesAndTheirCursors) {
    const LayoutRect item{100, 100, 200, 150};
    EXPECT_EQ(DragEdgesAt(item, 150, 125, 3), 0u);
    EXPECT_EQ(DragEdgesAt(item, 101, 125, 3), DragEdgeLeft);
    EXPECT_EQ(DragEdgesAt(item, 200, 150, 3), DragEdgeRight | DragEdgeBottom);
    EXPECT_EQ(DragEdgesAt(item, 103, 147, 3), DragEdgeLeft | DragEdgeBottom);
    EXPECT_EQ(DragEdgesAt(item, 101, 101, 0), 0u);  // no border, no edges

    EXPECT_EQ(CursorForEdges(DragEdgeLeft | DragEdgeTop), EdgeCursor::kSizeNWSE);
    EXPECT_EQ(CursorForEdges(DragEdgeRight | DragEdgeBottom), EdgeCursor::kSizeNWSE);
    EXPECT_EQ(CursorForEdges(DragEdgeLeft | DragEdgeBottom), EdgeCursor::kSizeNESW);
    EXPECT_EQ(CursorForEdges(DragEdgeRight | DragEdgeTop), EdgeCursor::kSizeNESW);
    EXPECT_EQ(CursorForEdges(DragEdgeRight), EdgeCursor::kSizeWE);
    EXPECT_EQ(CursorForEdges(DragEdgeBottom), EdgeCursor::kSizeNS);
    EXPECT_EQ(CursorForEdges(0), EdgeCursor::kUnchanged);
}

TEST(ControlMath, ResizeKeepsTwiceTheBorderAndStaysInTheParent) {
    const LayoutRect r{10, 10, 60, 40};
    // Shrinking past the opposite edge stops at twice the border (3 * 2).
    EXPECT_EQ(ResizeStep(r, DragEdgeLeft, 100, 0, 3, 300, 200), (LayoutRect{54, 10, 60, 40}));
    EXPECT_EQ(ResizeStep(r, DragEdgeBottom, 0, -100, 3, 300, 200), (LayoutRect{10, 10, 60, 16}));
    // Growing stops at the parent's edges.
    EXPECT_EQ(ResizeStep(r, DragEdgeLeft | DragEdgeTop, -50, -50, 3, 300, 200), (LayoutRect{0, 0, 60, 40}));
    EXPECT_EQ(ResizeStep(r, DragEdgeRight | DragEdgeBottom, 500, 500, 3, 300, 200),
              (LayoutRect{10, 10, 300, 200}));

    // A move that would cross an edge is refused as a whole.
    EXPECT_TRUE(MoveStepAllowed(r, 240, 0, 300, 200));  // right edge exactly at 300
    EXPECT_FALSE(MoveStepAllowed(r, 241, 0, 300, 200));
    EXPECT_FALSE(MoveStepAllowed(r, 0, -11, 300, 200));
    EXPECT_TRUE(MoveStepAllowed(r, -10, -10, 300, 200));
}

TEST(ControlMath, ProgressRangeRepairAndFill) {
    struct Case {
        ProgressRange range;
        bool horizontal;
        int width, height;
        LayoutRect fill;
    };
    const Case cases[] = {
        {{0, 100, 0}, true, 700, 4, {0, 0, 0, 4}},
        {{0, 100, 1}, true, 700, 4, {0, 0, 7, 4}},
        {{0, 100, 33}, true, 700, 4, {0, 0, 231, 4}},
        {{0, 100, 50}, true, 700, 4, {0, 0, 350, 4}},
        {{0, 100, 100}, true, 700, 4, {0, 0, 700, 4}},
        {{0, 100, 25}, false, 10, 200, {0, 150, 10, 200}},
        {{0, 100, 150}, true, 700, 4, {0, 0, 700, 4}},  // clamped to the maximum
        {{10, 10, 10}, true, 700, 4, {0, 0, 0, 4}},     // maximum becomes 11
        {{-50, 50, 0}, true, 100, 4, {0, 0, 50, 4}},
        // A large range would wrap a 32-bit product.
        {{0, 2000000000, 1000000000}, true, 700, 4, {0, 0, 350, 4}},
    };
    for (const Case& c : cases) {
        const ProgressRange repaired = RepairProgressRange(c.range);
        EXPECT_EQ(ProgressFill(repaired, c.horizontal, c.width, c.height), c.fill)
            << c.range.minimum << ".." << c.range.maximum << " value " << c.range.value;
    }
    const ProgressRange empty = RepairProgressRange({10, 10, 3});
    EXPECT_EQ(empty.maximum, 11);
    EXPECT_EQ(empty.value, 10);
    const ProgressRange inverted = RepairProgressRange({20, 5, 150});
    EXPECT_EQ(inverted.maximum, 21);
    EXPECT_EQ(inverted.value, 21);
}

}  // namespace
}  // namespace SkinUI
