#include "ui/controls/control_ui.h"

#include "ui/controls/attribute_values.h"
#include "ui/controls/layout_math.h"
#include "ui/core/manager_ui.h"
#include "ui/core/painter.h"

namespace SkinUI {

CControlUI::CControlUI() = default;

CControlUI::~CControlUI() {
    if (!destroyListeners_.IsEmpty()) destroyListeners_.FireListeners(this);
    if (manager_ != nullptr) manager_->ForgetControl(this);
}

void CControlUI::SetNumericId(int id) {
    numericId_ = id;
}
int CControlUI::NumericId() const {
    return numericId_;
}
UiString CControlUI::GetName() const {
    return name_;
}
void CControlUI::SetName(const UiChar* name) {
    name_ = name;
}
const UiChar* CControlUI::ClassName() const {
    return UI_TEXT("ControlUI");
}
void* CControlUI::InterfaceFor(const UiChar* name) {
    return UiStrEq(name, UI_TEXT("Control")) ? this : nullptr;
}
uint32_t CControlUI::InputFlags() {
    return 0;
}
bool CControlUI::Invoke() {
    return IsVisible() && IsEnabled();
}
CManagerUI* CControlUI::Manager() const {
    return manager_;
}

void CControlUI::AttachToManager(CManagerUI* manager, CControlUI* parent, bool init) {
    manager_ = manager;
    parent_ = parent;
    if (init && parent_ != nullptr) Initialize();
}

CControlUI* CControlUI::Parent() const {
    return parent_;
}
UiString CControlUI::GetText() const {
    return text_;
}

void CControlUI::SetText(const UiChar* text) {
    if (text_ == text) return;
    text_ = text;
    Repaint();
}

RECT CControlUI::ItemRect() const {
    return itemRect_;
}

RECT CControlUI::RectInParent() const {
    if (parent_ == nullptr) return {0, 0, 0, 0};
    RECT parentRect = parent_->ItemRect();
    RECT r = itemRect_;
    OffsetRect(&r, -parentRect.left, -parentRect.top);
    return r;
}

void CControlUI::InvalidateClipped(RECT rect) {
    if (manager_ == nullptr) return;
    for (CControlUI* ancestor = parent_; ancestor != nullptr; ancestor = ancestor->Parent()) {
        if (!ancestor->IsVisible()) return;
        RECT ancestorRect = ancestor->ItemRect();
        if (!IntersectRect(&rect, &rect, &ancestorRect)) return;
    }
    manager_->InvalidateArea(rect);
}

void CControlUI::Place(RECT rect, bool repaint) {
    if (rect.right < rect.left) rect.right = rect.left;
    if (rect.bottom < rect.top) rect.bottom = rect.top;
    RECT invalid = itemRect_;
    if (floating_) {
        if (parent_ != nullptr) {
            RECT parentRect = parent_->ItemRect();
            itemRect_ = rect;
            OffsetRect(&itemRect_, parentRect.left, parentRect.top);
            LayoutSize offset, declared;
            FloatChildRules({rect.left, rect.top, rect.right, rect.bottom},
                            parentRect.right - parentRect.left, parentRect.bottom - parentRect.top,
                            {floatShares_[0], floatShares_[1], floatShares_[2], floatShares_[3]}, &offset,
                            &declared);
            fixedOffset_ = {offset.cx, offset.cy};
            declared_ = {declared.cx, declared.cy};
        }
    } else {
        itemRect_ = rect;
    }
    // A floating control's rect is relative to its parent, so the new place
    // to invalidate is the item rectangle it now has.
    if (IsRectEmpty(&invalid)) invalid = itemRect_;
    if (manager_ == nullptr) return;
    if (!inSizeListeners_) {
        inSizeListeners_ = true;
        sizeListeners_.FireListeners(this);
        inSizeListeners_ = false;
    }
    layoutPending_ = false;
    if (repaint && IsVisible()) {
        UnionRect(&invalid, &invalid, &itemRect_);
        InvalidateClipped(invalid);
    }
}

void CControlUI::Offset(int dx, int dy, bool repaint) {
    RECT old = itemRect_;
    OffsetRect(&itemRect_, dx, dy);
    if (repaint && manager_ != nullptr && IsVisible()) {
        RECT area;
        UnionRect(&area, &old, &itemRect_);
        InvalidateClipped(area);
    }
}

int CControlUI::Width() const {
    return itemRect_.right - itemRect_.left;
}
int CControlUI::Height() const {
    return itemRect_.bottom - itemRect_.top;
}
int CControlUI::Left() const {
    return itemRect_.left;
}
int CControlUI::Top() const {
    return itemRect_.top;
}
RECT CControlUI::OuterPadding() const {
    return padding_;
}
void CControlUI::SetOuterPadding(RECT padding) {
    padding_ = padding;
    RequestParentLayout();
}
SIZE CControlUI::FixedOffset() const {
    return fixedOffset_;
}

namespace {

// A floating control places itself; any other is placed by its parent.
void RequestSizeLayout(CControlUI* control) {
    if (control->IsFloating()) {
        control->RequestLayout();
    } else {
        control->RequestParentLayout();
    }
}

}  // namespace

void CControlUI::SetFixedOffset(int cx, int cy) {
    fixedOffset_ = {cx, cy};
    RequestSizeLayout(this);
}
int CControlUI::DeclaredWidth() const {
    return declared_.cx;
}
void CControlUI::SetDeclaredWidth(int cx) {
    if (cx < 0) return;
    declared_.cx = cx;
    RequestSizeLayout(this);
}
int CControlUI::DeclaredHeight() const {
    return declared_.cy;
}
void CControlUI::SetDeclaredHeight(int cy) {
    if (cy < 0) return;
    declared_.cy = cy;
    RequestSizeLayout(this);
}
int CControlUI::MinWidth() const {
    return minSize_.cx;
}
void CControlUI::SetMinWidth(int cx) {
    if (cx == minSize_.cx || cx < 0) return;
    minSize_.cx = cx;
    RequestSizeLayout(this);
}
int CControlUI::MaxWidth() const {
    return maxSize_.cx;
}
void CControlUI::SetMaxWidth(int cx) {
    if (cx == maxSize_.cx || cx < 0) return;
    maxSize_.cx = cx;
    RequestSizeLayout(this);
}
int CControlUI::MinHeight() const {
    return minSize_.cy;
}
void CControlUI::SetMinHeight(int cy) {
    if (cy == minSize_.cy || cy < 0) return;
    minSize_.cy = cy;
    RequestSizeLayout(this);
}
int CControlUI::MaxHeight() const {
    return maxSize_.cy;
}
void CControlUI::SetMaxHeight(int cy) {
    if (cy == maxSize_.cy || cy < 0) return;
    maxSize_.cy = cy;
    RequestSizeLayout(this);
}
const double* CControlUI::FloatShares() const {
    return floatShares_;
}
void CControlUI::SetFloatShares(double left, double top, double right, double bottom) {
    floatShares_[0] = left;
    floatShares_[1] = top;
    floatShares_[2] = right;
    floatShares_[3] = bottom;
    RequestParentLayout();
}
UiString CControlUI::ToolTip() const {
    return toolTip_;
}
void CControlUI::SetToolTip(const UiChar* text) {
    toolTip_ = text;
    toolTip_.Replace(UI_TEXT("<n>"), UI_TEXT("\r\n"));
}
void CControlUI::SetToolTipMaxWidth(int width) {
    toolTipMaxWidth_ = width;
}
int CControlUI::ToolTipMaxWidth() const {
    return toolTipMaxWidth_;
}
UiChar CControlUI::Shortcut() const {
    return shortcut_;
}
void CControlUI::SetShortcut(UiChar c) {
    shortcut_ = c;
}
bool CControlUI::WantsContextMenu() const {
    return wantsMenu_;
}
void CControlUI::SetWantsContextMenu(bool wants) {
    wantsMenu_ = wants;
}
UiString CControlUI::UserData() const {
    return userData_;
}
void CControlUI::SetUserData(const UiChar* text) {
    userData_ = text;
}
int CControlUI::AppValue() const {
    return appValue_;
}
void CControlUI::SetAppValue(int value) {
    appValue_ = value;
}
bool CControlUI::IsVisible() const {
    return visible_ && shownByParent_;
}

void CControlUI::SetVisible(bool visible) {
    if (visible_ == visible) return;
    bool wasVisible = IsVisible();
    visible_ = visible;
    focused_ = false;
    if (!visible && manager_ != nullptr && manager_->FocusedControl() == this)
        manager_->FocusControl(nullptr);
    if (IsVisible() != wasVisible) RequestParentLayout();
}

void CControlUI::SetShownByParent(bool shown) {
    shownByParent_ = shown;
    if (!shown && manager_ != nullptr && manager_->FocusedControl() == this) manager_->FocusControl(nullptr);
}

bool CControlUI::IsEnabled() const {
    return enabled_;
}
void CControlUI::SetEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    Repaint();
}
bool CControlUI::AcceptsMouse() const {
    return mouse_;
}
void CControlUI::SetAcceptsMouse(bool accepts) {
    mouse_ = accepts;
}
bool CControlUI::AcceptsKeyboard() const {
    return keyboard_;
}
void CControlUI::SetAcceptsKeyboard(bool accepts) {
    keyboard_ = accepts;
}
bool CControlUI::HasFocus() const {
    return focused_;
}
void CControlUI::TakeFocus() {
    if (manager_ != nullptr) manager_->FocusControl(this);
}
bool CControlUI::IsFloating() const {
    return floating_;
}
void CControlUI::SetFloating(bool floating) {
    if (floating_ == floating) return;
    floating_ = floating;
    RequestParentLayout();
}

CControlUI* CControlUI::Search(SearchVisitor visitor, void* data, uint32_t flags) {
    if ((flags & SearchVisible) != 0 && !IsVisible()) return nullptr;
    if ((flags & SearchEnabled) != 0 && !IsEnabled()) return nullptr;
    if ((flags & SearchHitTest) != 0 && (!mouse_ || !PtInRect(&itemRect_, *static_cast<POINT*>(data)))) {
        return nullptr;
    }
    if ((flags & SearchUpdateTest) != 0 && visitor(this, data) != nullptr) return nullptr;
    return visitor(this, data);
}

void CControlUI::Initialize() {
    OnInitialize();
    if (!initListeners_.IsEmpty()) initListeners_.FireListeners(this);
}

void CControlUI::OnInitialize() {}

void CControlUI::DispatchEvent(UiEvent& event) {
    if (eventListeners_.FireListeners(&event)) HandleEvent(event);
}

void CControlUI::HandleEvent(UiEvent& event) {
    switch (event.type) {
        case EventSetCursor:
            SetCursor(LoadCursorW(nullptr, IDC_ARROW));
            return;
        case EventSetFocus:
            focused_ = true;
            Repaint();
            return;
        case EventKillFocus:
            focused_ = false;
            Repaint();
            return;
        case EventTimer:
            if (manager_ != nullptr)
                manager_->RaiseNotify(this, UI_TEXT("timer"), event.wParam, event.lParam);
            return;
        case EventContextMenu:
            if (WantsContextMenu()) {
                if (manager_ != nullptr)
                    manager_->RaiseNotify(this, UI_TEXT("menu"), event.wParam, event.lParam);
                return;
            }
            break;
        case EventMouseEnter:
            if (manager_ != nullptr) {
                manager_->RaiseNotify(this, UI_TEXT("mouseenter"), event.wParam, event.lParam);
            }
            return;
        case EventMouseLeave:
            if (manager_ != nullptr) {
                manager_->RaiseNotify(this, UI_TEXT("mouseleave"), event.wParam, event.lParam);
            }
            return;
        default:
            break;
    }
    if (parent_ != nullptr) parent_->HandleEvent(event);
}

SIZE CControlUI::DesiredSize(SIZE available) {
    return declared_;
}

void CControlUI::AfterPaint(HDC hdc, const RECT& paintRect) {}

void CControlUI::Repaint() {
    if (!IsVisible()) return;
    InvalidateClipped(itemRect_);
}

void CControlUI::RequestLayout() {
    if (!IsVisible()) return;
    layoutPending_ = true;
    Repaint();
    if (manager_ != nullptr) manager_->MarkLayoutDirty();
}

void CControlUI::RequestParentLayout() {
    if (parent_ != nullptr) {
        parent_->RequestLayout();
        parent_->Repaint();
    } else {
        RequestLayout();
    }
    if (manager_ != nullptr) manager_->MarkLayoutDirty();
}

uint32_t CControlUI::AdjustedColor(uint32_t color) const {
    if (!colorHsl_) return color;
    WindowHslSetting hsl = CManagerUI::WindowHsl();
    return CPainter::ShiftColorHsl(color, hsl.hue, hsl.saturation, hsl.lightness);
}

void CControlUI::ApplyAttributeString(const UiChar* text) {
    ForEachAttributePair(text, [this](const UiString& name, const UiString& value) {
        SetAttribute(name.Data(), value.Data());
    });
}

void CControlUI::SetVirtualWindowName(const UiChar* name) {
    virtualWnd_ = name;
}

}  // namespace SkinUI
