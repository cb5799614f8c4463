// ClipGuard: a scoped clip region on a device context. Creating it narrows
// the clip to a rectangle (or a rounded rectangle) inside the current clip;
// releasing it restores the clip it found.
#pragma once

#include <windows.h>

namespace SkinUI {

class ClipGuard {
public:
    // Clip to rect inside the current clip.
    ClipGuard(HDC hdc, const RECT& rect);
    // Clip to paint inside a rounded rectangle over item with corner ellipse
    // (cx, cy).
    ClipGuard(HDC hdc, const RECT& paint, const RECT& item, int cx, int cy);
    ClipGuard(const ClipGuard&) = delete;
    ClipGuard& operator=(const ClipGuard&) = delete;
    ~ClipGuard();

    // Selects the clip the guard found, for drawing that may pass over the
    // guard's area (floating children); SelectOwn comes back.
    void SelectPrevious();
    void SelectOwn();

private:
    HDC hdc_;
    HRGN previous_ = nullptr;
    HRGN own_ = nullptr;
};

}  // namespace SkinUI
