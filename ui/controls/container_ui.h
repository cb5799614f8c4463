// CContainerUI: a control with an ordered list of children. It places every
// non-floating child over its whole inner area (the layouts override that),
// places floating children by their own "pos" and float shares, paints the
// children clipped to itself, passes visibility and manager attachment down
// and lets searches and hit tests descend into the children.
#pragma once

#include "ui/controls/container_interface.h"
#include "ui/controls/control_ui.h"
#include "ui/core/ptr_array.h"

namespace SkinUI {

class CScrollBarUI;

class CContainerUI : public CControlUI, public IContainerUI {
public:
    CContainerUI();
    // Deletes the children it owns at once, and the scroll bars.
    ~CContainerUI() override;

    const UiChar* ClassName() const override;
    // "IContainer": the IContainerUI view; "Container": this.
    void* InterfaceFor(const UiChar* name) override;
    // Children and scroll bars first, so children initialise before the
    // container.
    void AttachToManager(CManagerUI* manager, CControlUI* parent, bool init) override;
    void Place(RECT rect, bool repaint) override;
    void Offset(int dx, int dy, bool repaint) override;
    void SetVisible(bool visible = true) override;
    void SetShownByParent(bool shown) override;
    void SetAcceptsMouse(bool accepts = true) override;
    CControlUI* Search(SearchVisitor visitor, void* data, uint32_t flags) override;
    void HandleEvent(UiEvent& event) override;
    void SetAttribute(const UiChar* name, const UiChar* value) override;
    void Paint(HDC hdc, const RECT& paintRect) override;

    virtual RECT Inset() const;
    virtual void SetInset(int left, int top, int right, int bottom);
    virtual int ChildPadding() const;
    virtual void SetChildPadding(int padding);
    virtual bool AutoDestroy() const;
    virtual void SetAutoDestroy(bool on);
    virtual bool DelayedDestroy() const;
    virtual void SetDelayedDestroy(bool on);
    virtual bool MouseChildEnabled() const;
    virtual void SetMouseChildEnabled(bool on);
    // Nearest visible, enabled list item from index on (backward unless
    // forward); -1 when there is none.
    virtual int FindSelectableItem(int index, bool forward);
    // (horizontal, vertical); 0 for a missing or hidden bar.
    virtual SIZE ScrollPos() const;
    virtual SIZE ScrollRange() const;
    virtual void SetScrollPos(SIZE pos);
    virtual void LineUp();
    virtual void LineDown();
    virtual void PageUp();
    virtual void PageDown();
    virtual void HomeUp();
    virtual void EndDown();
    virtual void LineLeft();
    virtual void LineRight();
    virtual void PageLeft();
    virtual void PageRight();
    virtual void HomeLeft();
    virtual void EndRight();
    virtual void EnableScrollBar(bool vertical, bool horizontal);
    virtual CScrollBarUI* VerticalScrollBar() const;
    virtual CScrollBarUI* HorizontalScrollBar() const;
    virtual void PlaceFloatingChild(int index);
    // Sizes and places the bars for content of the needed size in area.
    virtual void UpdateScrollBars(RECT area, int neededWidth, int neededHeight);

    CControlUI* ItemAt(int index) const override;
    int IndexOf(CControlUI* control) const override;
    bool MoveItem(CControlUI* control, int index) override;
    int ItemCount() const override;
    bool Add(CControlUI* control) override;
    bool AddAt(CControlUI* control, int index) override;
    bool Remove(CControlUI* control) override;
    bool RemoveAt(int index) override;
    void RemoveAll() override;

protected:
    // The item rectangle less the inset and the visible scroll bars.
    RECT InnerArea() const;
    bool IsBarVisible(const CScrollBarUI* bar) const;
    // Deletes (now or later) a child the container owns.
    void DisposeChild(CControlUI* child);
    // The two-pass placement of the vertical and horizontal layouts, after
    // the base placement of the container itself.
    void PlaceLinearChildren(bool vertical);

private:
    int LineStep() const;

    PtrArray items_;
    RECT inset_ = {0, 0, 0, 0};
    int childPadding_ = 0;
    bool autoDestroy_ = true;
    bool delayedDestroy_ = true;
    bool mouseChild_ = true;
    bool inScrollUpdate_ = false;
    CScrollBarUI* verticalBar_ = nullptr;
    CScrollBarUI* horizontalBar_ = nullptr;
};

}  // namespace SkinUI
