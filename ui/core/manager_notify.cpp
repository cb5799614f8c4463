// CManagerUI: notifications, the after-paint list, focus and invalidation.
#include "ui/controls/control_ui.h"
#include "ui/core/manager_ui.h"

namespace SkinUI {

bool CManagerUI::AddNotifyListener(INotifyUI* listener) {
    if (listener == nullptr) return false;
    return tree_.notifyListeners.Add(listener);
}

bool CManagerUI::RemoveNotifyListener(INotifyUI* listener) {
    int index = tree_.notifyListeners.Find(listener);
    if (index < 0) return false;
    return tree_.notifyListeners.Remove(index);
}

void CManagerUI::RaiseNotify(CControlUI* control, const UiChar* type, WPARAM wParam, LPARAM lParam,
                             bool async) {
    NotifyMsg msg;
    msg.sender = control;
    msg.type = type;
    msg.wParam = wParam;
    msg.lParam = lParam;
    RaiseNotify(msg, async);
}

void CManagerUI::RaiseNotify(NotifyMsg& msg, bool async) {
    msg.mousePoint = tree_.lastMousePoint;
    msg.timestamp = GetTickCount();
    if (tree_.usesVirtualWindows && msg.sender != nullptr) msg.virtualWnd = msg.sender->VirtualWindowName();
    if (async) {
        tree_.queued.Add(new NotifyMsg(msg));
    } else {
        DeliverNotify(msg);
    }
}

void CManagerUI::DeliverNotify(NotifyMsg& msg) {
    if (msg.sender != nullptr && !msg.sender->NotifyListeners().IsEmpty()) {
        msg.sender->NotifyListeners().FireListeners(&msg);
    }
    // A listener may remove itself while it is notified; the index check
    // keeps the walk inside the list.
    for (int i = 0; i < tree_.notifyListeners.GetSize(); ++i) {
        static_cast<INotifyUI*>(tree_.notifyListeners.GetAt(i))->Notify(msg);
    }
}

void CManagerUI::DrainNotifyQueue() {
    while (!tree_.queued.IsEmpty()) {
        auto* msg = static_cast<NotifyMsg*>(tree_.queued.GetAt(0));
        tree_.queued.Remove(0);
        DeliverNotify(*msg);
        delete msg;
    }
}

bool CManagerUI::AddAfterPaint(CControlUI* control) {
    return tree_.afterPaint.Add(control);
}

bool CManagerUI::RemoveAfterPaint(CControlUI* control) {
    int index = tree_.afterPaint.Find(control);
    if (index < 0) return false;
    return tree_.afterPaint.Remove(index);
}

bool CManagerUI::SetAfterPaintIndex(CControlUI* control, int index) {
    if (!RemoveAfterPaint(control)) return false;
    return tree_.afterPaint.InsertAt(index, control);
}

void CManagerUI::DropFocus(CControlUI* taker) {
    if (tree_.focused == nullptr) return;
    CControlUI* old = tree_.focused;
    UiEvent event;
    event.type = EventKillFocus;
    event.sender = taker;
    event.timestamp = GetTickCount();
    old->DispatchEvent(event);
    RaiseNotify(old, UI_TEXT("killfocus"));
    tree_.focused = nullptr;
}

void CManagerUI::FocusControl(CControlUI* control) {
    if (control == tree_.focused) return;
    DropFocus(control);
    if (control == nullptr || control->Manager() != this || !control->IsVisible() || !control->IsEnabled())
        return;
    tree_.focused = control;
    UiEvent event;
    event.type = EventSetFocus;
    event.sender = control;
    event.timestamp = GetTickCount();
    control->DispatchEvent(event);
    RaiseNotify(control, UI_TEXT("setfocus"));
}

void CManagerUI::InvalidateArea(const RECT& rect) {
    if (tree_.paintWindow != nullptr) InvalidateRect(tree_.paintWindow, &rect, FALSE);
}

void CManagerUI::InvalidateAll() {
    if (tree_.paintWindow != nullptr) InvalidateRect(tree_.paintWindow, nullptr, FALSE);
}

}  // namespace SkinUI
