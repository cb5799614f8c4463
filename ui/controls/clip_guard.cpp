#include "ui/controls/clip_guard.h"

namespace SkinUI {

namespace {

// The exact current clip region, or null when the DC has none. (Its bounding
// box alone would lose a rounded clip of an enclosing control.)
HRGN CurrentClip(HDC hdc) {
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    if (GetClipRgn(hdc, region) != 1) {
        DeleteObject(region);
        return nullptr;
    }
    return region;
}

}  // namespace

ClipGuard::ClipGuard(HDC hdc, const RECT& rect) : hdc_(hdc) {
    previous_ = CurrentClip(hdc_);
    HRGN region = CreateRectRgnIndirect(&rect);
    ExtSelectClipRgn(hdc_, region, RGN_AND);
    DeleteObject(region);
    own_ = CurrentClip(hdc_);
}

ClipGuard::ClipGuard(HDC hdc, const RECT& paint, const RECT& item, int cx, int cy) : hdc_(hdc) {
    previous_ = CurrentClip(hdc_);
    HRGN region = CreateRectRgnIndirect(&paint);
    HRGN round = CreateRoundRectRgn(item.left, item.top, item.right + 1, item.bottom + 1, cx, cy);
    CombineRgn(region, region, round, RGN_AND);
    DeleteObject(round);
    ExtSelectClipRgn(hdc_, region, RGN_AND);
    DeleteObject(region);
    own_ = CurrentClip(hdc_);
}

ClipGuard::~ClipGuard() {
    SelectClipRgn(hdc_, previous_);
    if (previous_ != nullptr) DeleteObject(previous_);
    if (own_ != nullptr) DeleteObject(own_);
}

void ClipGuard::SelectPrevious() {
    SelectClipRgn(hdc_, previous_);
}

void ClipGuard::SelectOwn() {
    SelectClipRgn(hdc_, own_);
}

}  // namespace SkinUI
