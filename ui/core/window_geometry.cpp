#include "ui/core/window_geometry.h"

#include <cwctype>

namespace SkinUI {

namespace {

bool EqualsNoCase(const wchar_t* a, const wchar_t* b) {
    for (; *a != 0 && *b != 0; ++a, ++b) {
        if (towlower(*a) != towlower(*b)) return false;
    }
    return *a == *b;
}

}  // namespace

int ResizeBorderHit(const FrameRect& client, const FrameRect& sizeBox, FramePoint pt) {
    const bool left = pt.x < client.left + sizeBox.left;
    const bool right = pt.x > client.right - sizeBox.right;
    if (pt.y < client.top + sizeBox.top) {
        return left ? FrameHitTopLeft : (right ? FrameHitTopRight : FrameHitTop);
    }
    if (pt.y > client.bottom - sizeBox.bottom) {
        return left ? FrameHitBottomLeft : (right ? FrameHitBottomRight : FrameHitBottom);
    }
    if (left) return FrameHitLeft;
    if (right) return FrameHitRight;
    return FrameHitClient;
}

bool InCaptionBand(const FrameRect& client, const FrameRect& caption, FramePoint pt) {
    return pt.x >= client.left + caption.left && pt.x < client.right - caption.right && pt.y >= caption.top &&
           pt.y < caption.bottom;
}

bool CaptionControlDrags(const wchar_t* className) {
    if (className == nullptr) return true;
    return !EqualsNoCase(className, L"ButtonUI") && !EqualsNoCase(className, L"OptionUI") &&
           !EqualsNoCase(className, L"TextUI");
}

FramePoint CenteredPosition(const FrameRect& area, const FrameRect& work, int width, int height) {
    FramePoint pt;
    pt.x = (area.left + area.right) / 2 - width / 2;
    pt.y = (area.top + area.bottom) / 2 - height / 2;
    if (pt.x < work.left) {
        pt.x = work.left;
    } else if (pt.x + width > work.right) {
        pt.x = work.right - width;
    }
    if (pt.y < work.top) {
        pt.y = work.top;
    } else if (pt.y + height > work.bottom) {
        pt.y = work.bottom - height;
    }
    return pt;
}

FrameRect RoundRegionRect(const FrameRect& window) {
    FrameRect r;
    r.right = window.right - window.left + 1;
    r.bottom = window.bottom - window.top + 1;
    return r;
}

}  // namespace SkinUI
