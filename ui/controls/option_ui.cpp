// COptionUI: selection, groups, and the selected images and text colour.
#include "ui/controls/attribute_values.h"
#include "ui/controls/button_ui.h"
#include "ui/core/manager_ui.h"
#include "ui/core/painter.h"

namespace SkinUI {

COptionUI::COptionUI() = default;

COptionUI::~COptionUI() {
    if (!group_.IsEmpty() && IsBound()) Manager()->LeaveOptionGroup(group_.Data(), this);
}

bool COptionUI::Invoke() {
    if (!CButtonUI::Invoke()) return false;
    Select(group_.IsEmpty() ? !selected_ : true);
    return true;
}

void COptionUI::AttachToManager(CManagerUI* manager, CControlUI* parent, bool init) {
    const bool wasBound = IsBound() && manager == Manager();
    if (IsBound() && manager != Manager() && !group_.IsEmpty())
        Manager()->LeaveOptionGroup(group_.Data(), this);
    CButtonUI::AttachToManager(manager, parent, init);
    bound_ = manager != nullptr && (init || wasBound);
    if (init && !group_.IsEmpty() && manager != nullptr) manager->JoinOptionGroup(group_.Data(), this);
}

void COptionUI::SetEnabled(bool enabled) {
    CButtonUI::SetEnabled(enabled);
    if (!IsEnabled()) MutableState() = selected_ ? kSelected : 0;
}

void COptionUI::Select(bool selected) {
    if (selected_ == selected) return;
    selected_ = selected;
    if (selected) {
        MutableState() |= kSelected;
    } else {
        MutableState() &= ~kSelected;
    }
    if (IsBound()) {
        CManagerUI* manager = Manager();
        if (group_.IsEmpty()) {
            manager->RaiseNotify(this, UI_TEXT("selectchanged"));
        } else if (selected) {
            PtrArray* members = manager->OptionGroupMembers(group_.Data());
            for (int i = 0; members != nullptr && i < members->GetSize(); ++i) {
                auto* other = static_cast<COptionUI*>(members->GetAt(i));
                if (other != this) other->Select(false);
            }
            manager->RaiseNotify(this, UI_TEXT("selectchanged"));
        }
    }
    Repaint();
}

void COptionUI::SetGroup(const UiChar* name) {
    if (group_ == name) return;
    if (!group_.IsEmpty() && IsBound()) Manager()->LeaveOptionGroup(group_.Data(), this);
    group_ = name;
    if (!group_.IsEmpty() && IsBound()) Manager()->JoinOptionGroup(group_.Data(), this);
}

void COptionUI::SetAttribute(const UiChar* name, const UiChar* value) {
    if (name == nullptr || value == nullptr) return;
    if (UiStrEq(name, UI_TEXT("group"))) {
        SetGroup(value);
    } else if (UiStrEq(name, UI_TEXT("selected"))) {
        Select(ParseTrue(value));
    } else if (UiStrEq(name, UI_TEXT("selectedimage"))) {
        SetSelectedImage(value);
    } else if (UiStrEq(name, UI_TEXT("selectedhotimage"))) {
        SetSelectedHotImage(value);
    } else if (UiStrEq(name, UI_TEXT("foreimage"))) {
        SetOptionForeImage(value);
    } else if (UiStrEq(name, UI_TEXT("selectedbkcolor"))) {
        selectedBackColor_ = ParseHexColor(value);
    } else if (UiStrEq(name, UI_TEXT("selectedtextcolor"))) {
        selectedTextColor_ = ParseHexColor(value);
    } else {
        CButtonUI::SetAttribute(name, value);
    }
}

void COptionUI::DrawStateImages(HDC hdc) {
    bool drawn = false;
    if (selected_) {
        if ((State() & kHot) != 0) drawn = DrawSpec(hdc, selectedHotImage_);
        if (!drawn) drawn = DrawSpec(hdc, selectedImage_);
        if (!drawn && selectedBackColor_ != 0) {
            CPainter::FillColor(hdc, PaintRect(), AdjustedColor(selectedBackColor_));
            drawn = true;
        }
    }
    if (!drawn) {
        // An option never shows its pushed image.
        const uint32_t saved = State();
        MutableState() &= ~kPushed;
        CButtonUI::DrawStateImages(hdc);
        MutableState() = (saved & kPushed) | (State() & ~kPushed);
    }
    DrawSpec(hdc, optionForeImage_);
}

void COptionUI::DrawTextContent(HDC hdc) {
    if (!selected_) {
        const uint32_t saved = State();
        MutableState() &= ~kPushed;
        CButtonUI::DrawTextContent(hdc);
        MutableState() = (saved & kPushed) | (State() & ~kPushed);
        return;
    }
    DrawStateText(hdc, [this]() -> uint32_t {
        const uint32_t textColor = selectedTextColor_ != 0 ? selectedTextColor_ : TextColor();
        return IsEnabled() ? textColor : DisabledTextColor();
    });
}

}  // namespace SkinUI
