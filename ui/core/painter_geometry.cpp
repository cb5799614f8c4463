#include "ui/core/painter_geometry.h"

#include <algorithm>

namespace SkinUI {

bool IntersectUiRects(UiRect* out, const UiRect& a, const UiRect& b) {
    UiRect r = MakeUiRect(std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                          std::min(a.bottom, b.bottom));
    if (RectIsEmpty(r)) {
        *out = MakeUiRect(0, 0, 0, 0);
        return false;
    }
    *out = r;
    return true;
}

namespace {

// Tiles over the destination centre. Each tile covers one source centre
// (sw x sh) of destination space in the tiled directions and the whole centre
// in the others; the last tile in a direction is cut, with its source.
void PlanTiles(const UiRect& dc, const UiRect& sc, bool xtiled, bool ytiled, std::vector<BlitPart>* parts) {
    const int sw = RectWidth(sc);
    const int sh = RectHeight(sc);
    // A tiled direction without a source centre draws no centre.
    if ((xtiled && sw <= 0) || (ytiled && sh <= 0)) return;
    const int stepX = xtiled ? sw : RectWidth(dc);
    const int stepY = ytiled ? sh : RectHeight(dc);
    for (int top = dc.top; top < dc.bottom; top += stepY) {
        const int bottom = std::min(top + stepY, int(dc.bottom));
        const int srcBottom = ytiled ? sc.top + (bottom - top) : sc.bottom;
        for (int left = dc.left; left < dc.right; left += stepX) {
            const int right = std::min(left + stepX, int(dc.right));
            const int srcRight = xtiled ? sc.left + (right - left) : sc.right;
            parts->push_back(
                {MakeUiRect(left, top, right, bottom), MakeUiRect(sc.left, sc.top, srcRight, srcBottom)});
        }
    }
}

}  // namespace

std::vector<BlitPart> PlanNineGrid(const UiRect& dest, const UiRect& paint, const UiRect& src,
                                   const UiRect& corners, bool blended, bool hole, bool xtiled, bool ytiled) {
    std::vector<BlitPart> parts;
    const int cl = corners.left, ct = corners.top, cr = corners.right, cb = corners.bottom;

    if (!blended && RectWidth(dest) == RectWidth(src) && RectHeight(dest) == RectHeight(src) && cl == 0 &&
        ct == 0 && cr == 0 && cb == 0) {
        UiRect visible;
        if (IntersectUiRects(&visible, dest, paint)) {
            const int sx = src.left + (visible.left - dest.left);
            const int sy = src.top + (visible.top - dest.top);
            parts.push_back({visible, MakeUiRect(sx, sy, sx + RectWidth(visible), sy + RectHeight(visible))});
        }
        return parts;
    }

    const UiRect dc = MakeUiRect(dest.left + cl, dest.top + ct, dest.right - cr, dest.bottom - cb);
    const UiRect sc = MakeUiRect(src.left + cl, src.top + ct, src.right - cr, src.bottom - cb);

    if (!hole && RectsIntersect(dc, paint)) {
        if (xtiled || ytiled) {
            PlanTiles(dc, sc, xtiled, ytiled, &parts);
        } else if (!RectIsEmpty(sc)) {
            parts.push_back({dc, sc});
        }
    }

    auto edge = [&](const UiRect& d, const UiRect& s) {
        if (RectIsEmpty(d) || RectIsEmpty(s)) return;
        if (!RectsIntersect(d, paint)) return;
        parts.push_back({d, s});
    };
    // top-left, top, top-right
    edge(MakeUiRect(dest.left, dest.top, dest.left + cl, dest.top + ct),
         MakeUiRect(src.left, src.top, src.left + cl, src.top + ct));
    edge(MakeUiRect(dest.left + cl, dest.top, dest.right - cr, dest.top + ct),
         MakeUiRect(src.left + cl, src.top, src.right - cr, src.top + ct));
    edge(MakeUiRect(dest.right - cr, dest.top, dest.right, dest.top + ct),
         MakeUiRect(src.right - cr, src.top, src.right, src.top + ct));
    // left, right
    edge(MakeUiRect(dest.left, dest.top + ct, dest.left + cl, dest.bottom - cb),
         MakeUiRect(src.left, src.top + ct, src.left + cl, src.bottom - cb));
    edge(MakeUiRect(dest.right - cr, dest.top + ct, dest.right, dest.bottom - cb),
         MakeUiRect(src.right - cr, src.top + ct, src.right, src.bottom - cb));
    // bottom-left, bottom, bottom-right
    edge(MakeUiRect(dest.left, dest.bottom - cb, dest.left + cl, dest.bottom),
         MakeUiRect(src.left, src.bottom - cb, src.left + cl, src.bottom));
    edge(MakeUiRect(dest.left + cl, dest.bottom - cb, dest.right - cr, dest.bottom),
         MakeUiRect(src.left + cl, src.bottom - cb, src.right - cr, src.bottom));
    edge(MakeUiRect(dest.right - cr, dest.bottom - cb, dest.right, dest.bottom),
         MakeUiRect(src.right - cr, src.bottom - cb, src.right, src.bottom));
    return parts;
}

UiRect ImageDestRect(const UiRect& item, const UiRect& dest) {
    if (RectIsZero(dest)) return item;
    return MakeUiRect(item.left + dest.left, item.top + dest.top,
                      std::min(item.left + dest.right, item.right),
                      std::min(item.top + dest.bottom, item.bottom));
}

void ClampImageSource(UiRect* source, int imageWidth, int imageHeight) {
    if (source->right > imageWidth) source->right = imageWidth;
    if (source->bottom > imageHeight) source->bottom = imageHeight;
}

}  // namespace SkinUI
