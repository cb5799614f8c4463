// Rectangle arithmetic of the painter: the rectangle type, intersection, and
// the plans that say which part of an image lands where (nine-grid parts,
// tiles, an image spec's destination). Plain code, so it builds and is tested
// natively; the GDI side only carries the plans out.
#pragma once

#include <cstdint>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace SkinUI {

#ifdef _WIN32
using UiRect = RECT;
#else
// Same layout as the Windows RECT: left, top, right, bottom.
struct UiRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};
#endif

inline UiRect MakeUiRect(int left, int top, int right, int bottom) {
    UiRect r;
    r.left = left;
    r.top = top;
    r.right = right;
    r.bottom = bottom;
    return r;
}
inline int RectWidth(const UiRect& r) {
    return r.right - r.left;
}
inline int RectHeight(const UiRect& r) {
    return r.bottom - r.top;
}
// Empty: no positive width or no positive height.
inline bool RectIsEmpty(const UiRect& r) {
    return r.right <= r.left || r.bottom <= r.top;
}
inline bool RectIsZero(const UiRect& r) {
    return r.left == 0 && r.top == 0 && r.right == 0 && r.bottom == 0;
}
inline bool RectEquals(const UiRect& a, const UiRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
// Like IntersectRect: false and an all-zero out for an empty intersection.
bool IntersectUiRects(UiRect* out, const UiRect& a, const UiRect& b);
inline bool RectsIntersect(const UiRect& a, const UiRect& b) {
    UiRect ignored;
    return IntersectUiRects(&ignored, a, b);
}

// One copy of a bitmap part: source rectangle to destination rectangle.
// Sizes differ for stretched copies; equal sizes copy pixel for pixel.
struct BlitPart {
    UiRect dest;
    UiRect source;
};

// The copies that draw a bitmap part src into dest over the paint rectangle
// as a nine-grid with the corner widths (left, top, right, bottom) in image
// pixels. blended tells whether the copy is an alpha blend (then the opaque
// shortcut is not taken). Parts come in drawing order: the centre (or its
// tiles), then top-left, top, top-right, left, right, bottom-left, bottom,
// bottom-right. A part is planned when its destination touches paint and its
// sizes are positive; it is not clipped further.
std::vector<BlitPart> PlanNineGrid(const UiRect& dest, const UiRect& paint, const UiRect& src,
                                   const UiRect& corners, bool blended, bool hole, bool xtiled, bool ytiled);

// The destination of an image inside an item: the whole item for an all-zero
// dest, else dest moved to the item's top-left with its right and bottom cut
// to the item.
UiRect ImageDestRect(const UiRect& item, const UiRect& dest);

// Cuts a source rectangle's right and bottom to the image size.
void ClampImageSource(UiRect* source, int imageWidth, int imageHeight);

}  // namespace SkinUI
