#include "ui/core/window_wnd.h"

#include "ui/core/manager_ui.h"
#include "ui/core/window_geometry_win.h"

namespace SkinUI {

namespace {

// The window property a superclassed window keeps its object in.
constexpr const wchar_t* kObjectProperty = L"WndX";

// A window of our own class keeps its object in its user data; a superclassed
// one in a property, as its user data may belong to the original class.
void BindObject(HWND window, CWindowWnd* object, bool inProperty) {
    if (inProperty) {
        SetPropW(window, kObjectProperty, object);
    } else {
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
    }
}

CWindowWnd* BoundObject(HWND window, bool inProperty) {
    if (inProperty) return static_cast<CWindowWnd*>(GetPropW(window, kObjectProperty));
    return reinterpret_cast<CWindowWnd*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void UnbindObject(HWND window, bool inProperty) {
    if (inProperty) {
        SetPropW(window, kObjectProperty, nullptr);
        RemovePropW(window, kObjectProperty);
    } else {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    }
}

}  // namespace

CWindowWnd::~CWindowWnd() {
    DestroyUnbound();
}

void CWindowWnd::DestroyUnbound() {
    if (window_ == nullptr) return;
    HWND window = window_;
    window_ = nullptr;
    if (!IsWindow(window)) return;
    if (superclassed_) {
        SetPropW(window, kObjectProperty, nullptr);
    } else {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    }
    DestroyWindow(window);
}

bool CWindowWnd::RegisterFrameClass() {
    WNDCLASSW wc = {};
    wc.style = ClassStyle();
    wc.lpfnWndProc = FrameWindowProc;
    wc.hInstance = CManagerUI::ModuleInstance();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = WindowClassName();
    return RegisterClassW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool CWindowWnd::RegisterSuperclassedFrame() {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    if (!GetClassInfoExW(nullptr, SuperclassName(), &wc) &&
        !GetClassInfoExW(CManagerUI::ModuleInstance(), SuperclassName(), &wc)) {
        return false;
    }
    defaultProcedure_ = wc.lpfnWndProc;
    wc.lpfnWndProc = SuperclassWindowProc;
    wc.hInstance = CManagerUI::ModuleInstance();
    wc.lpszClassName = WindowClassName();
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND CWindowWnd::CreateFrame(HWND parent, const UiChar* title, DWORD style, DWORD exStyle, int x, int y,
                             int width, int height, HMENU menu) {
    superclassed_ = SuperclassName() != nullptr;
    if (superclassed_ ? !RegisterSuperclassedFrame() : !RegisterFrameClass()) return nullptr;
    // WM_NCCREATE stores the handle in window_ as soon as the window exists.
    HWND window = CreateWindowExW(exStyle, WindowClassName(), title, style, x, y, width, height, parent, menu,
                                  CManagerUI::ModuleInstance(), this);
    // A skin failing in WM_CREATE may leave nothing: window_ was cleared then.
    if (window == nullptr) window_ = nullptr;
    return window_;
}

HWND CWindowWnd::CreateFrame(HWND parent, const UiChar* title, DWORD style, DWORD exStyle) {
    return CreateFrame(parent, title, style, exStyle, 0, 0, 0, 0, nullptr);
}

HWND CWindowWnd::CreateFrame(HWND parent, const UiChar* title, DWORD style, DWORD exStyle, const RECT& rect,
                             HMENU menu) {
    return CreateFrame(parent, title, style, exStyle, rect.left, rect.top, rect.right - rect.left,
                       rect.bottom - rect.top, menu);
}

void CWindowWnd::ShowFrame(bool show, bool takeFocus) {
    if (window_ == nullptr || !IsWindow(window_)) return;
    ShowWindow(window_, show ? (takeFocus ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE) : SW_HIDE);
}

UINT CWindowWnd::RunModalLoop(int showCommand) {
    HWND window = window_;
    if (window == nullptr || !IsWindow(window)) return 0;
    HWND owner = GetWindow(window, GW_OWNER);
    if (owner != nullptr && !IsWindowEnabled(owner)) {
        SendMessageW(window, WM_CLOSE, 0, 0);
        BringWindowToTop(owner);
        return static_cast<UINT>(-1);
    }
    ShowWindow(window, showCommand);
    if (owner != nullptr) EnableWindow(owner, FALSE);

    UINT code = 0;
    bool quit = false;
    WPARAM quitCode = 0;
    MSG msg;
    while (IsWindow(window)) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            quit = true;
            quitCode = msg.wParam;
            break;
        }
        if (got < 0) break;
        if (msg.message == WM_CLOSE && msg.hwnd == window) {
            code = static_cast<UINT>(msg.wParam);
            // Usable again before this window goes away, so activation
            // passes back to the owner.
            if (owner != nullptr) {
                EnableWindow(owner, TRUE);
                SetFocus(owner);
            }
        }
        if (CManagerUI::PreRouteMessage(&msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (owner != nullptr) {
        EnableWindow(owner, TRUE);
        SetFocus(owner);
    }
    if (quit) PostQuitMessage(static_cast<int>(quitCode));
    return code;
}

void CWindowWnd::CloseFrame(UINT code) {
    if (window_ != nullptr && IsWindow(window_)) PostMessageW(window_, WM_CLOSE, code, 0);
}

void CWindowWnd::CenterOnOwner() {
    if (window_ == nullptr || !IsWindow(window_)) return;
    RECT rc;
    GetWindowRect(window_, &rc);
    HWND owner = GetWindow(window_, GW_OWNER);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(owner != nullptr ? owner : window_, MONITOR_DEFAULTTONEAREST),
                    &monitor);
    RECT area = monitor.rcWork;
    if (owner != nullptr && !IsIconic(owner)) GetWindowRect(owner, &area);
    FramePoint pt =
        CenteredPosition(ToFrame(area), ToFrame(monitor.rcWork), rc.right - rc.left, rc.bottom - rc.top);
    SetWindowPos(window_, nullptr, pt.x, pt.y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CWindowWnd::SendToFrame(UINT msg, WPARAM wParam, LPARAM lParam) {
    return SendMessageW(window_, msg, wParam, lParam);
}

void CWindowWnd::PostToFrame(UINT msg, WPARAM wParam, LPARAM lParam) {
    PostMessageW(window_, msg, wParam, lParam);
}

LRESULT CWindowWnd::CallDefaultProcedure(UINT msg, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcW(defaultProcedure_, window_, msg, wParam, lParam);
}

LRESULT CWindowWnd::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return CallDefaultProcedure(msg, wParam, lParam);
}

LRESULT CALLBACK CWindowWnd::FrameWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    return RouteMessage(window, msg, wParam, lParam, false);
}

LRESULT CALLBACK CWindowWnd::SuperclassWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    return RouteMessage(window, msg, wParam, lParam, true);
}

LRESULT CWindowWnd::RouteMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, bool inProperty) {
    CWindowWnd* self = nullptr;
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        self = static_cast<CWindowWnd*>(create->lpCreateParams);
        // A window of the class made without an object stays unbound.
        if (self == nullptr) return DefWindowProcW(window, msg, wParam, lParam);
        self->window_ = window;
        BindObject(window, self, inProperty);
    } else {
        self = BoundObject(window, inProperty);
        if (msg == WM_NCDESTROY && self != nullptr) {
            LRESULT result = CallWindowProcW(self->defaultProcedure_, window, msg, wParam, lParam);
            UnbindObject(window, inProperty);
            self->window_ = nullptr;
            self->OnFinalMessage(window);
            return result;
        }
    }
    if (self != nullptr) return self->OnWindowMessage(msg, wParam, lParam);
    return DefWindowProcW(window, msg, wParam, lParam);
}

}  // namespace SkinUI
