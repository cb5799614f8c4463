// The arithmetic of the label, button and progress controls in plain C++:
// alignment attribute flags, the shadow offset of effect text, the drag and
// resize steps of a floating label, the edge cursor, and the progress fill.
// The control classes feed their numbers in and act on the results.
#pragma once

#include <cstdint>

#include "ui/controls/layout_math.h"
#include "ui/core/ui_char.h"

namespace SkinUI {

// DrawText-style flags as the text routines read them.
constexpr uint32_t TextCenter = 0x1;
constexpr uint32_t TextRight = 0x2;
constexpr uint32_t TextVCenter = 0x4;
constexpr uint32_t TextBottom = 0x8;
constexpr uint32_t TextWordBreak = 0x10;
constexpr uint32_t TextSingleLine = 0x20;
constexpr uint32_t TextCalcRect = 0x400;
constexpr uint32_t TextEndEllipsis = 0x8000;

// "align": "left", "center" and "right" are looked for as substrings in that
// order and each one found changes the style.
uint32_t ApplyAlignValue(uint32_t style, const UiChar* value);
// "valign": "top", "vcenter", "bottom" likewise.
uint32_t ApplyVAlignValue(uint32_t style, const UiChar* value);

// "shadowoffset" d,a against the item rectangle's left and top. False (and
// nothing written) for an angle outside -180..180. The x and y are swapped
// on purpose: the offset's x is the computed y and its y the computed x.
bool ShadowOffsetFromPolar(int32_t distance, int32_t angle, int32_t left, int32_t top, float* x, float* y);

// Drag edges of a label: which border strips of width border hold the point.
constexpr uint32_t DragEdgeLeft = 0x1;
constexpr uint32_t DragEdgeTop = 0x2;
constexpr uint32_t DragEdgeRight = 0x4;
constexpr uint32_t DragEdgeBottom = 0x8;
uint32_t DragEdgesAt(const LayoutRect& item, int32_t x, int32_t y, int32_t border);

enum class EdgeCursor { kUnchanged, kSizeNWSE, kSizeNESW, kSizeWE, kSizeNS };
EdgeCursor CursorForEdges(uint32_t edges);

// One resize step of rect (relative to the parent of size parentWidth x
// parentHeight): the dragged edges move by dx, dy, never closer than twice
// the border to the opposite edge, never outside the parent.
LayoutRect ResizeStep(LayoutRect rect, uint32_t edges, int32_t dx, int32_t dy, int32_t border,
                      int32_t parentWidth, int32_t parentHeight);
// Whether a move step keeps rect inside the parent (a step that would leave
// it is ignored as a whole).
bool MoveStepAllowed(const LayoutRect& rect, int32_t dx, int32_t dy, int32_t parentWidth,
                     int32_t parentHeight);

// The progress range as it is repaired at paint: maximum above minimum,
// value inside [minimum, maximum].
struct ProgressRange {
    int32_t minimum = 0;
    int32_t maximum = 100;
    int32_t value = 0;
};
ProgressRange RepairProgressRange(ProgressRange range);
// The filled part relative to the item's top-left corner for a repaired
// range: from the left (horizontal) or from the bottom.
LayoutRect ProgressFill(const ProgressRange& range, bool horizontal, int32_t width, int32_t height);

}  // namespace SkinUI
