// CLabelUI's text layer: one line of plain or markup text, or the effect
// text through GDI+.
#include "ui/controls/control_math.h"
#include "ui/controls/label_ui.h"
#include "ui/core/painter.h"

namespace SkinUI {

void CLabelUI::DrawLabelText(HDC hdc, RECT rect, const UiChar* text, uint32_t color, uint32_t style) {
    if (showMarkup_) {
        int noLinks = 0;
        CPainter::DrawMarkupText(hdc, Manager(), rect, text, color, nullptr, nullptr, noLinks, style);
    } else {
        plainText_.Draw(hdc, Manager(), rect, text, color, font_, style);
    }
}

void CLabelUI::DrawTextContent(HDC hdc) {
    StoreDefaultColors();
    textRect_ = PaddedRect();
    if (effectsOn_) {
        DrawEffectText(hdc);
        return;
    }
    const UiString text = CControlUI::GetText();
    if (text.IsEmpty()) return;
    // A label draws one line whatever its alignment flags say.
    const uint32_t style = textStyle_ | TextSingleLine;
    const uint32_t color = IsEnabled() ? textColor_ : disabledTextColor_;
    DrawLabelText(hdc, textRect_, text.Data(), color, style);
}

}  // namespace SkinUI
