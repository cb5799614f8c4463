// CTextUI: multi-line markup text with up to eight tracked links.
#include "ui/controls/control_math.h"
#include "ui/controls/label_ui.h"
#include "ui/core/manager_ui.h"
#include "ui/core/painter.h"

namespace SkinUI {

CTextUI::CTextUI() {
    SetTextPadding({2, 0, 2, 0});
    SetTextStyle(TextWordBreak);
}

CTextUI::~CTextUI() = default;

uint32_t CTextUI::InputFlags() {
    return IsEnabled() && linkCount_ > 0 ? InputSetCursor : 0;
}

const UiChar* CTextUI::LinkText(int index) const {
    if (index < 0 || index >= linkCount_) return nullptr;
    return linkTexts_[index].Data();
}

int CTextUI::LinkAt(POINT point) const {
    for (int i = 0; i < linkCount_; ++i) {
        if (PtInRect(&linkRects_[i], point)) return i;
    }
    return -1;
}

void CTextUI::HandleEvent(UiEvent& event) {
    if (PassOnRefusedMouse(event)) return;
    const int link = LinkAt(event.mousePoint);
    switch (event.type) {
        case EventSetCursor:
            if (link >= 0) {
                SetCursor(LoadCursorW(nullptr, IDC_HAND));
                return;
            }
            break;
        case EventButtonDown:
        case EventDoubleClick:
            if (IsEnabled() && link >= 0) {
                Repaint();
                return;
            }
            break;
        case EventButtonUp:
            if (IsEnabled() && link >= 0) {
                if (Manager() != nullptr) Manager()->RaiseNotify(this, UI_TEXT("link"), WPARAM(link), 0);
                return;
            }
            break;
        case EventContextMenu:
            return;
        case EventMouseMove:
            if (IsEnabled() && linkCount_ > 0 && link != hoveredLink_) {
                hoveredLink_ = link;
                Repaint();
            }
            break;
        case EventMouseLeave:
            if (IsEnabled() && linkCount_ > 0 && hoveredLink_ != -1) {
                hoveredLink_ = -1;
                Repaint();
            }
            break;
        default:
            break;
    }
    CLabelUI::HandleEvent(event);
}

SIZE CTextUI::DesiredSize(SIZE available) {
    const RECT padding = TextPadding();
    const int width = DeclaredWidth() > available.cx ? DeclaredWidth() : available.cx;
    RECT measure = {padding.left, 0, width - padding.right, 9999};
    CManagerUI* manager = Manager();
    HDC dc = manager != nullptr ? manager->PaintDC() : nullptr;
    const UiString text = GetText();
    if (dc != nullptr && !text.IsEmpty()) {
        const uint32_t style = TextStyle() | TextCalcRect;
        if (ShowsMarkup()) {
            int noLinks = 0;
            CPainter::DrawMarkupText(dc, manager, measure, text.Data(), 0, nullptr, nullptr, noLinks, style);
        } else {
            HGDIOBJ old = SelectObject(dc, manager->FontHandle(Font()));
            DrawTextW(dc, text.Data(), text.Length(), &measure, style | DT_NOPREFIX);
            SelectObject(dc, old);
        }
    } else {
        measure.right = measure.left;
        measure.bottom = measure.top;
    }
    SIZE size = {measure.right - measure.left + padding.left + padding.right,
                 measure.bottom - measure.top + padding.top + padding.bottom};
    if (DeclaredHeight() != 0) size.cy = DeclaredHeight();
    return size;
}

void CTextUI::DrawTextContent(HDC hdc) {
    const UiString text = GetText();
    if (text.IsEmpty()) {
        linkCount_ = 0;
        return;
    }
    StoreDefaultColors();
    RECT rect = PaddedRect();
    SetTextRect(rect);
    const uint32_t color = IsEnabled() ? TextColor() : DisabledTextColor();
    if (ShowsMarkup()) {
        linkCount_ = kMaxLinks;
        CPainter::DrawMarkupText(hdc, Manager(), rect, text.Data(), color, linkRects_, linkTexts_, linkCount_,
                                 TextStyle());
    } else {
        linkCount_ = 0;
        CPainter::DrawPlainText(hdc, Manager(), rect, text.Data(), color, Font(), TextStyle());
    }
}

}  // namespace SkinUI
