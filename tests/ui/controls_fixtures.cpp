#include "tests/ui/controls_fixtures.h"

#include <string>

#include "ui/core/painter_gdi.h"

namespace SkinUI {
namespace testing_support {

WindowedManager::WindowedManager() {
    window_ = CreateWindowExW(0, L"STATIC", L"controls test", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    manager_ = std::make_unique<CManagerUI>();
    if (window_ != nullptr) manager_->AttachWindow(window_);
}

WindowedManager::~WindowedManager() {
    manager_.reset();
    if (window_ != nullptr) DestroyWindow(window_);
}

Canvas::Canvas(int width, int height) : width_(width), height_(height) {
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDib32(dc_, width, height, &bits_);
    old_ = SelectObject(dc_, bitmap_);
}

Canvas::~Canvas() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
}

uint32_t Canvas::Pixel(int x, int y) const {
    GdiFlush();
    return bits_[y * width_ + x];
}

void Apply(CControlUI* control, const wchar_t* attributes) {
    control->ApplyAttributeString(attributes);
}

std::wstring SkinFolder(const char* name) {
    std::string path = std::string(KELO_TEST_DATA) + "/ui/skins/" + name + "/";
    // Under Wine the Linux root is drive Z:.
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    std::wstring wide(path.begin(), path.end());
    for (wchar_t& c : wide) {
        if (c == '/') c = '\\';
    }
    return wide;
}

}  // namespace testing_support
}  // namespace SkinUI
