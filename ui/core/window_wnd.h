// CWindowWnd: a native top-level window bound to a C++ object. It registers
// the window class (or a superclass of an existing one), creates the window
// with the object as its creation parameter, routes every message to the
// virtual OnWindowMessage, runs a modal message loop and closes and centres
// the window.
#pragma once

#include <windows.h>

#include "ui/core/ui_char.h"

namespace SkinUI {

class CWindowWnd {
public:
    CWindowWnd() = default;
    CWindowWnd(const CWindowWnd&) = delete;
    CWindowWnd& operator=(const CWindowWnd&) = delete;

    HWND CreateFrame(HWND parent, const UiChar* title, DWORD style, DWORD exStyle, int x, int y, int width,
                     int height, HMENU menu = nullptr);
    HWND CreateFrame(HWND parent, const UiChar* title, DWORD style, DWORD exStyle);
    HWND CreateFrame(HWND parent, const UiChar* title, DWORD style, DWORD exStyle, const RECT& rect,
                     HMENU menu = nullptr);
    bool RegisterFrameClass();
    bool RegisterSuperclassedFrame();

    HWND FrameWindow() const { return window_; }
    void ShowFrame(bool show = true, bool takeFocus = true);
    // Shows the window and runs messages until it is gone. The result is the
    // code of the last CloseFrame, 0 when the window was closed otherwise,
    // -1 when the owner is disabled (the window is closed at once).
    UINT RunModalLoop(int showCommand = SW_SHOWNORMAL);
    UINT ShowModal() { return RunModalLoop(SW_SHOWNORMAL); }
    // Posts WM_CLOSE with the code; the modal loop returns it.
    void CloseFrame(UINT code = 0);
    // Centres on the owner, or on the work area without one or when the owner
    // is minimised, and keeps the window inside the work area.
    void CenterOnOwner();
    LRESULT SendToFrame(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    // The one operation another thread may call.
    void PostToFrame(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT CallDefaultProcedure(UINT msg, WPARAM wParam, LPARAM lParam);

protected:
    virtual const UiChar* WindowClassName() const = 0;
    virtual const UiChar* SuperclassName() const { return nullptr; }
    virtual UINT ClassStyle() const { return 0; }
    virtual LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // After WM_NCDESTROY: the window is gone and no longer bound to this.
    virtual void OnFinalMessage(HWND window) {}
    // A window still alive when its object goes away is unbound first, so no
    // later message reaches the dying object, and then destroyed.
    virtual ~CWindowWnd();
    void DestroyUnbound();

    static LRESULT CALLBACK FrameWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK SuperclassWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    // Both procedures: binds the object on WM_NCCREATE, unbinds it after the
    // default procedure's WM_NCDESTROY, and hands it everything in between.
    static LRESULT RouteMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, bool inProperty);

    HWND window_ = nullptr;
    WNDPROC defaultProcedure_ = DefWindowProcW;
    bool superclassed_ = false;
};

}  // namespace SkinUI
