// WindowImplBase: a skinned top-level window. Creating the window loads the
// skin (from files, an archive file, an "xml" resource or the "ZIP" resource
// archive), builds the control tree into the window's CManagerUI and calls
// OnInitWindow; the borderless frame then gets caption dragging, resize
// borders, rounded corners, the maximised work area and size limits. Forms
// derive from it and override a handful of operations.
#pragma once

#include <windows.h>

#include "ui/core/manager_ui.h"
#include "ui/core/message_filter.h"
#include "ui/core/notify_pump.h"
#include "ui/core/ui_event.h"
#include "ui/core/ui_string.h"
#include "ui/core/window_wnd.h"
#include "ui/skin/dialog_builder_callback.h"

namespace SkinUI {

// Where WindowImplBase reads its skin (SkinSourceKind).
enum SkinSource {
    SkinFromFile = 1,             // skin XML files in the skin folder
    SkinFromArchiveFile = 2,      // a ZIP file (SkinArchiveFile) in the skin folder
    SkinFromResource = 3,         // an "xml" resource whose decimal id is SkinFile
    SkinFromArchiveResource = 4,  // the "ZIP" resource SkinResourceId holding the archive
};

class WindowImplBase : public CWindowWnd,
                       public CNotifyPump,
                       public INotifyUI,
                       public IMessageFilterUI,
                       public IDialogBuilderCallback {
public:
    WindowImplBase() = default;
    ~WindowImplBase() override;

    CManagerUI& Manager() { return manager_; }

    virtual void OnInitWindow() {}
    // "closebtn" closes with code 1; "minbtn", "maxbtn" and "restorebtn"
    // send the matching system command.
    virtual void OnCaptionButtonClick(NotifyMsg& msg);
    virtual UiString SkinFolder() = 0;
    virtual UiString SkinFile() = 0;
    // Escape closes with code 1; anything else passes on.
    virtual bool OnDialogKey(WPARAM key);
    virtual int SkinSourceKind() { return SkinFromFile; }
    virtual UiString SkinArchiveFile() { return UiString(); }
    // A resource name or MAKEINTRESOURCEW id; null for none.
    virtual const UiChar* SkinResourceId() { return nullptr; }

    virtual LRESULT OnWmClose(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnWmDestroy(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnWmNcActivate(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnWmNcCalcSize(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnWmNcPaint(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnWmNcHitTest(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnWmGetMinMaxInfo(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnWmMouseWheel(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnWmMouseHover(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnWmSize(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnWmChar(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnWmSysCommand(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnWmCreate(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnWmKeyDown(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnWmKillFocus(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnWmSetFocus(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnWmLButtonDown(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnWmLButtonUp(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnWmMouseMove(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnCustomMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    // The frame's style: the current one without WS_CAPTION, clipping its
    // children and siblings.
    virtual LONG FrameStyle();

    // INotifyUI: OnNotify, by default the notification maps.
    void Notify(NotifyMsg& msg) final { OnNotify(msg); }
    virtual void OnNotify(NotifyMsg& msg) { RouteNotify(msg); }
    // IMessageFilterUI, the pre-filter: Return and Escape go to OnDialogKey.
    LRESULT MessageHandler(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;
    // IDialogBuilderCallback: element names the builder does not know build
    // nothing.
    CControlUI* CreateCustomControl(const UiChar* name) override { return nullptr; }

protected:
    UINT ClassStyle() const override { return CS_DBLCLKS; }
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND window) override;
    const NotifyMapTable* NotifyMap() const override;

    CManagerUI manager_;

private:
    // WM_CREATE's skin source step; false when the "ZIP" resource is missing
    // or empty (the window then stays without controls).
    bool PrepareSkinSource();
};

}  // namespace SkinUI
