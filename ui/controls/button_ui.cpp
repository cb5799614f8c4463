// CButtonUI: attributes, activation and the state machine of its events.
#include "ui/controls/button_ui.h"

#include "ui/controls/attribute_values.h"
#include "ui/controls/control_math.h"
#include "ui/core/manager_ui.h"
#include "ui/core/painter.h"

namespace SkinUI {

CButtonUI::CButtonUI() {
    SetTextStyle(TextSingleLine | TextVCenter | TextCenter);
}

CButtonUI::~CButtonUI() = default;

uint32_t CButtonUI::InputFlags() {
    return (AcceptsKeyboard() ? InputTabStop : 0) | (IsEnabled() ? InputSetCursor : 0);
}

bool CButtonUI::Invoke() {
    if (!CLabelUI::Invoke()) return false;
    if (Manager() != nullptr) Manager()->RaiseNotify(this, UI_TEXT("click"));
    return true;
}

void CButtonUI::SetEnabled(bool enabled) {
    CLabelUI::SetEnabled(enabled);
    if (!IsEnabled()) state_ = 0;
}

void CButtonUI::HandleEvent(UiEvent& event) {
    if (PassOnRefusedMouse(event)) return;
    const RECT item = ItemRect();
    const bool in = PtInRect(&item, event.mousePoint) != FALSE;
    switch (event.type) {
        case EventSetFocus:
        case EventKillFocus:
            Repaint();
            break;
        case EventKeyDown:
            if (AcceptsKeyboard() && (event.keyChar == VK_SPACE || event.keyChar == VK_RETURN)) {
                Invoke();
                return;
            }
            break;
        case EventButtonDown:
        case EventDoubleClick:
            if (in && IsEnabled()) {
                state_ |= kPushed | kCaptured;
                Repaint();
            }
            return;
        case EventMouseMove:
            if ((state_ & kCaptured) != 0) {
                if (in) {
                    state_ |= kPushed;
                } else {
                    state_ &= ~kPushed;
                }
                Repaint();
            }
            return;
        case EventButtonUp:
            if ((state_ & kCaptured) != 0) {
                state_ &= ~(kPushed | kCaptured);
                Repaint();
                if (in) Invoke();
            }
            return;
        case EventContextMenu:
            if (WantsContextMenu() && Manager() != nullptr) {
                Manager()->RaiseNotify(this, UI_TEXT("menu"), event.wParam, event.lParam);
            }
            return;
        case EventMouseEnter:
            if (IsEnabled() && hotAllowed_) {
                state_ |= kHot;
                Repaint();
            }
            break;
        case EventMouseLeave:
            if (IsEnabled() && hotAllowed_) {
                state_ &= ~kHot;
                Repaint();
            }
            break;
        case EventSetCursor:
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return;
        default:
            break;
    }
    CLabelUI::HandleEvent(event);
}

void CButtonUI::SetAttribute(const UiChar* name, const UiChar* value) {
    if (name == nullptr || value == nullptr) return;
    if (UiStrEq(name, UI_TEXT("normalimage"))) {
        SetNormalImage(value);
    } else if (UiStrEq(name, UI_TEXT("hotimage"))) {
        SetHotImage(value);
    } else if (UiStrEq(name, UI_TEXT("pushedimage"))) {
        SetPushedImage(value);
    } else if (UiStrEq(name, UI_TEXT("focusedimage"))) {
        SetFocusedImage(value);
    } else if (UiStrEq(name, UI_TEXT("disabledimage"))) {
        SetDisabledImage(value);
    } else if (UiStrEq(name, UI_TEXT("foreimage"))) {
        SetForeImage(value);
    } else if (UiStrEq(name, UI_TEXT("hotforeimage"))) {
        SetHotForeImage(value);
    } else if (UiStrEq(name, UI_TEXT("hot_disable"))) {
        hotAllowed_ = !ParseTrue(value);
    } else if (UiStrEq(name, UI_TEXT("hotbkcolor"))) {
        hotBackColor_ = ParseHexColor(value);
    } else if (UiStrEq(name, UI_TEXT("hottextcolor"))) {
        hotTextColor_ = ParseHexColor(value);
    } else if (UiStrEq(name, UI_TEXT("pushedtextcolor"))) {
        pushedTextColor_ = ParseHexColor(value);
    } else if (UiStrEq(name, UI_TEXT("focusedtextcolor"))) {
        focusedTextColor_ = ParseHexColor(value);
    } else if (UiStrEq(name, UI_TEXT("link_url"))) {
        linkAddress_ = value;
    } else {
        CLabelUI::SetAttribute(name, value);
    }
}

SIZE CButtonUI::DesiredSize(SIZE available) {
    if (DeclaredHeight() > 0) return CControlUI::DesiredSize(available);
    LONG fontHeight = 0;
    if (Manager() != nullptr) {
        const FontEntry* entry = Manager()->FontInfo(Font());
        if (entry != nullptr) fontHeight = entry->metrics.tmHeight;
    }
    return {DeclaredWidth(), fontHeight + 8};
}

void CButtonUI::SetStateImage(ImageSpec* spec, const UiChar* text) {
    if (spec->text == text && spec->image != nullptr) return;
    SetImageSpecText(spec, text);
    Repaint();
}

bool CButtonUI::DrawSpec(HDC hdc, ImageSpec& spec) {
    if (spec.text.IsEmpty()) return false;
    return CPainter::DrawImageSpec(hdc, Manager(), ItemRect(), PaintRect(), spec);
}

void CButtonUI::RefreshPaintState() {
    if (HasFocus()) {
        state_ |= kFocused;
    } else {
        state_ &= ~kFocused;
    }
    if (!IsEnabled()) {
        state_ |= kDisabled;
    } else {
        state_ &= ~kDisabled;
    }
}

}  // namespace SkinUI
