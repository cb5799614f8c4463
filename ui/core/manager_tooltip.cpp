// CManagerUI: the hovered control's tooltip, in one tracking tooltip window
// per manager.
#include <windowsx.h>

#include "ui/controls/control_ui.h"
#include "ui/core/manager_ui.h"

namespace SkinUI {

void CManagerUI::HideTooltip() {
    if (tree_.tooltip == nullptr) return;
    SendMessageW(tree_.tooltip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tree_.toolRecord));
}

bool CManagerUI::ShowTooltip(LPARAM lParam) {
    // The next mouse move arms hover tracking again.
    tree_.mouseTracking = false;
    HWND window = tree_.paintWindow;
    POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    CControlUI* control = FindControlAt(point);
    if (control == nullptr) return false;
    if (tree_.hover != nullptr) {
        UiEvent event;
        event.type = EventMouseHover;
        event.sender = tree_.hover;
        event.timestamp = GetTickCount();
        event.mousePoint = point;
        tree_.hover->DispatchEvent(event);
    }
    // The hover handler may have changed or deleted the tree.
    control = FindControlAt(point);
    if (control == nullptr) return true;
    UiString text = control->ToolTip();
    if (text.IsEmpty()) return true;
    ExpandLanguageTokens(text);
    tree_.toolText = text;

    TOOLINFOW& tool = tree_.toolRecord;
    tool = {};
    tool.cbSize = sizeof(TOOLINFOW);
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = window;
    tool.uId = reinterpret_cast<UINT_PTR>(window);
    tool.hinst = ModuleInstance();
    tool.lpszText = const_cast<UiChar*>(tree_.toolText.Data());
    tool.rect = control->ItemRect();
    if (tree_.tooltip == nullptr) {
        tree_.tooltip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window,
                                        nullptr, ModuleInstance(), nullptr);
        if (tree_.tooltip == nullptr) return true;
        SendMessageW(tree_.tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    SendMessageW(tree_.tooltip, TTM_SETMAXTIPWIDTH, 0, control->ToolTipMaxWidth());
    SendMessageW(tree_.tooltip, TTM_SETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tree_.tooltip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
    return true;
}

}  // namespace SkinUI
