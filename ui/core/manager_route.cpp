// CManagerUI: what happens to a message before it is dispatched (filters,
// accelerators, Tab, shortcut characters), and the message loop.
#include <cwctype>

#include "ui/controls/control_ui.h"
#include "ui/core/manager_ui.h"

namespace SkinUI {

namespace {

struct ShortcutSearch {
    UiChar character = 0;  // upper-cased
    bool pickNext = false;
};

bool ClassContains(const CControlUI* control, const UiChar* part) {
    const UiChar* name = control->ClassName();
    return name != nullptr && UiString(name).Find(part) >= 0;
}

// A label's shortcut moves on to the control after it.
CControlUI* VisitShortcut(CControlUI* control, void* data) {
    auto* search = static_cast<ShortcutSearch*>(data);
    if (!control->IsVisible()) return nullptr;
    if (static_cast<UiChar>(towupper(control->Shortcut())) == search->character) search->pickNext = true;
    if (ClassContains(control, UI_TEXT("LabelUI"))) return nullptr;
    return search->pickNext ? control : nullptr;
}

bool RemoveEntry(PtrArray& list, void* entry) {
    const int index = list.Find(entry);
    return index >= 0 && list.Remove(index);
}

}  // namespace

bool CManagerUI::AddPreFilter(IMessageFilterUI* filter) {
    return filter != nullptr && tree_.preFilters.Add(filter);
}
bool CManagerUI::RemovePreFilter(IMessageFilterUI* filter) {
    return RemoveEntry(tree_.preFilters, filter);
}
bool CManagerUI::AddFilter(IMessageFilterUI* filter) {
    return filter != nullptr && tree_.filters.Add(filter);
}
bool CManagerUI::RemoveFilter(IMessageFilterUI* filter) {
    return RemoveEntry(tree_.filters, filter);
}
bool CManagerUI::AddAccelerator(ITranslateAccelerator* accelerator) {
    return accelerator != nullptr && tree_.accelerators.Add(accelerator);
}
bool CManagerUI::RemoveAccelerator(ITranslateAccelerator* accelerator) {
    return RemoveEntry(tree_.accelerators, accelerator);
}

bool CManagerUI::RunAccelerators(MSG* msg) {
    for (int i = 0; i < tree_.accelerators.GetSize(); ++i) {
        if (static_cast<ITranslateAccelerator*>(tree_.accelerators.GetAt(i))->TranslateAccelerator(msg) ==
            0) {
            return true;
        }
    }
    return false;
}

bool CManagerUI::PreHandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    for (int i = 0; i < tree_.preFilters.GetSize(); ++i) {
        bool handled = false;
        LRESULT filtered = static_cast<IMessageFilterUI*>(tree_.preFilters.GetAt(i))
                               ->MessageHandler(msg, wParam, lParam, handled);
        if (handled) {
            result = filtered;
            return true;
        }
    }
    switch (msg) {
        case WM_KEYDOWN: {
            if (wParam != VK_TAB) return false;
            CControlUI* focused = tree_.focused;
            // A rich edit that takes Tab characters answers "WantTab".
            if (focused != nullptr && focused->IsVisible() && focused->IsEnabled() &&
                ClassContains(focused, UI_TEXT("RichEditUI")) &&
                focused->InterfaceFor(UI_TEXT("WantTab")) != nullptr) {
                return false;
            }
            MoveFocus(GetKeyState(VK_SHIFT) >= 0);
            return true;
        }
        case WM_SYSCHAR: {
            if (tree_.root == nullptr) return false;
            ShortcutSearch search;
            search.character = static_cast<UiChar>(towupper(static_cast<wint_t>(wParam)));
            CControlUI* found =
                tree_.root->Search(VisitShortcut, &search, SearchEnabled | SearchTopFirst | SearchMeFirst);
            if (found == nullptr) return false;
            found->TakeFocus();
            found->Invoke();
            return true;
        }
        case WM_SYSKEYDOWN:
            if (tree_.focused != nullptr) {
                UiEvent event;
                event.type = EventSysKey;
                event.sender = tree_.focused;
                event.timestamp = GetTickCount();
                event.mousePoint = tree_.lastMousePoint;
                event.keyChar = LOWORD(wParam);
                event.keyState = CurrentKeyState();
                tree_.focused->DispatchEvent(event);
            }
            return false;
        default:
            return false;
    }
}

bool CManagerUI::PreRouteMessage(MSG* msg) {
    const PtrArray& managers = LiveManagers();
    if ((GetWindowLongW(msg->hwnd, GWL_STYLE) & WS_CHILD) != 0) {
        // A child window's keys reach the managers of the windows it sits in.
        for (int i = managers.GetSize() - 1; i >= 0; --i) {
            auto* manager = static_cast<CManagerUI*>(managers.GetAt(i));
            HWND paint = manager->PaintWindow();
            for (HWND window = msg->hwnd; window != nullptr; window = GetParent(window)) {
                if (paint != window) continue;
                if (manager->RunAccelerators(msg)) return true;
                LRESULT ignored = 0;
                manager->PreHandleMessage(msg->message, msg->wParam, msg->lParam, ignored);
            }
        }
        return false;
    }
    for (int i = 0; i < managers.GetSize(); ++i) {
        auto* manager = static_cast<CManagerUI*>(managers.GetAt(i));
        if (manager->PaintWindow() != msg->hwnd) continue;
        if (manager->RunAccelerators(msg)) return true;
        LRESULT ignored = 0;
        return manager->PreHandleMessage(msg->message, msg->wParam, msg->lParam, ignored);
    }
    return false;
}

void CManagerUI::RunMessageLoop() {
    MSG msg;
    // GetMessageW gives -1 on failure; looping on it would never end.
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (PreRouteMessage(&msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace SkinUI
