// CProgressUI: a label that fills part of its rectangle with a fore image in
// proportion to a value between a minimum and a maximum, from the left or
// from the bottom. The range is repaired and the value clamped when the bar
// is painted, not when they are set.
#pragma once

#include "ui/controls/label_ui.h"

namespace SkinUI {

class CProgressUI : public CLabelUI {
public:
    CProgressUI();
    ~CProgressUI() override;

    const UiChar* ClassName() const override { return UI_TEXT("ProgressUI"); }
    void* InterfaceFor(const UiChar* name) override {
        if (UiStrEq(name, UI_TEXT("Progress"))) return this;
        return CLabelUI::InterfaceFor(name);
    }
    void SetAttribute(const UiChar* name, const UiChar* value) override;
    void DrawStateImages(HDC hdc) override;

    bool IsHorizontal() const { return horizontal_; }
    void SetHorizontal(bool horizontal);
    bool IsStretchFore() const { return stretchFore_; }
    void SetStretchFore(bool stretch);
    int MinValue() const { return minimum_; }
    void SetMinValue(int value);
    int MaxValue() const { return maximum_; }
    void SetMaxValue(int value);
    int Value() const { return value_; }
    void SetValue(int value);
    const UiString& ForeImage() const { return foreImage_.text; }
    void SetForeImage(const UiChar* text);
    // The fore image's destination (and, unstretched, source) as last painted.
    const ImageSpec& ForeImageSpec() const { return foreImage_; }

private:
    bool horizontal_ = true;
    bool stretchFore_ = true;
    int maximum_ = 100;
    int minimum_ = 0;
    int value_ = 0;
    ImageSpec foreImage_;
};

}  // namespace SkinUI
