#include "ui/core/window_impl_base.h"

#include <windowsx.h>

#include <cwchar>
#include <vector>

#include "ui/controls/control_ui.h"
#include "ui/core/window_geometry_win.h"
#include "ui/skin/skin_builder.h"

namespace SkinUI {

namespace {

// The copy of a "ZIP" resource the skin archive reads from. It stays for
// the life of the process: the open archive points into it, and every
// window of the program reads the same one.
struct ArchiveResourceCopy {
    HMODULE module = nullptr;
    UiString name;  // "#<id>" for an integer id
    std::vector<unsigned char> bytes;
};

std::vector<ArchiveResourceCopy*>& ArchiveCopies() {
    static std::vector<ArchiveResourceCopy*> copies;
    return copies;
}

UiString ResourceKey(const UiChar* id) {
    UiString key;
    if (IS_INTRESOURCE(id)) {
        key.Format(UI_TEXT("#%u"), static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(id)));
    } else {
        key = id;
    }
    return key;
}

const ArchiveResourceCopy* LoadArchiveResource(HMODULE module, const UiChar* id) {
    const UiString key = ResourceKey(id);
    for (const ArchiveResourceCopy* copy : ArchiveCopies()) {
        if (copy->module == module && copy->name == key) return copy;
    }
    HRSRC info = FindResourceW(module, id, L"ZIP");
    if (info == nullptr) return nullptr;
    HGLOBAL handle = LoadResource(module, info);
    if (handle == nullptr) return nullptr;
    const DWORD size = SizeofResource(module, info);
    const void* data = LockResource(handle);
    ArchiveResourceCopy* copy = nullptr;
    if (size > 0 && data != nullptr) {
        copy = new ArchiveResourceCopy;
        copy->module = module;
        copy->name = key;
        const auto* begin = static_cast<const unsigned char*>(data);
        copy->bytes.assign(begin, begin + size);
        ArchiveCopies().push_back(copy);
    }
    FreeResource(handle);
    return copy;
}

}  // namespace

WindowImplBase::~WindowImplBase() {
    // Unbind first: destroying the window must not call back into this
    // half-destroyed object.
    DestroyUnbound();
}

const NotifyMapTable* WindowImplBase::NotifyMap() const {
    static const NotifyMapEntry entries[] = {
        NotifyEntry(UI_TEXT("click"), UI_TEXT(""), &WindowImplBase::OnCaptionButtonClick),
        NotifyMapEnd(),
    };
    static const NotifyMapTable table = {CNotifyPump::NotifyMap(), entries};
    return &table;
}

void WindowImplBase::OnCaptionButtonClick(NotifyMsg& msg) {
    if (msg.sender == nullptr) return;
    const UiString name = msg.sender->GetName();
    if (name == UI_TEXT("closebtn")) {
        CloseFrame(1);
    } else if (name == UI_TEXT("minbtn")) {
        SendToFrame(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    } else if (name == UI_TEXT("maxbtn")) {
        SendToFrame(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    } else if (name == UI_TEXT("restorebtn")) {
        SendToFrame(WM_SYSCOMMAND, SC_RESTORE, 0);
    }
}

bool WindowImplBase::OnDialogKey(WPARAM key) {
    if (key != VK_ESCAPE) return false;
    CloseFrame(1);
    return true;
}

LRESULT WindowImplBase::MessageHandler(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) {
    if (msg == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE)) handled = OnDialogKey(wParam);
    return 0;
}

LONG WindowImplBase::FrameStyle() {
    const LONG style = GetWindowLongW(window_, GWL_STYLE);
    return (style & ~WS_CAPTION) | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
}

LRESULT WindowImplBase::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    bool handled = true;
    LRESULT result = 0;
    switch (msg) {
        case WM_CREATE:
            result = OnWmCreate(msg, wParam, lParam, handled);
            break;
        case WM_CLOSE:
            result = OnWmClose(msg, wParam, lParam, handled);
            break;
        case WM_DESTROY:
            result = OnWmDestroy(msg, wParam, lParam, handled);
            break;
        case WM_NCACTIVATE:
            result = OnWmNcActivate(msg, wParam, lParam, handled);
            break;
        case WM_NCCALCSIZE:
            result = OnWmNcCalcSize(msg, wParam, lParam, handled);
            break;
        case WM_NCPAINT:
            result = OnWmNcPaint(msg, wParam, lParam, handled);
            break;
        case WM_NCHITTEST:
            result = OnWmNcHitTest(msg, wParam, lParam, handled);
            break;
        case WM_GETMINMAXINFO:
            result = OnWmGetMinMaxInfo(msg, wParam, lParam, handled);
            break;
        case WM_MOUSEWHEEL:
            result = OnWmMouseWheel(msg, wParam, lParam, handled);
            break;
        case WM_MOUSEHOVER:
            result = OnWmMouseHover(msg, wParam, lParam, handled);
            break;
        case WM_SIZE:
            result = OnWmSize(msg, wParam, lParam, handled);
            break;
        case WM_CHAR:
            result = OnWmChar(msg, wParam, lParam, handled);
            break;
        case WM_SYSCOMMAND:
            result = OnWmSysCommand(msg, wParam, lParam, handled);
            break;
        case WM_KEYDOWN:
            result = OnWmKeyDown(msg, wParam, lParam, handled);
            break;
        case WM_KILLFOCUS:
            result = OnWmKillFocus(msg, wParam, lParam, handled);
            break;
        case WM_SETFOCUS:
            result = OnWmSetFocus(msg, wParam, lParam, handled);
            break;
        case WM_LBUTTONDOWN:
            result = OnWmLButtonDown(msg, wParam, lParam, handled);
            break;
        case WM_LBUTTONUP:
            result = OnWmLButtonUp(msg, wParam, lParam, handled);
            break;
        case WM_MOUSEMOVE:
            result = OnWmMouseMove(msg, wParam, lParam, handled);
            break;
        default:
            handled = false;
            break;
    }
    if (handled) return result;
    handled = false;
    result = OnCustomMessage(msg, wParam, lParam, handled);
    if (handled) return result;
    if (manager_.HandleWindowMessage(msg, wParam, lParam, result)) return result;
    return CallDefaultProcedure(msg, wParam, lParam);
}

LRESULT WindowImplBase::OnCustomMessage(UINT, WPARAM, LPARAM, bool& handled) {
    handled = false;
    return 0;
}

LRESULT WindowImplBase::OnWmClose(UINT, WPARAM, LPARAM, bool& handled) {
    handled = false;
    return 0;
}

LRESULT WindowImplBase::OnWmDestroy(UINT, WPARAM, LPARAM, bool& handled) {
    handled = false;
    return 0;
}

LRESULT WindowImplBase::OnWmNcActivate(UINT, WPARAM wParam, LPARAM, bool& handled) {
    if (IsIconic(window_)) {
        handled = false;
        return 0;
    }
    // The non-client area is never drawn.
    return wParam == 0 ? 1 : 0;
}

LRESULT WindowImplBase::OnWmNcCalcSize(UINT, WPARAM, LPARAM lParam, bool&) {
    if (!IsZoomed(window_)) return 0;
    // Maximised: cover the work area, not the whole monitor.
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &monitor);
    auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
    RECT& r = params->rgrc[0];
    r.right = r.left + (monitor.rcWork.right - monitor.rcWork.left);
    r.bottom = r.top + (monitor.rcWork.bottom - monitor.rcWork.top);
    return WVR_REDRAW;
}

LRESULT WindowImplBase::OnWmNcPaint(UINT, WPARAM, LPARAM, bool&) {
    return 0;
}

LRESULT WindowImplBase::OnWmNcHitTest(UINT, WPARAM, LPARAM lParam, bool&) {
    POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ScreenToClient(window_, &pt);
    RECT client;
    GetClientRect(window_, &client);
    const FramePoint point = {pt.x, pt.y};
    if (!IsZoomed(window_)) {
        const int border = ResizeBorderHit(ToFrame(client), ToFrame(manager_.ResizeBorders()), point);
        if (border != FrameHitClient) return border;
    }
    if (InCaptionBand(ToFrame(client), ToFrame(manager_.CaptionArea()), point)) {
        CControlUI* control = manager_.FindControlAt(pt);
        if (control != nullptr && CaptionControlDrags(control->ClassName())) return HTCAPTION;
    }
    return HTCLIENT;
}

LRESULT WindowImplBase::OnWmGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, bool& handled) {
    handled = false;
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &monitor);
    RECT work = monitor.rcWork;
    OffsetRect(&work, -monitor.rcMonitor.left, -monitor.rcMonitor.top);
    info->ptMaxPosition.x = work.left;
    info->ptMaxPosition.y = work.top;
    info->ptMaxTrackSize.x = work.right - work.left;
    info->ptMaxTrackSize.y = work.bottom - work.top;
    info->ptMinTrackSize.x = manager_.MinTrackSize().cx;
    info->ptMinTrackSize.y = manager_.MinTrackSize().cy;
    return 0;
}

LRESULT WindowImplBase::OnWmMouseWheel(UINT, WPARAM, LPARAM, bool& handled) {
    handled = false;
    return 0;
}

LRESULT WindowImplBase::OnWmMouseHover(UINT, WPARAM, LPARAM, bool& handled) {
    handled = false;
    return 0;
}

LRESULT WindowImplBase::OnWmSize(UINT, WPARAM, LPARAM, bool& handled) {
    const SIZE corner = manager_.CornerEllipse();
    if (!IsIconic(window_) && (corner.cx != 0 || corner.cy != 0)) {
        RECT frame;
        GetWindowRect(window_, &frame);
        const FrameRect r = RoundRegionRect(ToFrame(frame));
        HRGN region = CreateRoundRectRgn(r.left, r.top, r.right, r.bottom, corner.cx, corner.cy);
        // The window owns a region once SetWindowRgn accepts it.
        if (SetWindowRgn(window_, region, TRUE) == 0) DeleteObject(region);
    }
    handled = false;
    return 0;
}

LRESULT WindowImplBase::OnWmChar(UINT, WPARAM, LPARAM, bool& handled) {
    handled = false;
    return 0;
}

LRESULT WindowImplBase::OnWmSysCommand(UINT msg, WPARAM wParam, LPARAM lParam, bool&) {
    // The low four bits of a system command are the system's own.
    if ((wParam & 0xFFF0) == SC_CLOSE) {
        SendMessageW(window_, WM_CLOSE, 0, 0);
        return 0;
    }
    const bool wasZoomed = IsZoomed(window_) != FALSE;
    HWND window = window_;
    LRESULT result = CallDefaultProcedure(msg, wParam, lParam);
    if (!IsWindow(window) || (IsZoomed(window) != FALSE) == wasZoomed) return result;
    CControlUI* maxButton = manager_.FindControl(UI_TEXT("maxbtn"));
    CControlUI* restoreButton = manager_.FindControl(UI_TEXT("restorebtn"));
    if (maxButton != nullptr && restoreButton != nullptr) {
        maxButton->SetVisible(wasZoomed);
        restoreButton->SetVisible(!wasZoomed);
    }
    return result;
}

LRESULT WindowImplBase::OnWmKeyDown(UINT, WPARAM, LPARAM, bool& handled) {
    handled = false;
    return 0;
}

LRESULT WindowImplBase::OnWmKillFocus(UINT, WPARAM, LPARAM, bool& handled) {
    handled = false;
    return 0;
}

LRESULT WindowImplBase::OnWmSetFocus(UINT, WPARAM, LPARAM, bool& handled) {
    handled = false;
    return 0;
}

LRESULT WindowImplBase::OnWmLButtonDown(UINT, WPARAM, LPARAM, bool& handled) {
    handled = false;
    return 0;
}

LRESULT WindowImplBase::OnWmLButtonUp(UINT, WPARAM, LPARAM, bool& handled) {
    handled = false;
    return 0;
}

LRESULT WindowImplBase::OnWmMouseMove(UINT, WPARAM, LPARAM, bool& handled) {
    handled = false;
    return 0;
}

bool WindowImplBase::PrepareSkinSource() {
    switch (SkinSourceKind()) {
        case SkinFromArchiveFile:
            CManagerUI::UseSkinArchiveFile(SkinArchiveFile().Data(), true);
            return true;
        case SkinFromArchiveResource: {
            const ArchiveResourceCopy* copy =
                LoadArchiveResource(CManagerUI::ResourceModule(), SkinResourceId());
            if (copy == nullptr) return false;
            CManagerUI::UseSkinArchiveMemory(copy->bytes.data(), copy->bytes.size());
            return true;
        }
        default:
            return true;
    }
}

LRESULT WindowImplBase::OnWmCreate(UINT, WPARAM, LPARAM, bool&) {
    SetWindowLongW(window_, GWL_STYLE, FrameStyle());
    RECT client;
    GetClientRect(window_, &client);
    // The frame is recomputed without activating the still hidden window:
    // showing it activates it.
    SetWindowPos(window_, nullptr, client.left, client.top, client.right - client.left,
                 client.bottom - client.top, SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOACTIVATE);

    manager_.AttachWindow(window_);
    manager_.AddPreFilter(this);

    UiString folder = CManagerUI::SkinFolderPath();
    if (folder.IsEmpty()) {
        folder = CManagerUI::ModuleFolder();
        folder += SkinFolder();
    }
    CManagerUI::SetSkinFolderPath(folder.Data());
    if (!PrepareSkinSource()) return 0;

    CSkinBuilder builder;
    CControlUI* root = nullptr;
    if (SkinSourceKind() == SkinFromResource) {
        const int id = static_cast<int>(wcstol(SkinFile().Data(), nullptr, 10)) & 0xFFFF;
        root = builder.Create(MAKEINTRESOURCEW(id), L"xml", this, &manager_, nullptr);
    } else {
        root = builder.Create(SkinFile().Data(), nullptr, this, &manager_, nullptr);
    }
    if (root == nullptr) {
        MessageBoxW(nullptr, L"加载资源文件失败", L"SkinUI", MB_ICONHAND);
        ExitProcess(1);
    }
    manager_.AttachRoot(root, this);
    manager_.AddNotifyListener(this);
    OnInitWindow();
    return 0;
}

void WindowImplBase::OnFinalMessage(HWND) {
    manager_.RemovePreFilter(this);
    manager_.RemoveNotifyListener(this);
    manager_.ForgetControl(manager_.Root());
}

}  // namespace SkinUI
