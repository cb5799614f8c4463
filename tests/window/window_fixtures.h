// Fixtures of the window tests: a control that records the events it gets,
// a skinned test window built from skin text, and a message pump that runs
// the program's own pre-translation.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/controls/control_ui.h"
#include "ui/core/window_impl_base.h"

namespace SkinUI {
namespace testing_support {

struct RecordedEvent {
    std::wstring control;
    int type = 0;
    DWORD timestamp = 0;
    POINT point = {0, 0};
    WPARAM wParam = 0;
};

// Every event a probe receives, in order, for all probes of the process.
std::vector<RecordedEvent>& EventLog();

// "Probe": a tab stop that records its events, paints a solid colour that
// can change without asking for a repaint, and raises "click" when the
// button goes up inside it (as a button does).
class ProbeControl : public CControlUI {
public:
    const UiChar* ClassName() const override { return UI_TEXT("ProbeUI"); }
    uint32_t InputFlags() override { return IsEnabled() ? InputTabStop : 0; }
    void HandleEvent(UiEvent& event) override;
    void Paint(HDC hdc, const RECT& paintRect) override;
    void SetFill(COLORREF fill) { fill_ = fill; }

private:
    COLORREF fill_ = RGB(0, 128, 0);
};

struct RecordedNotify {
    std::wstring type;
    std::wstring sender;  // empty when there was none
    bool hasSender = false;
};

// A WindowImplBase whose skin is XML text (SkinFile). "Probe" elements become
// ProbeControls.
class TestWindow : public WindowImplBase {
public:
    explicit TestWindow(std::wstring skin) : skin_(std::move(skin)) {}
    const UiChar* WindowClassName() const override { return L"SkinUITestWindow"; }
    UiString SkinFolder() override { return UiString(); }
    UiString SkinFile() override { return UiString(skin_.c_str()); }
    CControlUI* CreateCustomControl(const UiChar* name) override;
    void OnNotify(NotifyMsg& msg) override;
    void OnInitWindow() override { ++initCount; }
    LRESULT OnCustomMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;

    // A hidden popup window of the skin's size at (x, y).
    HWND Create(HWND owner = nullptr, int x = 100, int y = 100);
    CControlUI* Find(const wchar_t* name) { return manager_.FindControl(name); }

    int initCount = 0;
    std::vector<RecordedNotify> notifications;
    // Called for messages the test wants to see (WM_USER + n).
    std::function<void(UINT)> onUserMessage;

private:
    std::wstring skin_;
};

// Runs messages (with pre-translation) until pred holds or timeoutMs
// passes; true when pred held.
bool PumpUntil(const std::function<bool()>& pred, DWORD timeoutMs = 5000);
// Runs the messages now waiting.
void PumpPending();

LPARAM PointParam(int x, int y);
// The centre of a control, in client coordinates.
POINT CenterOf(CControlUI* control);
int CountNotifications(const TestWindow& window, const wchar_t* type);

}  // namespace testing_support
}  // namespace SkinUI
