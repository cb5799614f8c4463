// CControlUI: the base of every element of a skinned window. It holds a
// control's name, text, position and size rules, colours, background image,
// border and flags, applies skin attributes by name, places itself, asks for
// repaints and re-layouts, paints itself in five layers and turns window
// events into notifications. Containers place it, the manager routes events
// to it and paints it.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/core/delegate.h"
#include "ui/core/image_spec.h"
#include "ui/core/ui_event.h"
#include "ui/core/ui_string.h"

namespace SkinUI {

class CManagerUI;

class CControlUI {
public:
    CControlUI();
    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;
    // Fires DestroyListeners, then makes the manager forget the control.
    virtual ~CControlUI();

    virtual void SetNumericId(int id);
    virtual int NumericId() const;
    virtual UiString GetName() const;
    virtual void SetName(const UiChar* name);
    // "ControlUI": the class name without the "C".
    virtual const UiChar* ClassName() const;
    // The object behind an interface name ("Control": this), or null.
    virtual void* InterfaceFor(const UiChar* name);
    // InputTabStop / InputSetCursor bits read by the manager.
    virtual uint32_t InputFlags();
    // Whether the control may act (a shortcut key): visible and enabled.
    virtual bool Invoke();
    virtual CManagerUI* Manager() const;
    // Stores manager and parent; with init and a parent, Initialize.
    virtual void AttachToManager(CManagerUI* manager, CControlUI* parent, bool init);
    virtual CControlUI* Parent() const;
    virtual UiString GetText() const;
    // Stores and repaints when the text changes.
    virtual void SetText(const UiChar* text);
    virtual RECT ItemRect() const;
    virtual RECT RectInParent() const;
    // Sets the item rectangle (for a floating control: relative to the
    // parent) and invalidates the old and new places when repaint is true.
    virtual void Place(RECT rect, bool repaint);
    virtual void Offset(int dx, int dy, bool repaint);
    virtual int Width() const;
    virtual int Height() const;
    virtual int Left() const;
    virtual int Top() const;
    virtual RECT OuterPadding() const;
    virtual void SetOuterPadding(RECT padding);
    virtual SIZE FixedOffset() const;
    virtual void SetFixedOffset(int cx, int cy);
    virtual int DeclaredWidth() const;
    virtual void SetDeclaredWidth(int cx);
    virtual int DeclaredHeight() const;
    virtual void SetDeclaredHeight(int cy);
    virtual int MinWidth() const;
    virtual void SetMinWidth(int cx);
    virtual int MaxWidth() const;
    virtual void SetMaxWidth(int cx);
    virtual int MinHeight() const;
    virtual void SetMinHeight(int cy);
    virtual int MaxHeight() const;
    virtual void SetMaxHeight(int cy);
    virtual const double* FloatShares() const;  // left, top, right, bottom
    virtual void SetFloatShares(double left, double top, double right, double bottom);
    virtual UiString ToolTip() const;
    // Every "<n>" becomes a line break.
    virtual void SetToolTip(const UiChar* text);
    virtual void SetToolTipMaxWidth(int width);
    virtual int ToolTipMaxWidth() const;
    virtual UiChar Shortcut() const;
    virtual void SetShortcut(UiChar c);
    virtual bool WantsContextMenu() const;
    virtual void SetWantsContextMenu(bool wants);
    virtual UiString UserData() const;
    virtual void SetUserData(const UiChar* text);
    virtual int AppValue() const;
    virtual void SetAppValue(int value);
    // Own visible flag and shown by the parent.
    virtual bool IsVisible() const;
    virtual void SetVisible(bool visible = true);
    virtual void SetShownByParent(bool shown);
    virtual bool IsEnabled() const;
    virtual void SetEnabled(bool enabled = true);
    virtual bool AcceptsMouse() const;
    virtual void SetAcceptsMouse(bool accepts = true);
    virtual bool AcceptsKeyboard() const;
    virtual void SetAcceptsKeyboard(bool accepts = true);
    virtual bool HasFocus() const;
    virtual void TakeFocus();
    virtual bool IsFloating() const;
    virtual void SetFloating(bool floating = true);
    // Applies the flag tests, then the visitor; containers descend.
    virtual CControlUI* Search(SearchVisitor visitor, void* data, uint32_t flags);
    // OnInitialize, then InitListeners.
    virtual void Initialize();
    virtual void OnInitialize();
    // EventListeners first; HandleEvent unless one returned false.
    virtual void DispatchEvent(UiEvent& event);
    virtual void HandleEvent(UiEvent& event);
    // Unknown names are ignored.
    virtual void SetAttribute(const UiChar* name, const UiChar* value);
    virtual SIZE DesiredSize(SIZE available);
    virtual void Paint(HDC hdc, const RECT& paintRect);
    virtual void DrawBackColor(HDC hdc);
    virtual void DrawBackImage(HDC hdc);
    virtual void DrawStateImages(HDC hdc);
    virtual void DrawTextContent(HDC hdc);
    virtual void DrawBorder(HDC hdc);
    // For controls registered with the manager's AddAfterPaint.
    virtual void AfterPaint(HDC hdc, const RECT& paintRect);

    void Repaint();
    void RequestLayout();
    void RequestParentLayout();
    bool LayoutPending() const { return layoutPending_; }
    uint32_t AdjustedColor(uint32_t color) const;
    void ApplyAttributeString(const UiChar* text);
    // Own virtual window name, else the nearest ancestor's, else empty.
    UiString VirtualWindowName() const {
        if (!virtualWnd_.IsEmpty()) return virtualWnd_;
        return parent_ != nullptr ? parent_->VirtualWindowName() : UiString();
    }
    void SetVirtualWindowName(const UiChar* name);
    UiString TextId() const { return textId_; }
    RECT PaintRect() const { return paintRect_; }
    RECT RawPosition() const { return rawPos_; }

    uint32_t BackColor() const { return backColor_[0]; }
    void SetBackColor(uint32_t color);
    uint32_t BackColor2() const { return backColor_[1]; }
    void SetBackColor2(uint32_t color);
    uint32_t BackColor3() const { return backColor_[2]; }
    void SetBackColor3(uint32_t color);
    uint32_t BorderColor() const { return borderColor_; }
    void SetBorderColor(uint32_t color);
    uint32_t FocusBorderColor() const { return focusBorderColor_; }
    void SetFocusBorderColor(uint32_t color);
    bool UsesColorHsl() const { return colorHsl_; }
    void SetColorHsl(bool on);
    int BorderSize() const { return borderSize_; }
    void SetBorderSize(int size);
    RECT SideBorderSizes() const { return sideBorders_; }
    void SetSideBorderSizes(RECT sizes);
    void SetLeftBorderSize(int size);
    void SetTopBorderSize(int size);
    void SetRightBorderSize(int size);
    void SetBottomBorderSize(int size);
    int BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(int style);
    SIZE BorderRound() const { return borderRound_; }
    void SetBorderRound(SIZE round);
    const ImageSpec& BackImage() const { return backImage_; }
    void SetBackImage(const UiChar* text);
    ImageSpec& ForeImageSpec() { return foreImage_; }

    ListenerList& InitListeners() { return initListeners_; }
    ListenerList& DestroyListeners() { return destroyListeners_; }
    ListenerList& SizeListeners() { return sizeListeners_; }
    ListenerList& EventListeners() { return eventListeners_; }
    ListenerList& NotifyListeners() { return notifyListeners_; }

protected:
    // Invalidates rect clipped by every ancestor; nothing when an ancestor is
    // hidden or the clip leaves nothing.
    void InvalidateClipped(RECT rect);
    bool IsShownByParent() const { return shownByParent_; }
    bool OwnVisibleFlag() const { return visible_; }
    void SetFocusedFlag(bool focused) { focused_ = focused; }
    void SetItemRect(const RECT& rect) { itemRect_ = rect; }

private:
    UiString textId_;
    ListenerList initListeners_;
    ListenerList destroyListeners_;
    ListenerList sizeListeners_;
    ListenerList eventListeners_;
    ListenerList notifyListeners_;
    CManagerUI* manager_ = nullptr;
    CControlUI* parent_ = nullptr;
    UiString virtualWnd_;
    UiString name_;
    bool layoutPending_ = true;
    bool wantsMenu_ = false;
    RECT itemRect_ = {0, 0, 0, 0};
    RECT padding_ = {0, 0, 0, 0};
    RECT rawPos_ = {0, 0, 0, 0};
    SIZE fixedOffset_ = {0, 0};
    SIZE declared_ = {0, 0};
    SIZE minSize_ = {0, 0};
    SIZE maxSize_ = {9999, 9999};
    bool visible_ = true;
    bool shownByParent_ = true;
    bool enabled_ = true;
    bool mouse_ = true;
    bool keyboard_ = true;
    bool focused_ = false;
    bool floating_ = false;
    double floatShares_[4] = {0.0, 0.0, 0.0, 0.0};
    bool inSizeListeners_ = false;
    UiString text_;
    UiString toolTip_;
    UiChar shortcut_ = 0;
    UiString userData_;
    int appValue_ = 0;
    uint32_t backColor_[3] = {0, 0, 0};
    ImageSpec backImage_;
    ImageSpec foreImage_;
    uint32_t borderColor_ = 0;
    uint32_t focusBorderColor_ = 0;
    bool colorHsl_ = false;
    int borderSize_ = 0;
    int borderStyle_ = 0;
    int toolTipMaxWidth_ = 300;
    SIZE borderRound_ = {0, 0};
    RECT paintRect_ = {0, 0, 0, 0};
    RECT sideBorders_ = {0, 0, 0, 0};
    int numericId_ = -1;
};

}  // namespace SkinUI
