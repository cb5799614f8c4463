// CContainerUI's scroll bars: creating them, scrolling, and sizing them for
// the content a layout needs.
#include "ui/controls/container_ui.h"
#include "ui/controls/scroll_bar_ui.h"
#include "ui/core/manager_ui.h"

namespace SkinUI {

namespace {

constexpr int kHorizontalLine = 8;

CScrollBarUI* MakeBar(CContainerUI* owner, bool horizontal) {
    auto* bar = new CScrollBarUI;
    bar->SetHorizontal(horizontal);
    bar->SetOwner(owner);
    CManagerUI* manager = owner->Manager();
    bar->AttachToManager(manager, nullptr, false);
    if (manager != nullptr) {
        const UiChar* defaults =
            manager->ClassDefaults(horizontal ? UI_TEXT("HScrollBar") : UI_TEXT("VScrollBar"));
        if (defaults != nullptr) bar->ApplyAttributeString(defaults);
    }
    return bar;
}

}  // namespace

void CContainerUI::EnableScrollBar(bool vertical, bool horizontal) {
    if (vertical && verticalBar_ == nullptr) {
        verticalBar_ = MakeBar(this, false);
    } else if (!vertical && verticalBar_ != nullptr) {
        delete verticalBar_;
        verticalBar_ = nullptr;
    }
    if (horizontal && horizontalBar_ == nullptr) {
        horizontalBar_ = MakeBar(this, true);
    } else if (!horizontal && horizontalBar_ != nullptr) {
        delete horizontalBar_;
        horizontalBar_ = nullptr;
    }
    RequestLayout();
}

CScrollBarUI* CContainerUI::VerticalScrollBar() const {
    return verticalBar_;
}

CScrollBarUI* CContainerUI::HorizontalScrollBar() const {
    return horizontalBar_;
}

SIZE CContainerUI::ScrollPos() const {
    return {IsBarVisible(horizontalBar_) ? horizontalBar_->ScrollPos() : 0,
            IsBarVisible(verticalBar_) ? verticalBar_->ScrollPos() : 0};
}

SIZE CContainerUI::ScrollRange() const {
    return {IsBarVisible(horizontalBar_) ? horizontalBar_->ScrollRange() : 0,
            IsBarVisible(verticalBar_) ? verticalBar_->ScrollRange() : 0};
}

void CContainerUI::SetScrollPos(SIZE pos) {
    const SIZE old = ScrollPos();
    if (IsBarVisible(horizontalBar_)) horizontalBar_->SetScrollPos(pos.cx);
    if (IsBarVisible(verticalBar_)) verticalBar_->SetScrollPos(pos.cy);
    const SIZE now = ScrollPos();
    const int dx = now.cx - old.cx;
    const int dy = now.cy - old.cy;
    if (dx == 0 && dy == 0) return;
    for (int i = 0; i < ItemCount(); ++i) {
        CControlUI* child = ItemAt(i);
        if (child->IsVisible() && !child->IsFloating()) child->Offset(-dx, -dy, false);
    }
    Repaint();
}

int CContainerUI::LineStep() const {
    CManagerUI* manager = Manager();
    if (manager == nullptr) return 8;
    FontEntry* font = manager->DefaultFont();
    return (font != nullptr ? font->metrics.tmHeight : 0) + 8;
}

void CContainerUI::LineUp() {
    SIZE pos = ScrollPos();
    pos.cy -= LineStep();
    SetScrollPos(pos);
}

void CContainerUI::LineDown() {
    SIZE pos = ScrollPos();
    pos.cy += LineStep();
    SetScrollPos(pos);
}

void CContainerUI::PageUp() {
    SIZE pos = ScrollPos();
    RECT r = ItemRect();
    int page = r.bottom - r.top - Inset().top - Inset().bottom;
    if (IsBarVisible(horizontalBar_)) page -= horizontalBar_->DeclaredHeight();
    pos.cy -= page;
    SetScrollPos(pos);
}

void CContainerUI::PageDown() {
    SIZE pos = ScrollPos();
    RECT r = ItemRect();
    int page = r.bottom - r.top - Inset().top - Inset().bottom;
    if (IsBarVisible(horizontalBar_)) page -= horizontalBar_->DeclaredHeight();
    pos.cy += page;
    SetScrollPos(pos);
}

void CContainerUI::HomeUp() {
    SetScrollPos({ScrollPos().cx, 0});
}

void CContainerUI::EndDown() {
    SetScrollPos({ScrollPos().cx, ScrollRange().cy});
}

void CContainerUI::LineLeft() {
    SIZE pos = ScrollPos();
    pos.cx -= kHorizontalLine;
    SetScrollPos(pos);
}

void CContainerUI::LineRight() {
    SIZE pos = ScrollPos();
    pos.cx += kHorizontalLine;
    SetScrollPos(pos);
}

void CContainerUI::PageLeft() {
    SIZE pos = ScrollPos();
    RECT r = ItemRect();
    int page = r.right - r.left - Inset().left - Inset().right;
    if (IsBarVisible(verticalBar_)) page -= verticalBar_->DeclaredWidth();
    pos.cx -= page;
    SetScrollPos(pos);
}

void CContainerUI::PageRight() {
    SIZE pos = ScrollPos();
    RECT r = ItemRect();
    int page = r.right - r.left - Inset().left - Inset().right;
    if (IsBarVisible(verticalBar_)) page -= verticalBar_->DeclaredWidth();
    pos.cx += page;
    SetScrollPos(pos);
}

void CContainerUI::HomeLeft() {
    SetScrollPos({0, ScrollPos().cy});
}

void CContainerUI::EndRight() {
    SetScrollPos({ScrollRange().cx, ScrollPos().cy});
}

void CContainerUI::UpdateScrollBars(RECT area, int neededWidth, int neededHeight) {
    if (IsBarVisible(horizontalBar_)) {
        horizontalBar_->SetScrollRange(neededWidth - (area.right - area.left));
        horizontalBar_->Place(
            {area.left, area.bottom, area.right, area.bottom + horizontalBar_->DeclaredHeight()}, false);
    }
    if (verticalBar_ == nullptr) return;
    const int available = area.bottom - area.top;
    const bool wasShown = verticalBar_->IsVisible();
    const bool show = neededHeight > available;
    if (show) {
        verticalBar_->SetScrollRange(neededHeight - available);
        verticalBar_->Place({area.right, area.top, area.right + verticalBar_->DeclaredWidth(), area.bottom},
                            false);
    } else {
        verticalBar_->SetScrollRange(0);
    }
    if (show == wasShown || inScrollUpdate_) return;
    verticalBar_->SetVisible(show);
    // The children's area changed with the bar: place them again.
    inScrollUpdate_ = true;
    if (IsFloating()) {
        Place(RawPosition(), true);
    } else {
        Place(ItemRect(), true);
    }
    inScrollUpdate_ = false;
}

}  // namespace SkinUI
