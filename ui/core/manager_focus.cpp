// CManagerUI: focus requests and Tab order.
#include "ui/controls/control_ui.h"
#include "ui/core/manager_ui.h"

namespace SkinUI {

namespace {

// The state of one walk through the tab stops.
struct TabSearch {
    CControlUI* focus = nullptr;  // the control to search from
    CControlUI* last = nullptr;   // the last tab stop seen
    bool forward = true;
    bool nextIsIt = false;
};

CControlUI* VisitTabStop(CControlUI* control, void* data) {
    auto* search = static_cast<TabSearch*>(data);
    if (control == search->focus) {
        if (search->forward) {
            search->nextIsIt = true;
            return nullptr;
        }
        return search->last;
    }
    if ((control->InputFlags() & InputTabStop) == 0) return nullptr;
    search->last = control;
    return (search->nextIsIt || search->focus == nullptr) ? control : nullptr;
}

constexpr uint32_t kTabSearchFlags = SearchVisible | SearchEnabled | SearchMeFirst;

}  // namespace

CControlUI* CManagerUI::TabTarget(CControlUI* from, bool forward, CControlUI** last) {
    TabSearch search;
    search.focus = from;
    search.forward = forward;
    CControlUI* found = tree_.root->Search(VisitTabStop, &search, kTabSearchFlags);
    if (last != nullptr) *last = search.last;
    return found;
}

void CManagerUI::RequestFocus(CControlUI* control) {
    SetFocus(tree_.paintWindow);
    if (control == nullptr) return;
    DropFocus(control);
    // The next paint moves forward from the tab stop before the control,
    // which lands on the first tab stop at or after it.
    tree_.focused = tree_.root != nullptr ? TabTarget(control, false, nullptr) : nullptr;
    tree_.focusNeeded = true;
    if (tree_.root != nullptr) tree_.root->RequestLayout();
}

bool CManagerUI::MoveFocus(bool forward) {
    if (tree_.layoutDirty && forward) {
        tree_.focusNeeded = true;
        if (tree_.paintWindow != nullptr) InvalidateRect(tree_.paintWindow, nullptr, FALSE);
        return true;
    }
    if (tree_.root != nullptr) {
        CControlUI* last = nullptr;
        CControlUI* found = TabTarget(tree_.focused, forward, &last);
        if (found != nullptr) {
            FocusControl(found);
        } else if (forward) {
            found = TabTarget(nullptr, true, nullptr);
            if (found != nullptr) FocusControl(found);
        } else if (last != nullptr) {
            FocusControl(last);
        }
    }
    tree_.focusNeeded = false;
    return true;
}

}  // namespace SkinUI
