#include "tests/window/window_fixtures.h"

#include "ui/core/manager_ui.h"

namespace SkinUI {
namespace testing_support {

std::vector<RecordedEvent>& EventLog() {
    static std::vector<RecordedEvent> log;
    return log;
}

void ProbeControl::HandleEvent(UiEvent& event) {
    RecordedEvent record;
    record.control = GetName().Data();
    record.type = event.type;
    record.timestamp = event.timestamp;
    record.point = event.mousePoint;
    record.wParam = event.wParam;
    EventLog().push_back(record);
    if (event.type == EventButtonUp && Manager() != nullptr) {
        RECT rect = ItemRect();
        if (PtInRect(&rect, event.mousePoint)) Manager()->RaiseNotify(this, UI_TEXT("click"));
        return;
    }
    CControlUI::HandleEvent(event);
}

void ProbeControl::Paint(HDC hdc, const RECT& paintRect) {
    RECT rect = ItemRect();
    HBRUSH brush = CreateSolidBrush(fill_);
    FillRect(hdc, &rect, brush);
    DeleteObject(brush);
}

CControlUI* TestWindow::CreateCustomControl(const UiChar* name) {
    if (UiStrEq(name, L"Probe")) return new ProbeControl;
    return nullptr;
}

void TestWindow::OnNotify(NotifyMsg& msg) {
    RecordedNotify record;
    record.type = msg.type.Data();
    record.hasSender = msg.sender != nullptr;
    if (msg.sender != nullptr) record.sender = msg.sender->GetName().Data();
    notifications.push_back(record);
    WindowImplBase::OnNotify(msg);
}

LRESULT TestWindow::OnCustomMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) {
    if (msg >= WM_USER && msg < WM_USER + 100 && onUserMessage) {
        onUserMessage(msg);
        handled = true;
        return 0;
    }
    return WindowImplBase::OnCustomMessage(msg, wParam, lParam, handled);
}

HWND TestWindow::Create(HWND owner, int x, int y) {
    if (CManagerUI::ModuleInstance() == nullptr) CManagerUI::SetModuleInstance(GetModuleHandleW(nullptr));
    HWND window = CreateFrame(owner, L"SkinUI test", WS_POPUP, 0, x, y, 0, 0);
    return window;
}

bool PumpUntil(const std::function<bool()>& pred, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (CManagerUI::PreRouteMessage(&msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (pred()) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void PumpPending() {
    PumpUntil([] { return true; }, 0);
}

LPARAM PointParam(int x, int y) {
    return MAKELPARAM(static_cast<WORD>(static_cast<short>(x)), static_cast<WORD>(static_cast<short>(y)));
}

POINT CenterOf(CControlUI* control) {
    RECT r = control->ItemRect();
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

int CountNotifications(const TestWindow& window, const wchar_t* type) {
    int n = 0;
    for (const RecordedNotify& record : window.notifications) n += record.type == type ? 1 : 0;
    return n;
}

}  // namespace testing_support
}  // namespace SkinUI
