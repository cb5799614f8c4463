// Scoped GDI objects of the painter: a memory DC, a 32-bit DIB section, an
// object selected into a DC, a saved clip region, and the msimg32 entry points.
#pragma once

#include <windows.h>

#include <functional>

#include <cstdint>

namespace SkinUI {

// A memory DC compatible with a DC; deleted at the end of the scope.
class ScopedMemoryDC {
public:
    explicit ScopedMemoryDC(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
    ~ScopedMemoryDC() {
        if (dc_ != nullptr) DeleteDC(dc_);
    }
    ScopedMemoryDC(const ScopedMemoryDC&) = delete;
    ScopedMemoryDC& operator=(const ScopedMemoryDC&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

// Any GDI object (bitmap, pen, font, region) deleted at the end of the scope.
template <typename Handle>
class ScopedGdiObject {
public:
    explicit ScopedGdiObject(Handle handle = nullptr) : handle_(handle) {}
    ~ScopedGdiObject() { reset(); }
    ScopedGdiObject(const ScopedGdiObject&) = delete;
    ScopedGdiObject& operator=(const ScopedGdiObject&) = delete;
    Handle get() const { return handle_; }
    void reset(Handle handle = nullptr) {
        if (handle_ != nullptr) DeleteObject(handle_);
        handle_ = handle;
    }

private:
    Handle handle_;
};

// Selects an object into a DC and selects the previous one back at the end
// of the scope (before the object itself may be deleted).
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object)
        : dc_(dc), old_(object != nullptr ? SelectObject(dc, object) : nullptr) {}
    ~ScopedSelect() {
        if (old_ != nullptr) SelectObject(dc_, old_);
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// Intersects the DC's clip region with a rectangle and restores the previous
// clip region at the end of the scope.
class ScopedClipRect {
public:
    ScopedClipRect(HDC dc, const RECT& rect);
    ~ScopedClipRect();
    ScopedClipRect(const ScopedClipRect&) = delete;
    ScopedClipRect& operator=(const ScopedClipRect&) = delete;

private:
    HDC dc_;
    HRGN previous_ = nullptr;  // null: the DC had no clip region
};

// A 32-bit top-down DIB section (BI_RGB); bits receives its pixels. Null on
// failure.
HBITMAP CreateDib32(HDC dc, int width, int height, uint32_t** bits);

// msimg32's AlphaBlend and GradientFill, looked up once per process in the
// loaded msimg32.dll.
using AlphaBlendFn = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
using GradientFillFn = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);
AlphaBlendFn AlphaBlendEntry();
GradientFillFn GradientFillEntry();

// AlphaBlend with AC_SRC_OVER, AC_SRC_ALPHA and the constant alpha.
bool BlendPremultiplied(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy, int sw,
                        int sh, uint8_t constantAlpha);

// GDI's own pens and text leave the alpha byte of a 32-bit canvas at 0, which
// a layered window shows as transparent. This runs `draw` in white on black
// on a scratch bitmap covering `bounds` (the DC it gets uses the caller's
// coordinates), then blends the coverage onto `dc` in the colour `rgb`.
void DrawThroughCoverage(HDC dc, const RECT& bounds, uint32_t rgb, const std::function<void(HDC)>& draw);

}  // namespace SkinUI
