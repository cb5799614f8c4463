#include "tools/skin-render/preview_window.h"

#include <windows.h>

#include <cstdio>

#include "ui/controls/control_ui.h"
#include "ui/core/text_convert.h"
#include "ui/core/window_impl_base.h"

namespace skin_render {

namespace {

using SkinUI::CControlUI;
using SkinUI::UiString;

// Far from the manager's control timer ids (0 to 254).
constexpr UINT_PTR kCloseTimer = 0x5CA1;

class PreviewWindow : public SkinUI::WindowImplBase {
public:
    explicit PreviewWindow(const RenderOptions& options) : options_(options) {}
    const SkinUI::UiChar* WindowClassName() const override { return L"SkinRenderPreview"; }
    UiString SkinFolder() override { return UiString(); }
    UiString SkinFile() override { return UiString(options_.file.c_str()); }

    void OnInitWindow() override {
        for (const AttributeSetting& setting : options_.settings) {
            CControlUI* control = manager_.FindControl(setting.control.c_str());
            if (control == nullptr) {
                failure_ = "no control named " + SkinUI::UiToUtf8(setting.control.c_str());
                CloseFrame(0);
                return;
            }
            control->SetAttribute(setting.attribute.c_str(), setting.value.c_str());
        }
        if (options_.closeAfterMs > 0) SetTimer(FrameWindow(), kCloseTimer, options_.closeAfterMs, nullptr);
    }

    LRESULT OnCustomMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override {
        if (msg == WM_TIMER && wParam == kCloseTimer) {
            KillTimer(FrameWindow(), kCloseTimer);
            CloseFrame(0);
            handled = true;
            return 0;
        }
        return WindowImplBase::OnCustomMessage(msg, wParam, lParam, handled);
    }

    LRESULT OnWmDestroy(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override {
        GetWindowRect(FrameWindow(), &lastRect_);
        return WindowImplBase::OnWmDestroy(msg, wParam, lParam, handled);
    }

    const std::string& failure() const { return failure_; }
    RECT lastRect() const { return lastRect_; }

private:
    const RenderOptions& options_;
    std::string failure_;
    RECT lastRect_ = {0, 0, 0, 0};
};

}  // namespace

int RunPreviewWindow(const RenderOptions& options) {
    SkinUI::CManagerUI::SetModuleInstance(GetModuleHandleW(nullptr));
    PreviewWindow window(options);
    if (window.CreateFrame(nullptr, L"skin-render", WS_POPUP | WS_MINIMIZEBOX | WS_SYSMENU, 0) == nullptr) {
        std::fprintf(stderr, "skin-render: cannot create the window\n");
        return 1;
    }
    if (!window.failure().empty()) {
        std::fprintf(stderr, "skin-render: %s\n", window.failure().c_str());
        DestroyWindow(window.FrameWindow());
        return 1;
    }
    HWND frame = window.FrameWindow();
    if (options.width > 0) {
        SetWindowPos(frame, nullptr, 0, 0, options.width, options.height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    window.CenterOnOwner();
    RECT rc;
    GetWindowRect(frame, &rc);
    std::printf("window %ld,%ld %ldx%ld\n", rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
    std::fflush(stdout);
    window.RunModalLoop(SW_SHOWNORMAL);
    // Where the user left it (the caption drags it).
    std::printf("closed %ld,%ld\n", window.lastRect().left, window.lastRect().top);
    if (!window.failure().empty()) {
        std::fprintf(stderr, "skin-render: %s\n", window.failure().c_str());
        return 1;
    }
    return 0;
}

}  // namespace skin_render
