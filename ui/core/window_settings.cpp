// CManagerUI: the window settings a skin's Window element makes.
#include "ui/core/manager_ui.h"

namespace SkinUI {

void CManagerUI::SetStartSize(int cx, int cy) {
    tree_.initialSize = {cx, cy};
    if (tree_.root == nullptr && tree_.paintWindow != nullptr) {
        SetWindowPos(tree_.paintWindow, nullptr, 0, 0, cx, cy, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    }
}

void CManagerUI::SetOpacity(int opacity) {
    tree_.opacity = opacity < 0 ? 0 : (opacity > 255 ? 255 : opacity);
    HWND window = tree_.paintWindow;
    if (window == nullptr) return;
    using SetLayeredAttributes = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
    auto setAttributes = reinterpret_cast<SetLayeredAttributes>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"User32.dll"), "SetLayeredWindowAttributes")));
    if (setAttributes == nullptr) return;
    LONG style = GetWindowLongW(window, GWL_EXSTYLE);
    LONG wanted = (opacity >= 0 && opacity <= 255) ? (style | WS_EX_LAYERED) : (style & ~WS_EX_LAYERED);
    if (wanted != style) SetWindowLongW(window, GWL_EXSTYLE, wanted);
    setAttributes(window, 0, static_cast<BYTE>(tree_.opacity), LWA_ALPHA);
}

}  // namespace SkinUI
