#include "ui/controls/container_ui.h"

#include "ui/controls/attribute_values.h"
#include "ui/controls/layout_math.h"
#include "ui/controls/scroll_bar_ui.h"
#include "ui/core/manager_ui.h"

namespace SkinUI {

namespace {

bool Is(const UiChar* name, const char* literal) {
    const UiChar* p = name;
    const char* q = literal;
    while (*p != 0 && *q != 0 && *p == static_cast<UiChar>(*q)) {
        ++p;
        ++q;
    }
    return *p == 0 && *q == 0;
}

}  // namespace

CContainerUI::CContainerUI() = default;

CContainerUI::~CContainerUI() {
    delayedDestroy_ = false;
    // The children go now; no re-layout is asked for a container that is
    // going away.
    PtrArray children = items_;
    items_.Empty();
    if (autoDestroy_) {
        for (int i = 0; i < children.GetSize(); ++i)
            DisposeChild(static_cast<CControlUI*>(children.GetAt(i)));
    }
    delete verticalBar_;
    delete horizontalBar_;
}

const UiChar* CContainerUI::ClassName() const {
    return UI_TEXT("ContainerUI");
}

void* CContainerUI::InterfaceFor(const UiChar* name) {
    if (UiStrEq(name, UI_TEXT("IContainer"))) return static_cast<IContainerUI*>(this);
    if (UiStrEq(name, UI_TEXT("Container"))) return static_cast<CContainerUI*>(this);
    return CControlUI::InterfaceFor(name);
}

void CContainerUI::AttachToManager(CManagerUI* manager, CControlUI* parent, bool init) {
    for (int i = 0; i < items_.GetSize(); ++i) {
        static_cast<CControlUI*>(items_.GetAt(i))->AttachToManager(manager, this, init);
    }
    if (verticalBar_ != nullptr) verticalBar_->AttachToManager(manager, this, init);
    if (horizontalBar_ != nullptr) horizontalBar_->AttachToManager(manager, this, init);
    CControlUI::AttachToManager(manager, parent, init);
}

RECT CContainerUI::Inset() const {
    return inset_;
}
void CContainerUI::SetInset(int left, int top, int right, int bottom) {
    inset_ = {left, top, right, bottom};
    RequestLayout();
}
int CContainerUI::ChildPadding() const {
    return childPadding_;
}
void CContainerUI::SetChildPadding(int padding) {
    childPadding_ = padding;
    RequestLayout();
}
bool CContainerUI::AutoDestroy() const {
    return autoDestroy_;
}
void CContainerUI::SetAutoDestroy(bool on) {
    autoDestroy_ = on;
}
bool CContainerUI::DelayedDestroy() const {
    return delayedDestroy_;
}
void CContainerUI::SetDelayedDestroy(bool on) {
    delayedDestroy_ = on;
}
bool CContainerUI::MouseChildEnabled() const {
    return mouseChild_;
}
void CContainerUI::SetMouseChildEnabled(bool on) {
    mouseChild_ = on;
}

int CContainerUI::FindSelectableItem(int index, bool forward) {
    const int count = items_.GetSize();
    if (count == 0) return -1;
    if (index < 0) index = 0;
    if (index >= count) index = count - 1;
    for (int i = index; i >= 0 && i < count; i += forward ? 1 : -1) {
        auto* child = static_cast<CControlUI*>(items_.GetAt(i));
        if (child->InterfaceFor(UI_TEXT("ListItem")) != nullptr && child->IsVisible() && child->IsEnabled()) {
            return i;
        }
    }
    return -1;
}

CControlUI* CContainerUI::ItemAt(int index) const {
    return static_cast<CControlUI*>(items_.GetAt(index));
}

int CContainerUI::IndexOf(CControlUI* control) const {
    return items_.Find(control);
}

bool CContainerUI::MoveItem(CControlUI* control, int index) {
    int from = items_.Find(control);
    if (from < 0 || index < 0 || index >= items_.GetSize()) return false;
    RequestLayout();
    items_.Remove(from);
    return items_.InsertAt(index, control);
}

int CContainerUI::ItemCount() const {
    return items_.GetSize();
}

bool CContainerUI::Add(CControlUI* control) {
    return AddAt(control, items_.GetSize());
}

bool CContainerUI::AddAt(CControlUI* control, int index) {
    if (control == nullptr || index < 0 || index > items_.GetSize()) return false;
    if (Manager() != nullptr) Manager()->BindControls(control, this);
    if (IsVisible()) {
        RequestLayout();
    } else {
        control->SetShownByParent(false);
    }
    return items_.InsertAt(index, control);
}

void CContainerUI::DisposeChild(CControlUI* child) {
    if (delayedDestroy_ && Manager() != nullptr) {
        Manager()->DeleteLater(child);
    } else {
        delete child;
    }
}

bool CContainerUI::Remove(CControlUI* control) {
    return RemoveAt(items_.Find(control));
}

bool CContainerUI::RemoveAt(int index) {
    auto* child = static_cast<CControlUI*>(items_.GetAt(index));
    if (child == nullptr) return false;
    RequestLayout();
    // Out of the list before it is deleted, so nothing reaches it through
    // the container meanwhile.
    items_.Remove(index);
    if (autoDestroy_) DisposeChild(child);
    return true;
}

void CContainerUI::RemoveAll() {
    PtrArray children = items_;
    items_.Empty();
    if (autoDestroy_) {
        for (int i = 0; i < children.GetSize(); ++i)
            DisposeChild(static_cast<CControlUI*>(children.GetAt(i)));
    }
    RequestLayout();
}

void CContainerUI::SetVisible(bool visible) {
    if (OwnVisibleFlag() == visible) return;
    CControlUI::SetVisible(visible);
    for (int i = 0; i < items_.GetSize(); ++i) {
        static_cast<CControlUI*>(items_.GetAt(i))->SetShownByParent(IsVisible());
    }
}

void CContainerUI::SetShownByParent(bool shown) {
    CControlUI::SetShownByParent(shown);
    for (int i = 0; i < items_.GetSize(); ++i) {
        static_cast<CControlUI*>(items_.GetAt(i))->SetShownByParent(IsVisible());
    }
}

void CContainerUI::SetAcceptsMouse(bool accepts) {
    if (verticalBar_ != nullptr) verticalBar_->SetAcceptsMouse(accepts);
    if (horizontalBar_ != nullptr) horizontalBar_->SetAcceptsMouse(accepts);
    CControlUI::SetAcceptsMouse(accepts);
}

void CContainerUI::Offset(int dx, int dy, bool repaint) {
    CControlUI::Offset(dx, dy, repaint);
    if (IsBarVisible(verticalBar_)) verticalBar_->Offset(dx, dy, false);
    if (IsBarVisible(horizontalBar_)) horizontalBar_->Offset(dx, dy, false);
    for (int i = 0; i < items_.GetSize(); ++i) {
        auto* child = static_cast<CControlUI*>(items_.GetAt(i));
        if (child->IsVisible()) child->Offset(dx, dy, false);
    }
}

bool CContainerUI::IsBarVisible(const CScrollBarUI* bar) const {
    return bar != nullptr && bar->IsVisible();
}

RECT CContainerUI::InnerArea() const {
    RECT r = ItemRect();
    r.left += inset_.left;
    r.top += inset_.top;
    r.right -= inset_.right;
    r.bottom -= inset_.bottom;
    if (IsBarVisible(verticalBar_)) r.right -= verticalBar_->DeclaredWidth();
    if (IsBarVisible(horizontalBar_)) r.bottom -= horizontalBar_->DeclaredHeight();
    return r;
}

void CContainerUI::Place(RECT rect, bool repaint) {
    CControlUI::Place(rect, repaint);
    if (items_.IsEmpty()) return;
    RECT item = ItemRect();
    LayoutRect area{item.left + inset_.left, item.top + inset_.top, item.right - inset_.right,
                    item.bottom - inset_.bottom};
    if (IsBarVisible(verticalBar_)) {
        area.top -= verticalBar_->ScrollPos();
        area.bottom -= verticalBar_->ScrollPos();
        area.bottom += verticalBar_->ScrollRange();
        area.right -= verticalBar_->DeclaredWidth();
    }
    if (IsBarVisible(horizontalBar_)) {
        area.left -= horizontalBar_->ScrollPos();
        area.right -= horizontalBar_->ScrollPos();
        area.right += horizontalBar_->ScrollRange();
        area.bottom -= horizontalBar_->DeclaredHeight();
    }
    std::vector<LayoutChild> children(items_.GetSize());
    for (int i = 0; i < items_.GetSize(); ++i) {
        auto* child = static_cast<CControlUI*>(items_.GetAt(i));
        children[i].visible = child->IsVisible();
        children[i].floating = child->IsFloating();
        children[i].minSize = {child->MinWidth(), child->MinHeight()};
        children[i].maxSize = {child->MaxWidth(), child->MaxHeight()};
    }
    LayoutResult result = LayOutStacked(area, children);
    for (int i = 0; i < items_.GetSize(); ++i) {
        if (result.placement[i] == ChildPlacement::kFloating) {
            PlaceFloatingChild(i);
        } else if (result.placement[i] == ChildPlacement::kPlaced) {
            const LayoutRect& r = result.rects[i];
            ItemAt(i)->Place({r.left, r.top, r.right, r.bottom}, false);
        }
    }
}

void CContainerUI::PlaceFloatingChild(int index) {
    CControlUI* child = ItemAt(index);
    if (child == nullptr || !child->IsVisible() || !child->IsFloating()) return;
    RECT item = ItemRect();
    SIZE offset = child->FixedOffset();
    const double* shares = child->FloatShares();
    LayoutRect r = FloatChildRect(item.right - item.left, item.bottom - item.top, {offset.cx, offset.cy},
                                  {child->DeclaredWidth(), child->DeclaredHeight()},
                                  {shares[0], shares[1], shares[2], shares[3]});
    child->Place({r.left, r.top, r.right, r.bottom}, false);
}

CControlUI* CContainerUI::Search(SearchVisitor visitor, void* data, uint32_t flags) {
    if ((flags & SearchVisible) != 0 && !IsVisible()) return nullptr;
    if ((flags & SearchEnabled) != 0 && !IsEnabled()) return nullptr;
    const bool hitTest = (flags & SearchHitTest) != 0;
    RECT item = ItemRect();
    if (hitTest && !PtInRect(&item, *static_cast<POINT*>(data))) return nullptr;
    if ((flags & SearchUpdateTest) != 0 && visitor(this, data) != nullptr) return nullptr;

    const bool mayVisitSelf = !hitTest || AcceptsMouse();
    if ((flags & SearchMeFirst) != 0 && mayVisitSelf) {
        CControlUI* result = visitor(this, data);
        if (result != nullptr) return result;
    }
    if (mayVisitSelf) {
        if (verticalBar_ != nullptr) {
            CControlUI* result = verticalBar_->Search(visitor, data, flags);
            if (result != nullptr) return result;
        }
        if (horizontalBar_ != nullptr) {
            CControlUI* result = horizontalBar_->Search(visitor, data, flags);
            if (result != nullptr) return result;
        }
    }
    if (!hitTest || mouseChild_) {
        RECT inner = InnerArea();
        const int count = items_.GetSize();
        const bool topFirst = (flags & SearchTopFirst) != 0;
        for (int n = 0; n < count; ++n) {
            auto* child = static_cast<CControlUI*>(items_.GetAt(topFirst ? count - 1 - n : n));
            CControlUI* result = child->Search(visitor, data, flags);
            if (result == nullptr) continue;
            if (!hitTest || result->IsFloating() || PtInRect(&inner, *static_cast<POINT*>(data)))
                return result;
        }
    }
    if ((flags & SearchMeFirst) == 0 && mayVisitSelf) return visitor(this, data);
    return nullptr;
}

void CContainerUI::HandleEvent(UiEvent& event) {
    if (!AcceptsMouse() && IsMouseEvent(event.type)) {
        if (Parent() != nullptr) {
            Parent()->HandleEvent(event);
        } else {
            CControlUI::HandleEvent(event);
        }
        return;
    }
    if (event.type == EventSetFocus) {
        SetFocusedFlag(true);
        return;
    }
    if (event.type == EventKillFocus) {
        SetFocusedFlag(false);
        return;
    }
    if (IsBarVisible(verticalBar_) && verticalBar_->IsEnabled()) {
        if (event.type == EventKeyDown) {
            switch (event.keyChar) {
                case VK_DOWN:
                    LineDown();
                    return;
                case VK_UP:
                    LineUp();
                    return;
                case VK_NEXT:
                    PageDown();
                    return;
                case VK_PRIOR:
                    PageUp();
                    return;
                case VK_HOME:
                    HomeUp();
                    return;
                case VK_END:
                    EndDown();
                    return;
                default:
                    break;
            }
        } else if (event.type == EventScrollWheel) {
            if (event.wParam == 0) {
                LineUp();
                return;
            }
            if (event.wParam == 1) {
                LineDown();
                return;
            }
        }
    } else if (IsBarVisible(horizontalBar_) && horizontalBar_->IsEnabled()) {
        if (event.type == EventKeyDown) {
            switch (event.keyChar) {
                case VK_DOWN:
                    LineRight();
                    return;
                case VK_UP:
                    LineLeft();
                    return;
                case VK_NEXT:
                    PageRight();
                    return;
                case VK_PRIOR:
                    PageLeft();
                    return;
                case VK_HOME:
                    HomeLeft();
                    return;
                case VK_END:
                    EndRight();
                    return;
                default:
                    break;
            }
        } else if (event.type == EventScrollWheel) {
            if (event.wParam == 0) {
                LineLeft();
                return;
            }
            if (event.wParam == 1) {
                LineRight();
                return;
            }
        }
    }
    CControlUI::HandleEvent(event);
}

void CContainerUI::SetAttribute(const UiChar* name, const UiChar* value) {
    if (name == nullptr || value == nullptr) return;
    if (Is(name, "inset")) {
        int32_t n[4];
        ParseNumberList(value, n, 4);
        SetInset(n[0], n[1], n[2], n[3]);
    } else if (Is(name, "mousechild")) {
        SetMouseChildEnabled(ParseTrue(value));
    } else if (Is(name, "vscrollbar")) {
        EnableScrollBar(ParseTrue(value), horizontalBar_ != nullptr);
    } else if (Is(name, "vscrollbarstyle")) {
        EnableScrollBar(true, horizontalBar_ != nullptr);
        if (verticalBar_ != nullptr) verticalBar_->ApplyAttributeString(value);
    } else if (Is(name, "hscrollbar")) {
        EnableScrollBar(verticalBar_ != nullptr, ParseTrue(value));
    } else if (Is(name, "hscrollbarstyle")) {
        EnableScrollBar(verticalBar_ != nullptr, true);
        if (horizontalBar_ != nullptr) horizontalBar_->ApplyAttributeString(value);
    } else if (Is(name, "childpadding")) {
        SetChildPadding(ParseDecimal(value));
    } else {
        CControlUI::SetAttribute(name, value);
    }
}

}  // namespace SkinUI
