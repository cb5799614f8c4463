#include "ui/core/painter_gdi.h"

#include "ui/core/painter_color.h"

namespace SkinUI {

ScopedClipRect::ScopedClipRect(HDC dc, const RECT& rect) : dc_(dc) {
    HRGN current = CreateRectRgn(0, 0, 0, 0);
    if (current != nullptr && GetClipRgn(dc, current) == 1) {
        previous_ = current;
    } else if (current != nullptr) {
        DeleteObject(current);
    }
    HRGN clip = CreateRectRgnIndirect(&rect);
    if (clip != nullptr) {
        ExtSelectClipRgn(dc, clip, RGN_AND);
        DeleteObject(clip);
    }
}

ScopedClipRect::~ScopedClipRect() {
    SelectClipRgn(dc_, previous_);
    if (previous_ != nullptr) DeleteObject(previous_);
}

HBITMAP CreateDib32(HDC dc, int width, int height, uint32_t** bits) {
    *bits = nullptr;
    if (width <= 0 || height <= 0) return nullptr;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = DWORD(width) * DWORD(height) * 4;
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (bitmap == nullptr) return nullptr;
    *bits = static_cast<uint32_t*>(pixels);
    return bitmap;
}

namespace {

// Through a generic function pointer, the one cast GetProcAddress results
// allow without a warning.
using AnyFn = void (*)();

AnyFn Msimg32Entry(const char* name) {
    HMODULE module = GetModuleHandleW(L"msimg32.dll");
    // Nothing may have loaded it yet (the program does not import it).
    if (module == nullptr) module = LoadLibraryW(L"msimg32.dll");
    return module != nullptr ? reinterpret_cast<AnyFn>(GetProcAddress(module, name)) : nullptr;
}

}  // namespace

AlphaBlendFn AlphaBlendEntry() {
    static const AlphaBlendFn entry = reinterpret_cast<AlphaBlendFn>(Msimg32Entry("AlphaBlend"));
    return entry;
}

GradientFillFn GradientFillEntry() {
    static const GradientFillFn entry = reinterpret_cast<GradientFillFn>(Msimg32Entry("GradientFill"));
    return entry;
}

bool BlendPremultiplied(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy, int sw,
                        int sh, uint8_t constantAlpha) {
    AlphaBlendFn blend = AlphaBlendEntry();
    if (blend == nullptr) return false;
    BLENDFUNCTION bf = {AC_SRC_OVER, 0, constantAlpha, AC_SRC_ALPHA};
    return blend(dest, x, y, width, height, source, sx, sy, sw, sh, bf) != FALSE;
}

void DrawThroughCoverage(HDC dc, const RECT& bounds, uint32_t rgb, const std::function<void(HDC)>& draw) {
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    if (dc == nullptr || width <= 0 || height <= 0) return;
    ScopedMemoryDC memory(dc);
    uint32_t* bits = nullptr;
    ScopedGdiObject<HBITMAP> bitmap(CreateDib32(dc, width, height, &bits));
    if (memory.get() == nullptr || bitmap.get() == nullptr) return;
    ScopedSelect select(memory.get(), bitmap.get());
    SetWindowOrgEx(memory.get(), bounds.left, bounds.top, nullptr);
    draw(memory.get());
    GdiFlush();
    const size_t count = size_t(width) * size_t(height);
    for (size_t i = 0; i < count; ++i) bits[i] = CoverageToPremultipliedExact(bits[i], rgb & 0x00FFFFFFu);
    SetWindowOrgEx(memory.get(), 0, 0, nullptr);
    BlendPremultiplied(dc, bounds.left, bounds.top, width, height, memory.get(), 0, 0, width, height, 255);
}

}  // namespace SkinUI
