// CProgressUI: attributes, and the fill drawn between the background image
// and the text.
#include "ui/controls/progress_ui.h"

#include "ui/controls/attribute_values.h"
#include "ui/controls/control_math.h"
#include "ui/core/painter.h"

namespace SkinUI {

CProgressUI::CProgressUI() {
    SetTextStyle(TextSingleLine | TextCenter);
    SetDeclaredHeight(12);
}

CProgressUI::~CProgressUI() = default;

void CProgressUI::SetHorizontal(bool horizontal) {
    if (horizontal_ == horizontal) return;
    horizontal_ = horizontal;
    Repaint();
}

void CProgressUI::SetStretchFore(bool stretch) {
    if (stretchFore_ == stretch) return;
    stretchFore_ = stretch;
    // The source an unstretched paint wrote must not stay: the image text is
    // parsed again at the next paint.
    SetImageSpecText(&foreImage_, UiString(foreImage_.text).Data());
    Repaint();
}

void CProgressUI::SetMinValue(int value) {
    minimum_ = value;
    Repaint();
}

void CProgressUI::SetMaxValue(int value) {
    maximum_ = value;
    Repaint();
}

void CProgressUI::SetValue(int value) {
    value_ = value;
    Repaint();
}

void CProgressUI::SetForeImage(const UiChar* text) {
    if (foreImage_.text == text && foreImage_.image != nullptr) return;
    SetImageSpecText(&foreImage_, text);
    Repaint();
}

void CProgressUI::SetAttribute(const UiChar* name, const UiChar* value) {
    if (name == nullptr || value == nullptr) return;
    if (UiStrEq(name, UI_TEXT("foreimage"))) {
        SetForeImage(value);
    } else if (UiStrEq(name, UI_TEXT("hor"))) {
        SetHorizontal(ParseTrue(value));
    } else if (UiStrEq(name, UI_TEXT("min"))) {
        SetMinValue(ParseDecimal(value));
    } else if (UiStrEq(name, UI_TEXT("max"))) {
        SetMaxValue(ParseDecimal(value));
    } else if (UiStrEq(name, UI_TEXT("value"))) {
        SetValue(ParseDecimal(value));
    } else if (UiStrEq(name, UI_TEXT("isstretchfore"))) {
        SetStretchFore(ParseTrue(value));
    } else {
        CLabelUI::SetAttribute(name, value);
    }
}

void CProgressUI::DrawStateImages(HDC hdc) {
    ProgressRange range = RepairProgressRange({minimum_, maximum_, value_});
    minimum_ = range.minimum;
    maximum_ = range.maximum;
    value_ = range.value;
    const RECT item = ItemRect();
    const LayoutRect fill = ProgressFill(range, horizontal_, item.right - item.left, item.bottom - item.top);
    // Resolve first: the first resolution parses the image text, which would
    // overwrite the destination set below.
    if (!CPainter::DrawImageSpec(nullptr, Manager(), item, PaintRect(), foreImage_)) return;
    foreImage_.dest = MakeUiRect(fill.left, fill.top, fill.right, fill.bottom);
    if (!stretchFore_) foreImage_.source = MakeUiRect(fill.left, fill.top, fill.right, fill.bottom);
    // An empty fill shows nothing (an all-zero destination would mean the
    // whole item to the painter).
    if (fill.right <= fill.left || fill.bottom <= fill.top) return;
    CPainter::DrawImageSpec(hdc, Manager(), item, PaintRect(), foreImage_);
}

}  // namespace SkinUI
