// CManagerUI: mouse tracking, buttons, capture and the wheel.
#include <windowsx.h>

#include "ui/controls/control_ui.h"
#include "ui/core/manager_ui.h"

namespace SkinUI {

namespace {

constexpr DWORD kDefaultHoverTime = 400;

POINT PointOf(LPARAM lParam) {
    return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

}  // namespace

WORD CManagerUI::CurrentKeyState() {
    WORD state = 0;
    if (GetKeyState(VK_LBUTTON) < 0) state |= 0x01;
    if (GetKeyState(VK_RBUTTON) < 0) state |= 0x02;
    if (GetKeyState(VK_SHIFT) < 0) state |= 0x04;
    if (GetKeyState(VK_CONTROL) < 0) state |= 0x08;
    if (GetKeyState(VK_MENU) < 0) state |= 0x20;
    return state;
}

void CManagerUI::CaptureMouse() {
    SetCapture(tree_.paintWindow);
    tree_.mouseCaptured = true;
}

void CManagerUI::ReleaseMouse() {
    ReleaseCapture();
    tree_.mouseCaptured = false;
}

void CManagerUI::OnMouseMove(LPARAM lParam) {
    HWND window = tree_.paintWindow;
    if (!tree_.mouseTracking) {
        TRACKMOUSEEVENT track = {};
        track.cbSize = sizeof(track);
        track.dwFlags = TME_HOVER | TME_LEAVE;
        track.hwndTrack = window;
        track.dwHoverTime =
            tree_.tooltip != nullptr
                ? static_cast<DWORD>(SendMessageW(tree_.tooltip, TTM_GETDELAYTIME, TTDT_INITIAL, 0))
                : kDefaultHoverTime;
        _TrackMouseEvent(&track);
        tree_.mouseTracking = true;
    }
    POINT point = PointOf(lParam);
    tree_.lastMousePoint = point;
    CControlUI* control = FindControlAt(point);
    if (control != nullptr && control->Manager() != this) return;

    UiEvent event;
    event.mousePoint = point;
    event.timestamp = GetTickCount();
    if (tree_.hover != nullptr && tree_.hover != control) {
        CControlUI* old = tree_.hover;
        tree_.hover = nullptr;
        event.type = EventMouseLeave;
        DispatchTo(old, event);
        HideTooltip();
    }
    if (control != nullptr && control != tree_.hover) {
        // Set first: the enter handler may already see the control as hovered.
        tree_.hover = control;
        event.type = EventMouseEnter;
        DispatchTo(control, event);
    }
    // A leave or enter handler may have deleted a control; ForgetControl
    // cleared the references then, and the hover is re-read here.
    event.type = EventMouseMove;
    if (tree_.click != nullptr) {
        DispatchTo(tree_.click, event);
    } else if (tree_.hover != nullptr && tree_.hover == control) {
        DispatchTo(control, event);
    }
}

void CManagerUI::OnMouseButton(UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND window = tree_.paintWindow;
    POINT point = PointOf(lParam);
    if (msg == WM_CONTEXTMENU || msg == WM_MOUSEWHEEL) ScreenToClient(window, &point);
    if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDOWN) SetFocus(window);
    tree_.lastMousePoint = point;

    UiEvent event;
    event.timestamp = GetTickCount();
    // Button-up and the context menu both end a click: the control that took
    // the button-down gets the event, wherever the pointer is now.
    if (msg == WM_LBUTTONUP || msg == WM_CONTEXTMENU) {
        if (tree_.click == nullptr) return;
        CControlUI* click = tree_.click;
        ReleaseMouse();
        tree_.click = nullptr;
        event.mousePoint = point;
        event.keyState = LOWORD(wParam);
        if (msg == WM_LBUTTONUP) {
            event.type = EventButtonUp;
            event.wParam = wParam;
            event.lParam = lParam;
        } else {
            event.type = EventContextMenu;
            event.lParam = reinterpret_cast<LPARAM>(click);
        }
        DispatchTo(click, event);
        return;
    }

    CControlUI* control = FindControlAt(point);
    if (IsForeign(control)) return;
    switch (msg) {
        case WM_LBUTTONDOWN:
            tree_.click = control;
            control->TakeFocus();
            CaptureMouse();
            event.type = EventButtonDown;
            event.mousePoint = point;
            event.wParam = wParam;
            event.lParam = lParam;
            event.keyState = LOWORD(wParam);
            // Focus handlers may have deleted the control.
            if (tree_.click == control) DispatchTo(control, event);
            break;
        case WM_LBUTTONDBLCLK:
            CaptureMouse();
            event.type = EventDoubleClick;
            event.mousePoint = point;
            event.keyState = LOWORD(wParam);
            DispatchTo(control, event);
            tree_.click = control;
            break;
        case WM_RBUTTONDOWN:
            control->TakeFocus();
            CaptureMouse();
            event.type = EventRightButtonDown;
            event.mousePoint = point;
            event.wParam = wParam;
            event.lParam = lParam;
            event.keyState = LOWORD(wParam);
            DispatchTo(control, event);
            tree_.click = control;
            break;
        case WM_MOUSEWHEEL: {
            event.type = EventScrollWheel;
            event.wParam = GET_WHEEL_DELTA_WPARAM(wParam) < 0 ? 1 : 0;
            event.lParam = lParam;
            event.keyState = CurrentKeyState();
            DispatchTo(control, event);
            const POINT last = tree_.lastMousePoint;
            SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(last.x, last.y));
            break;
        }
        default:
            break;
    }
}

}  // namespace SkinUI
