// The window geometry's plain rectangles from Win32 ones.
#pragma once

#include <windows.h>

#include "ui/core/window_geometry.h"

namespace SkinUI {

inline FrameRect ToFrame(const RECT& r) {
    FrameRect f;
    f.left = r.left;
    f.top = r.top;
    f.right = r.right;
    f.bottom = r.bottom;
    return f;
}

}  // namespace SkinUI
