// CControlUI's attribute table and the setters of its colours, borders and
// background image.
#include "ui/controls/attribute_values.h"
#include "ui/controls/control_ui.h"
#include "ui/core/manager_ui.h"
#include "ui/core/painter.h"
#include "ui/skin/image_entry.h"

namespace SkinUI {

namespace {

bool HasComma(const UiChar* text) {
    for (const UiChar* p = text; p != nullptr && *p != 0; ++p) {
        if (*p == ',') return true;
    }
    return false;
}

RECT ParseRect(const UiChar* value) {
    int32_t n[4];
    ParseNumberList(value, n, 4);
    return {n[0], n[1], n[2], n[3]};
}

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

void CControlUI::SetAttribute(const UiChar* name, const UiChar* value) {
    if (name == nullptr || value == nullptr) return;
    if (Is(name, "pos")) {
        RECT r = ParseRect(value);
        rawPos_ = r;
        SetFixedOffset(r.left, r.top);
        SetDeclaredWidth(r.right - r.left);
        SetDeclaredHeight(r.bottom - r.top);
    } else if (Is(name, "padding")) {
        SetOuterPadding(ParseRect(value));
    } else if (Is(name, "bkcolor") || Is(name, "bkcolor1")) {
        SetBackColor(ParseHexColor(value, true));
    } else if (Is(name, "bkcolor2")) {
        SetBackColor2(ParseHexColor(value, true));
    } else if (Is(name, "bkcolor3")) {
        SetBackColor3(ParseHexColor(value, true));
    } else if (Is(name, "bordercolor")) {
        SetBorderColor(ParseHexColor(value));
    } else if (Is(name, "focusbordercolor")) {
        SetFocusBorderColor(ParseHexColor(value));
    } else if (Is(name, "colorhsl")) {
        SetColorHsl(ParseTrue(value));
    } else if (Is(name, "bordersize")) {
        if (HasComma(value)) {
            SetSideBorderSizes(ParseRect(value));
        } else {
            SetBorderSize(ParseDecimal(value));
            SetSideBorderSizes({0, 0, 0, 0});
        }
    } else if (Is(name, "leftbordersize")) {
        SetLeftBorderSize(ParseDecimal(value));
    } else if (Is(name, "topbordersize")) {
        SetTopBorderSize(ParseDecimal(value));
    } else if (Is(name, "rightbordersize")) {
        SetRightBorderSize(ParseDecimal(value));
    } else if (Is(name, "bottombordersize")) {
        SetBottomBorderSize(ParseDecimal(value));
    } else if (Is(name, "borderstyle")) {
        SetBorderStyle(ParseDecimal(value));
    } else if (Is(name, "borderround")) {
        int32_t n[2];
        ParseNumberList(value, n, 2);
        SetBorderRound({n[0], n[1]});
    } else if (Is(name, "bkimage")) {
        SetBackImage(value);
    } else if (Is(name, "width")) {
        SetDeclaredWidth(ParseDecimal(value));
    } else if (Is(name, "height")) {
        SetDeclaredHeight(ParseDecimal(value));
    } else if (Is(name, "minwidth")) {
        SetMinWidth(ParseDecimal(value));
    } else if (Is(name, "minheight")) {
        SetMinHeight(ParseDecimal(value));
    } else if (Is(name, "maxwidth")) {
        SetMaxWidth(ParseDecimal(value));
    } else if (Is(name, "maxheight")) {
        SetMaxHeight(ParseDecimal(value));
    } else if (Is(name, "name")) {
        SetName(value);
    } else if (Is(name, "text")) {
        SetText(value);
    } else if (Is(name, "tooltip")) {
        SetToolTip(value);
    } else if (Is(name, "userdata")) {
        SetUserData(value);
    } else if (Is(name, "enabled")) {
        SetEnabled(ParseTrue(value));
    } else if (Is(name, "mouse")) {
        SetAcceptsMouse(ParseTrue(value));
    } else if (Is(name, "keyboard")) {
        SetAcceptsKeyboard(ParseTrue(value));
    } else if (Is(name, "visible")) {
        SetVisible(ParseTrue(value));
    } else if (Is(name, "float")) {
        if (HasComma(value)) {
            double shares[4];
            ParseFractionList(value, shares);
            SetFloatShares(shares[0], shares[1], shares[2], shares[3]);
            SetFloating(true);
        } else {
            SetFloating(ParseTrue(value));
        }
    } else if (Is(name, "shortcut")) {
        SetShortcut(value[0]);
    } else if (Is(name, "menu")) {
        SetWantsContextMenu(ParseTrue(value));
    } else if (Is(name, "virtualwnd")) {
        SetVirtualWindowName(value);
        if (manager_ != nullptr) manager_->SetUsesVirtualWindows(true);
    } else if (Is(name, "id")) {
        textId_ = value;
    } else if (Is(name, "id_num")) {
        SetNumericId(ParseDecimal(value));
    }
}

void CControlUI::SetBackColor(uint32_t color) {
    if (backColor_[0] == color) return;
    backColor_[0] = color;
    Repaint();
}

void CControlUI::SetBackColor2(uint32_t color) {
    if (backColor_[1] == color) return;
    backColor_[1] = color;
    Repaint();
}

void CControlUI::SetBackColor3(uint32_t color) {
    if (backColor_[2] == color) return;
    backColor_[2] = color;
    Repaint();
}

void CControlUI::SetBorderColor(uint32_t color) {
    if (borderColor_ == color) return;
    borderColor_ = color;
    Repaint();
}

void CControlUI::SetFocusBorderColor(uint32_t color) {
    if (focusBorderColor_ == color) return;
    focusBorderColor_ = color;
    Repaint();
}

void CControlUI::SetColorHsl(bool on) {
    if (colorHsl_ == on) return;
    colorHsl_ = on;
    Repaint();
}

void CControlUI::SetBorderSize(int size) {
    if (borderSize_ == size) return;
    borderSize_ = size;
    Repaint();
}

void CControlUI::SetSideBorderSizes(RECT sizes) {
    sideBorders_ = sizes;
    Repaint();
}

void CControlUI::SetLeftBorderSize(int size) {
    sideBorders_.left = size;
    Repaint();
}

void CControlUI::SetTopBorderSize(int size) {
    sideBorders_.top = size;
    Repaint();
}

void CControlUI::SetRightBorderSize(int size) {
    sideBorders_.right = size;
    Repaint();
}

void CControlUI::SetBottomBorderSize(int size) {
    sideBorders_.bottom = size;
    Repaint();
}

void CControlUI::SetBorderStyle(int style) {
    borderStyle_ = style;
    Repaint();
}

void CControlUI::SetBorderRound(SIZE round) {
    borderRound_ = round;
    Repaint();
}

void CControlUI::SetBackImage(const UiChar* text) {
    if (backImage_.text == text && backImage_.image != nullptr) return;
    SetImageSpecText(&backImage_, text);
    // Resolving without a DC parses the text and loads the image, so a
    // floating control can take the image's size.
    CPainter::DrawImageSpec(nullptr, manager_, itemRect_, paintRect_, backImage_);
    if (floating_ && declared_.cx == 0 && declared_.cy == 0 && backImage_.image != nullptr) {
        declared_ = {backImage_.image->width, backImage_.image->height};
    }
    Repaint();
}

}  // namespace SkinUI
