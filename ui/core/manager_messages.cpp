// CManagerUI: the window messages turned into control events.
#include "ui/controls/control_ui.h"
#include "ui/core/manager_ui.h"

namespace SkinUI {

namespace {

constexpr UINT kDeleteLaterMessage = WM_APP + 1;
// Messages reflected to the child window that sent them.
constexpr UINT kReflectBase = 0x2000;

UiEvent MakeEvent(int type, CControlUI* sender) {
    UiEvent event;
    event.type = type;
    event.sender = sender;
    event.timestamp = GetTickCount();
    return event;
}

}  // namespace

void CManagerUI::DispatchTo(CControlUI* control, UiEvent& event) {
    event.sender = control;
    control->DispatchEvent(event);
}

bool CManagerUI::IsForeign(const CControlUI* control) const {
    return control == nullptr || control->Manager() != this;
}

bool CManagerUI::HandleWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    HWND window = tree_.paintWindow;
    if (window == nullptr) return false;
    DrainNotifyQueue();
    for (int i = 0; i < tree_.filters.GetSize(); ++i) {
        bool handled = false;
        LRESULT filtered = static_cast<IMessageFilterUI*>(tree_.filters.GetAt(i))
                               ->MessageHandler(msg, wParam, lParam, handled);
        if (handled) {
            result = filtered;
            return true;
        }
    }

    switch (msg) {
        case kDeleteLaterMessage:
            DeleteDelayedControls();
            break;
        case WM_CLOSE: {
            UiEvent event = MakeEvent(0, nullptr);
            event.mousePoint = tree_.lastMousePoint;
            if (tree_.hover != nullptr) {
                event.type = EventMouseLeave;
                DispatchTo(tree_.hover, event);
            }
            if (tree_.click != nullptr) {
                event.type = EventButtonUp;
                DispatchTo(tree_.click, event);
            }
            FocusControl(nullptr);
            HWND owner = GetWindow(window, GW_OWNER);
            if (owner != nullptr) SetFocus(owner);
            break;
        }
        case WM_ERASEBKGND:
            result = 1;
            return true;
        case WM_PAINT:
            OnPaintMessage();
            return true;
        case WM_PRINTCLIENT:
            OnPrintClient(reinterpret_cast<HDC>(wParam), lParam);
            break;
        case WM_GETMINMAXINFO: {
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            if (info == nullptr) break;
            if (tree_.minInfo.cx > 0) info->ptMinTrackSize.x = tree_.minInfo.cx;
            if (tree_.minInfo.cy > 0) info->ptMinTrackSize.y = tree_.minInfo.cy;
            if (tree_.maxInfo.cx > 0) info->ptMaxTrackSize.x = tree_.maxInfo.cx;
            if (tree_.maxInfo.cy > 0) info->ptMaxTrackSize.y = tree_.maxInfo.cy;
            break;
        }
        case WM_SIZE: {
            if (tree_.focused != nullptr) {
                UiEvent event = MakeEvent(EventWindowSize, tree_.focused);
                tree_.focused->DispatchEvent(event);
            }
            if (tree_.root != nullptr) tree_.root->RequestLayout();
            return true;
        }
        case WM_TIMER:
            for (int i = 0; i < tree_.timers.GetSize(); ++i) {
                auto* timer = static_cast<TimerEntry*>(tree_.timers.GetAt(i));
                if (timer->window == window && timer->nativeId == LOWORD(wParam) && !timer->stopped) {
                    UiEvent event = MakeEvent(EventTimer, timer->control);
                    event.wParam = timer->localId;
                    timer->control->DispatchEvent(event);
                    break;
                }
            }
            break;
        case WM_MOUSEHOVER:
            if (ShowTooltip(lParam)) return true;
            break;
        case WM_MOUSELEAVE:
            HideTooltip();
            if (tree_.mouseTracking) SendMessageW(window, WM_MOUSEMOVE, 0, static_cast<LPARAM>(-1));
            tree_.mouseTracking = false;
            break;
        case WM_MOUSEMOVE:
            OnMouseMove(lParam);
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_CONTEXTMENU:
        case WM_MOUSEWHEEL:
            OnMouseButton(msg, wParam, lParam);
            break;
        case WM_SETCURSOR: {
            if (LOWORD(lParam) != HTCLIENT) break;
            if (tree_.mouseCaptured) return true;
            POINT point;
            GetCursorPos(&point);
            ScreenToClient(window, &point);
            CControlUI* control = FindControlAt(point);
            if (IsForeign(control) || (control->InputFlags() & InputSetCursor) == 0) break;
            UiEvent event = MakeEvent(EventSetCursor, control);
            event.mousePoint = point;
            event.wParam = wParam;
            event.lParam = lParam;
            event.keyState = CurrentKeyState();
            control->DispatchEvent(event);
            return true;
        }
        case WM_NCLBUTTONDOWN:
            FocusControl(nullptr);
            break;
        case WM_KEYDOWN:
        case WM_CHAR:
            if (tree_.focused != nullptr) {
                CControlUI* focused = tree_.focused;
                UiEvent event = MakeEvent(msg == WM_KEYDOWN ? EventKeyDown : EventChar, focused);
                event.mousePoint = tree_.lastMousePoint;
                event.keyChar = LOWORD(wParam);
                event.keyState = CurrentKeyState();
                focused->DispatchEvent(event);
                if (msg == WM_KEYDOWN) tree_.key = tree_.focused;
            }
            break;
        case WM_KEYUP:
            if (tree_.key != nullptr) {
                CControlUI* key = tree_.key;
                tree_.key = nullptr;
                UiEvent event = MakeEvent(EventKeyUp, key);
                event.mousePoint = tree_.lastMousePoint;
                event.keyChar = LOWORD(wParam);
                event.keyState = CurrentKeyState();
                key->DispatchEvent(event);
            }
            break;
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            if (header != nullptr)
                result = SendMessageW(header->hwndFrom, kReflectBase + WM_NOTIFY, wParam, lParam);
            return true;
        }
        case WM_COMMAND:
            if (lParam == 0) break;
            result = SendMessageW(reinterpret_cast<HWND>(lParam), kReflectBase + WM_COMMAND, wParam, lParam);
            return true;
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
            if (lParam == 0) break;
            result = SendMessageW(reinterpret_cast<HWND>(lParam), kReflectBase + msg, wParam, lParam);
            return true;
        default:
            break;
    }
    DrainNotifyQueue();
    return false;
}

void CManagerUI::OnPrintClient(HDC dc, LPARAM flags) {
    if (tree_.root == nullptr || dc == nullptr) return;
    RECT client;
    GetClientRect(tree_.paintWindow, &client);
    const int saved = SaveDC(dc);
    tree_.root->Paint(dc, client);
    if ((flags & PRF_CHILDREN) != 0) {
        for (HWND child = GetWindow(tree_.paintWindow, GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            RECT rect;
            GetWindowRect(child, &rect);
            MapWindowPoints(HWND_DESKTOP, tree_.paintWindow, reinterpret_cast<POINT*>(&rect), 2);
            SetWindowOrgEx(dc, -rect.left, -rect.top, nullptr);
            SendMessageW(child, WM_PRINT, reinterpret_cast<WPARAM>(dc), flags | PRF_NONCLIENT);
        }
    }
    RestoreDC(dc, saved);
}

}  // namespace SkinUI
