// CManagerUI: the per-window manager of the UI framework.
//
// This part holds the manager's resources and the process-wide settings:
// default colours, fonts, images, per-class default attributes and language
// strings, each looked up in the manager's own ResourceSet first, then in the
// ResourceSet shared by the process, then a built-in default; and where skin
// files come from (module, resource module, skin folder, skin archive). The
// window binding and message handling build on this class.
//
// Everything here runs on the UI thread and nothing is locked.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/core/manager_state.h"
#include "ui/core/message_filter.h"
#include "ui/core/ptr_array.h"
#include "ui/core/resource_set.h"
#include "ui/core/ui_string.h"

namespace SkinUI {

class CSkinArchive;
struct ImageEntry;

// The window-wide hue, saturation and lightness shift (hue in degrees around
// 180, saturation and lightness in percent of 100).
struct WindowHslSetting {
    short hue = 180;
    short saturation = 100;
    short lightness = 100;
    bool enabled = false;
};

class CManagerUI {
public:
    CManagerUI();
    CManagerUI(const CManagerUI&) = delete;
    CManagerUI& operator=(const CManagerUI&) = delete;
    virtual ~CManagerUI();

    // The DC font metrics are measured on; none until the window is attached.
    HDC PaintDC() const { return paintDC_; }
    // Sets the DC used for metrics (the window attachment calls it with the
    // window's DC; the manager does not release it).
    void SetPaintDC(HDC dc) { paintDC_ = dc; }

    ResourceSet& OwnResources() { return own_; }
    static ResourceSet& SharedResources();

    // Colours: the getters give the manager's own values. With shared, the
    // own value follows the change while it equals the shared one, then the
    // shared value changes; other managers keep their copies.
    uint32_t DefaultDisabledColor() const { return own_.disabledTextColor; }
    uint32_t DefaultTextColor() const { return own_.textColor; }
    uint32_t DefaultLinkColor() const { return own_.linkColor; }
    uint32_t DefaultLinkHoverColor() const { return own_.linkHoverColor; }
    uint32_t DefaultSelectedBackColor() const { return own_.selectedBackColor; }
    void ChangeDefaultDisabledColor(uint32_t color, bool shared);
    void ChangeDefaultTextColor(uint32_t color, bool shared);
    void ChangeDefaultLinkColor(uint32_t color, bool shared);
    void ChangeDefaultLinkHoverColor(uint32_t color, bool shared);
    void ChangeDefaultSelectedBackColor(uint32_t color, bool shared);

    // Fonts. Every FontEntry returned has its metrics filled when a paint DC
    // exists.
    // The own default font when it has a face, else the shared one.
    FontEntry* DefaultFont();
    // Replaces the default font of the own or the shared set; nothing changes
    // when the font cannot be created.
    void ReplaceDefaultFont(const UiChar* face, int size, bool bold, bool underline, bool italic,
                            bool shared);
    // Creates a font and stores it under the decimal id, replacing (and
    // deleting) an earlier one. Returns the font, or null.
    HFONT StoreFont(int id, const UiChar* face, int size, bool bold, bool underline, bool italic,
                    bool shared);
    // Own entry, shared entry, else (also for a negative id) the default font.
    HFONT FontHandle(int id);
    FontEntry* FontInfo(int id);
    FontEntry* FontInfoOfHandle(HFONT font);
    // The first entry, own before shared, with this face (exact), size and flags.
    HFONT FindFontHandle(const UiChar* face, int size, bool bold, bool underline, bool italic);
    void DropAllFonts(bool shared);

    // Images, by the name written in the skin (exact).
    ImageEntry* FindImage(const UiChar* name) const;
    // Loads an image and stores it in the own or shared set, replacing an
    // entry of that name. With a resource type the name must be a decimal
    // resource id. Returns the stored entry, or null (nothing is stored).
    ImageEntry* LoadNamedImage(const UiChar* name, const UiChar* resourceType, uint32_t mask, bool useHSL,
                               bool shared);
    // FindImage, or on a miss LoadNamedImage into the own set.
    ImageEntry* FindOrLoadImage(const UiChar* name, const UiChar* resourceType, uint32_t mask, bool useHSL);
    void DropAllImages(bool shared);

    // Default attribute text per control class (skin element name).
    void SetClassDefaults(const UiChar* className, const UiChar* attributes, bool shared);
    // Own text, else shared text, else null.
    const UiChar* ClassDefaults(const UiChar* className) const;
    void DropAllClassDefaults(bool shared);

    // Language strings live in the shared set.
    static void AddLanguageString(int id, const UiChar* text);
    static const UiChar* GetLanguageString(int id);
    // Replaces "%{id}" tokens by their language strings.
    static void ExpandLanguageTokens(UiString& text);

    static WindowHslSetting WindowHsl();

    // Process settings.
    static void SetModuleInstance(HINSTANCE instance);
    static HINSTANCE ModuleInstance();
    static void SetResourceModule(HINSTANCE module);
    // The resource module when one was set, else the module instance.
    static HINSTANCE ResourceModule();
    // The module's folder up to and including the last backslash.
    static UiString ModuleFolder();
    static void SetSkinFolderPath(const UiChar* path);
    static const UiString& SkinFolderPath();
    static void UseSkinArchiveFile(const UiChar* name, bool keepOpen);
    static void UseSkinArchiveMemory(const void* bytes, size_t size);
    static const UiString& SkinArchiveName();
    static bool IsSkinArchiveKeptOpen();
    static CSkinArchive* OpenSkinArchive();
    // "CreateControl" functions of loaded control plug-ins.
    static const PtrArray& ControlPlugins();
    static bool LoadControlPlugin(const UiChar* file);

    // ---- Window binding, control tree, notifications, window settings ----
    // (manager_tree.cpp, manager_notify.cpp, window_settings.cpp)

    // Binds the native window: takes its DC as the paint DC and joins the
    // process-wide manager list.
    void AttachWindow(HWND window);
    HWND PaintWindow() const { return tree_.paintWindow; }
    CControlUI* Root() const { return tree_.root; }
    // Makes root the tree of the window (the old one is deleted later) and
    // binds it. Without a root the window is closed and the result is false.
    bool AttachRoot(CControlUI* root, IDialogBuilderCallback* callback);
    IDialogBuilderCallback* BuilderCallback() const { return tree_.builderCallback; }
    // Attaches control (parent: its own parent when null) with initialisation
    // and enters the names of its subtree into the name map.
    bool BindControls(CControlUI* control, CControlUI* parent = nullptr);
    // Drops every reference to a control that is being removed or deleted.
    void ForgetControl(CControlUI* control);
    // Detaches control and deletes it when the window handles WM_APP+1.
    void DeleteLater(CControlUI* control);
    // Deletes the controls waiting for DeleteLater (the WM_APP+1 handling).
    void DeleteDelayedControls();
    int DelayedControlCount() const { return tree_.delayed.GetSize(); }

    CControlUI* FindControl(const UiChar* name) const;
    CControlUI* FindControlAt(POINT point) const;
    CControlUI* FindDescendantAt(CControlUI* parent, POINT point) const;
    CControlUI* FindDescendantByName(CControlUI* parent, const UiChar* name) const;
    CControlUI* FindDescendantOfClass(CControlUI* parent, const UiChar* className, int index);
    PtrArray* CollectDescendantsOfClass(CControlUI* parent, const UiChar* className);

    bool JoinOptionGroup(const UiChar* group, CControlUI* control);
    PtrArray* OptionGroupMembers(const UiChar* group) const;
    void LeaveOptionGroup(const UiChar* group, CControlUI* control);
    void ClearOptionGroups();

    bool AddNotifyListener(INotifyUI* listener);
    bool RemoveNotifyListener(INotifyUI* listener);
    void RaiseNotify(CControlUI* control, const UiChar* type, WPARAM wParam = 0, LPARAM lParam = 0,
                     bool async = false);
    void RaiseNotify(NotifyMsg& msg, bool async = false);
    // Delivers the queued notifications in order.
    void DrainNotifyQueue();

    bool AddAfterPaint(CControlUI* control);
    bool RemoveAfterPaint(CControlUI* control);
    bool SetAfterPaintIndex(CControlUI* control, int index);
    int AfterPaintCount() const { return tree_.afterPaint.GetSize(); }
    CControlUI* AfterPaintAt(int index) const {
        return static_cast<CControlUI*>(tree_.afterPaint.GetAt(index));
    }

    CControlUI* FocusedControl() const { return tree_.focused; }
    void FocusControl(CControlUI* control);
    POINT MousePoint() const { return tree_.lastMousePoint; }

    void InvalidateArea(const RECT& rect);
    void InvalidateAll();
    void MarkLayoutDirty() { tree_.layoutDirty = true; }
    bool IsLayoutDirty() const { return tree_.layoutDirty; }

    // Window settings, read by the window base.
    void SetStartSize(int cx, int cy);
    SIZE StartSize() const { return tree_.initialSize; }
    void SetResizeBorders(const RECT& rect) { tree_.sizeBox = rect; }
    RECT ResizeBorders() const { return tree_.sizeBox; }
    void SetCaptionArea(const RECT& rect) { tree_.caption = rect; }
    RECT CaptionArea() const { return tree_.caption; }
    void SetCornerEllipse(int cx, int cy) { tree_.roundCorner = {cx, cy}; }
    SIZE CornerEllipse() const { return tree_.roundCorner; }
    void SetMinTrackSize(int cx, int cy) { tree_.minInfo = {cx, cy}; }
    SIZE MinTrackSize() const { return tree_.minInfo; }
    void SetMaxTrackSize(int cx, int cy) { tree_.maxInfo = {cx, cy}; }
    SIZE MaxTrackSize() const { return tree_.maxInfo; }
    void SetOpacity(int opacity);
    int Opacity() const { return tree_.opacity; }
    void SetPerPixelAlpha(bool on) { tree_.layered = on; }
    bool UsesPerPixelAlpha() const { return tree_.layered; }
    void SetKeepBackground(bool on) { tree_.keepBackground = on; }
    bool KeepsBackground() const { return tree_.keepBackground; }
    void SetDrawUpdateRect(bool on) { tree_.showUpdateRect = on; }
    bool DrawsUpdateRect() const { return tree_.showUpdateRect; }
    void SetUsesVirtualWindows(bool on) { tree_.usesVirtualWindows = on; }
    bool UsesVirtualWindows() const { return tree_.usesVirtualWindows; }

    // ---- Messages, focus, timers, painting, tooltips ----
    // (manager_messages.cpp, manager_mouse.cpp, manager_focus.cpp,
    // manager_route.cpp, manager_timers.cpp, manager_paint.cpp,
    // manager_tooltip.cpp)

    // The window's messages its own handlers left alone. False: default
    // processing gets the message.
    bool HandleWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Before dispatch: pre-filters, Tab, shortcut characters, system keys.
    bool PreHandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool RunAccelerators(MSG* msg);
    // Offers a message to the managers of its window before dispatch.
    static bool PreRouteMessage(MSG* msg);
    static void RunMessageLoop();
    // Every manager with a window, in the order the windows were attached.
    static const PtrArray& LiveManagers();
    // Left button 0x01, right 0x02, Shift 0x04, Ctrl 0x08, Alt 0x20.
    static WORD CurrentKeyState();

    bool AddPreFilter(IMessageFilterUI* filter);
    bool RemovePreFilter(IMessageFilterUI* filter);
    bool AddFilter(IMessageFilterUI* filter);
    bool RemoveFilter(IMessageFilterUI* filter);
    bool AddAccelerator(ITranslateAccelerator* accelerator);
    bool RemoveAccelerator(ITranslateAccelerator* accelerator);

    // Native focus to the window; the control gets focus at the next paint
    // (the first tab stop at or after it).
    void RequestFocus(CControlUI* control);
    // Tab order, wrapping at the ends. Always true.
    bool MoveFocus(bool forward);
    void CaptureMouse();
    void ReleaseMouse();
    bool HasCapture() const { return tree_.mouseCaptured; }

    bool StartTimer(CControlUI* control, UINT_PTR localId, UINT interval);
    bool StopTimer(CControlUI* control, UINT_PTR localId);
    void StopTimers(CControlUI* control);
    void StopAllTimers();

    // WM_PAINT: the lazy layout pass, then the normal or layered paint path.
    void OnPaintMessage();
    // WM_MOUSEHOVER: the hovered control's tooltip. True once a control was
    // found under the point.
    bool ShowTooltip(LPARAM lParam);
    HWND TooltipWindow() const { return tree_.tooltip; }
    // The premultiplied canvas the last layered paint handed to
    // UpdateLayeredWindow; it lives until the next paint.
    HBITMAP LayeredCanvas() const { return tree_.layered ? tree_.backgroundBitmap : nullptr; }
    SIZE ClientSize() const;

private:
    void OnMouseMove(LPARAM lParam);
    void OnMouseButton(UINT msg, WPARAM wParam, LPARAM lParam);
    void OnPrintClient(HDC dc, LPARAM flags);
    void DispatchTo(CControlUI* control, UiEvent& event);
    bool IsForeign(const CControlUI* control) const;
    void HideTooltip();
    void RunLayoutPass(const RECT& client);
    void PaintNormal();
    void PaintLayered();
    void ReleasePaintObjects();
    CControlUI* TabTarget(CControlUI* from, bool forward, CControlUI** last);
    // Tells the focused control, if any, that taker takes the focus, and
    // leaves no control focused.
    void DropFocus(CControlUI* taker);
    bool NativeTimerIdInUse(UINT_PTR id) const;

    // Deletes the tree, the queued notifications and the option groups and
    // unbinds the window; the destructor's first step.
    void ReleaseControlTree();
    void DeliverNotify(NotifyMsg& msg);
    ManagerTreeState tree_;

    FontEntry* WithMetrics(FontEntry* entry);
    static HFONT CreateSkinFont(const UiChar* face, int size, bool bold, bool underline, bool italic,
                                bool proof);
    static void InitSharedResources();

    ResourceSet own_;
    HDC paintDC_ = nullptr;
};

}  // namespace SkinUI
