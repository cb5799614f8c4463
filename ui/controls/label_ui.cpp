// CLabelUI: fields, text accessors, attributes and size.
#include "ui/controls/label_ui.h"

#include <new>

#include "ui/controls/attribute_values.h"
#include "ui/controls/control_math.h"
#include "ui/core/manager_ui.h"

namespace SkinUI {

namespace {

bool Is(const UiChar* name, const UiChar* literal) {
    return UiStrEq(name, literal);
}

RECT ParseRect(const UiChar* value) {
    int32_t n[4];
    ParseNumberList(value, n, 4);
    return {n[0], n[1], n[2], n[3]};
}

}  // namespace

CLabelUI::CLabelUI() = default;
CLabelUI::~CLabelUI() = default;

UiString CLabelUI::GetText() const {
    try {
        return effectsOn_ ? effectText_ : CControlUI::GetText();
    } catch (const std::exception&) {
        throw LabelTextError("CLabelUI::GetText");
    }
}

void CLabelUI::SetText(const UiChar* text) {
    try {
        if (effectsOn_) {
            effectText_ = text;
        } else {
            CControlUI::SetText(text);
        }
    } catch (const std::exception&) {
        throw LabelTextError("CLabelUI::SetText");
    }
}

void CLabelUI::SetFont(int index) {
    font_ = index;
    Repaint();
}

void CLabelUI::SetTextColor(uint32_t color) {
    textColor_ = color;
    Repaint();
}

void CLabelUI::SetDisabledTextColor(uint32_t color) {
    disabledTextColor_ = color;
    Repaint();
}

void CLabelUI::SetTextPadding(RECT padding) {
    textPadding_ = padding;
    Repaint();
}

void CLabelUI::SetShowMarkup(bool show) {
    if (showMarkup_ == show) return;
    showMarkup_ = show;
    Repaint();
}

void CLabelUI::SetTextStyle(uint32_t style) {
    textStyle_ = style;
    Repaint();
}

void CLabelUI::SetAttribute(const UiChar* name, const UiChar* value) {
    if (name == nullptr || value == nullptr) return;
    if (Is(name, UI_TEXT("align"))) {
        textStyle_ = ApplyAlignValue(textStyle_, value);
    } else if (Is(name, UI_TEXT("valign"))) {
        textStyle_ = ApplyVAlignValue(textStyle_, value);
    } else if (Is(name, UI_TEXT("endellipsis"))) {
        if (ParseTrue(value)) {
            textStyle_ |= TextEndEllipsis;
        } else {
            textStyle_ &= ~TextEndEllipsis;
        }
    } else if (Is(name, UI_TEXT("font"))) {
        SetFont(ParseDecimal(value));
    } else if (Is(name, UI_TEXT("textcolor"))) {
        SetTextColor(ParseHexColor(value));
    } else if (Is(name, UI_TEXT("disabledtextcolor"))) {
        SetDisabledTextColor(ParseHexColor(value));
    } else if (Is(name, UI_TEXT("textpadding"))) {
        SetTextPadding(ParseRect(value));
    } else if (Is(name, UI_TEXT("showhtml"))) {
        SetShowMarkup(ParseTrue(value));
    } else if (Is(name, UI_TEXT("enabledeffect"))) {
        effectsOn_ = ParseTrue(value);
    } else if (Is(name, UI_TEXT("rhaa"))) {
        SetRenderingHint(ParseDecimal(value));
    } else if (Is(name, UI_TEXT("transshadow"))) {
        shadowAlpha1_ = ParseDecimal(value);
    } else if (Is(name, UI_TEXT("transtext"))) {
        textAlpha1_ = ParseDecimal(value);
    } else if (Is(name, UI_TEXT("transshadow1"))) {
        shadowAlpha2_ = ParseDecimal(value);
    } else if (Is(name, UI_TEXT("transtext1"))) {
        textAlpha2_ = ParseDecimal(value);
    } else if (Is(name, UI_TEXT("gradientangle"))) {
        gradientStartX_ = ParseDecimal(value);
    } else if (Is(name, UI_TEXT("enabledstroke"))) {
        strokeOn_ = ParseTrue(value);
    } else if (Is(name, UI_TEXT("enabledshadow"))) {
        shadowOn_ = ParseTrue(value);
    } else if (Is(name, UI_TEXT("transstroke"))) {
        strokeAlpha_ = ParseDecimal(value);
    } else if (Is(name, UI_TEXT("gradientlength"))) {
        gradientLength_ = ParseDecimal(value);
    } else if (Is(name, UI_TEXT("shadowoffset"))) {
        int32_t n[2];
        ParseNumberList(value, n, 2);
        const RECT item = ItemRect();
        ShadowOffsetFromPolar(n[0], n[1], item.left, item.top, &shadowOffset_[0], &shadowOffset_[1]);
    } else if (Is(name, UI_TEXT("textcolor1"))) {
        textColor2_ = ParseHexColor(value);
    } else if (Is(name, UI_TEXT("textshadowcolora"))) {
        shadowColor1_ = ParseHexColor(value);
    } else if (Is(name, UI_TEXT("textshadowcolorb"))) {
        shadowColor2_ = ParseHexColor(value);
    } else if (Is(name, UI_TEXT("strokecolor"))) {
        strokeColor_ = ParseHexColor(value);
    } else if (Is(name, UI_TEXT("drag"))) {
        drag_ = ParseTrue(value);
    } else {
        CControlUI::SetAttribute(name, value);
    }
}

SIZE CLabelUI::DesiredSize(SIZE available) {
    if (DeclaredHeight() > 0) return {DeclaredWidth(), DeclaredHeight()};
    LONG fontHeight = 0;
    if (Manager() != nullptr) {
        const FontEntry* entry = Manager()->FontInfo(font_);
        if (entry != nullptr) fontHeight = entry->metrics.tmHeight;
    }
    return {DeclaredWidth(), fontHeight + 4};
}

void CLabelUI::StoreDefaultColors() {
    if (Manager() == nullptr) return;
    if (textColor_ == 0) textColor_ = Manager()->DefaultTextColor();
    if (disabledTextColor_ == 0) disabledTextColor_ = Manager()->DefaultDisabledColor();
}

RECT CLabelUI::PaddedRect() const {
    RECT r = ItemRect();
    r.left += textPadding_.left;
    r.top += textPadding_.top;
    r.right -= textPadding_.right;
    r.bottom -= textPadding_.bottom;
    return r;
}

}  // namespace SkinUI
