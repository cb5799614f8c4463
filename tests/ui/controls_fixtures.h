// Fixtures of the control tests: a manager bound to a hidden window, a 32-bit
// canvas to paint on, and short-hands for building controls.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "ui/controls/container_ui.h"
#include "ui/controls/control_ui.h"
#include "ui/core/manager_ui.h"

namespace SkinUI {
namespace testing_support {

// A manager with a hidden native window (created on first use, destroyed
// with the fixture).
class WindowedManager {
public:
    WindowedManager();
    ~WindowedManager();
    CManagerUI& manager() { return *manager_; }
    HWND window() const { return window_; }

private:
    HWND window_ = nullptr;
    std::unique_ptr<CManagerUI> manager_;
};

// A top-down 32-bit DIB section selected into a memory DC, cleared to 0.
class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    HDC dc() const { return dc_; }
    // 0xAARRGGBB as stored (premultiplied).
    uint32_t Pixel(int x, int y) const;
    // The colour without alpha, 0xRRGGBB.
    uint32_t Rgb(int x, int y) const { return Pixel(x, y) & 0xFFFFFFu; }
    RECT Whole() const { return {0, 0, width_, height_}; }

private:
    int width_;
    int height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    uint32_t* bits_ = nullptr;
};

// Applies name="value" pairs in order.
void Apply(CControlUI* control, const wchar_t* attributes);

// Applies the attributes to control, adds it to root and lays root out in
// place; the control, for chaining.
template <typename T>
T* AddPlaced(CContainerUI* root, T* control, const wchar_t* attributes, const RECT& place) {
    Apply(control, attributes);
    root->Add(control);
    root->Place(place, false);
    return control;
}

// The folder of the test skins (tests/data/ui/skins/<name>/).
std::wstring SkinFolder(const char* name);

}  // namespace testing_support
}  // namespace SkinUI
