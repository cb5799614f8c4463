#include "tests/app/handoff_window.h"

#include <ostream>

#include "app/installer_handoff.h"

namespace kelo::testing {

namespace {

const wchar_t kClassName[] = L"KeloHandoffTestWindow";

}  // namespace

HandoffWindow::HandoffWindow() {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &HandoffWindow::WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kClassName;
    RegisterClassExW(&windowClass);  // fails harmlessly when already registered
    window_ = CreateWindowExW(0, kClassName, L"hand-off test", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                              nullptr, GetModuleHandleW(nullptr), this);
}

HandoffWindow::~HandoffWindow() {
    if (window_ != nullptr) DestroyWindow(window_);
}

bool HandoffWindow::Finished() const {
    for (const Event& event : events_) {
        if (event.kind == Event::Stage && (event.value == StageInstalled || event.value == StageFailed))
            return true;
    }
    return false;
}

LRESULT CALLBACK HandoffWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<HandoffWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    if (self != nullptr && message == WM_COPYDATA) {
        HandleInstallerReport(*self, *reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

std::ostream& operator<<(std::ostream& out, const HandoffWindow::Event& event) {
    if (event.kind == HandoffWindow::Event::Progress) return out << "Progress(" << event.value << ")";
    out << "Stage(" << event.value;
    if (!event.text.empty()) {
        out << ", \"";
        for (wchar_t c : event.text) {
            if (c < 0x80) {
                out << static_cast<char>(c);
            } else {
                out << "\\u" << std::hex << static_cast<unsigned>(c) << std::dec;
            }
        }
        out << "\"";
    }
    return out << ")";
}

}  // namespace kelo::testing
