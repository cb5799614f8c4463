// CButtonUI: a label that tracks hot, pushed and captured states, draws an
// image and a text colour per state and sends "click" when activated.
// COptionUI: a button with a selected state, toggling alone or acting as one
// of a named group of radio buttons; sends "selectchanged".
// CCheckBoxUI: an option under another class name.
#pragma once

#include "ui/controls/label_ui.h"

namespace SkinUI {

class CButtonUI : public CLabelUI {
public:
    // State bits.
    static constexpr uint32_t kFocused = 0x1;
    static constexpr uint32_t kSelected = 0x2;
    static constexpr uint32_t kDisabled = 0x4;
    static constexpr uint32_t kHot = 0x8;
    static constexpr uint32_t kPushed = 0x10;
    static constexpr uint32_t kCaptured = 0x40;

    CButtonUI();
    ~CButtonUI() override;

    const UiChar* ClassName() const override { return UI_TEXT("ButtonUI"); }
    void* InterfaceFor(const UiChar* name) override {
        if (UiStrEq(name, UI_TEXT("Button"))) return this;
        return CLabelUI::InterfaceFor(name);
    }
    // Tab stop when it accepts the keyboard; set-cursor events when enabled.
    uint32_t InputFlags() override;
    // Sends "click" (visible and enabled only).
    bool Invoke() override;
    // Disabling clears every state bit.
    void SetEnabled(bool enabled = true) override;
    void HandleEvent(UiEvent& event) override;
    void SetAttribute(const UiChar* name, const UiChar* value) override;
    // The declared height, else the font's height + 8.
    SIZE DesiredSize(SIZE available) override;
    void DrawStateImages(HDC hdc) override;
    void DrawTextContent(HDC hdc) override;

    uint32_t State() const { return state_; }

    // Image setters: store the attribute text; the image loads at the next
    // paint.
    const UiString& NormalImage() const { return normalImage_.text; }
    void SetNormalImage(const UiChar* text) { SetStateImage(&normalImage_, text); }
    const UiString& HotImage() const { return hotImage_.text; }
    void SetHotImage(const UiChar* text) { SetStateImage(&hotImage_, text); }
    const UiString& HotForeImage() const { return hotForeImage_.text; }
    void SetHotForeImage(const UiChar* text) { SetStateImage(&hotForeImage_, text); }
    const UiString& PushedImage() const { return pushedImage_.text; }
    void SetPushedImage(const UiChar* text) { SetStateImage(&pushedImage_, text); }
    const UiString& FocusedImage() const { return focusedImage_.text; }
    void SetFocusedImage(const UiChar* text) { SetStateImage(&focusedImage_, text); }
    const UiString& DisabledImage() const { return disabledImage_.text; }
    void SetDisabledImage(const UiChar* text) { SetStateImage(&disabledImage_, text); }
    UiString ForeImage() { return ForeImageSpec().text; }
    void SetForeImage(const UiChar* text) { SetStateImage(&ForeImageSpec(), text); }

    // Colour setters only store.
    uint32_t HotBackColor() const { return hotBackColor_; }
    void SetHotBackColor(uint32_t color) { hotBackColor_ = color; }
    uint32_t HotTextColor() const { return hotTextColor_; }
    void SetHotTextColor(uint32_t color) { hotTextColor_ = color; }
    uint32_t PushedTextColor() const { return pushedTextColor_; }
    void SetPushedTextColor(uint32_t color) { pushedTextColor_ = color; }
    uint32_t FocusedTextColor() const { return focusedTextColor_; }
    void SetFocusedTextColor(uint32_t color) { focusedTextColor_ = color; }
    bool HotAllowed() const { return hotAllowed_; }
    void SetHotAllowed(bool allowed) { hotAllowed_ = allowed; }
    const UiString& LinkAddress() const { return linkAddress_; }
    void SetLinkAddress(const UiChar* address) { linkAddress_ = address; }

protected:
    void SetStateImage(ImageSpec* spec, const UiChar* text);
    // Draws spec over the item and paint rectangles; false when nothing was
    // drawn (no text, or no image found).
    bool DrawSpec(HDC hdc, ImageSpec& spec);
    // Focused from HasFocus, disabled from IsEnabled.
    void RefreshPaintState();
    uint32_t& MutableState() { return state_; }
    // Draws the text, if any, in the padded rectangle, in the colour colorOf
    // picks once the state and the default colours are up to date.
    template <typename ColorOf>
    void DrawStateText(HDC hdc, ColorOf colorOf) {
        RefreshPaintState();
        StoreDefaultColors();
        const UiString text = GetText();
        if (text.IsEmpty()) return;
        RECT rect = PaddedRect();
        SetTextRect(rect);
        DrawLabelText(hdc, rect, text.Data(), colorOf(), TextStyle());
    }

private:
    bool hotAllowed_ = true;
    uint32_t state_ = 0;
    uint32_t hotBackColor_ = 0;
    uint32_t hotTextColor_ = 0;
    uint32_t pushedTextColor_ = 0;
    uint32_t focusedTextColor_ = 0;
    ImageSpec normalImage_;
    ImageSpec hotImage_;
    ImageSpec hotForeImage_;
    ImageSpec pushedImage_;
    ImageSpec focusedImage_;
    ImageSpec disabledImage_;
    UiString linkAddress_;
};

class COptionUI : public CButtonUI {
public:
    COptionUI();
    // Leaves its group.
    ~COptionUI() override;

    const UiChar* ClassName() const override { return UI_TEXT("OptionUI"); }
    void* InterfaceFor(const UiChar* name) override {
        if (UiStrEq(name, UI_TEXT("Option"))) return this;
        return CButtonUI::InterfaceFor(name);
    }
    // "click", then toggle (no group) or select (group).
    bool Invoke() override;
    // With init, joins its group.
    void AttachToManager(CManagerUI* manager, CControlUI* parent, bool init) override;
    // Disabling keeps only the selected bit.
    void SetEnabled(bool enabled = true) override;
    void SetAttribute(const UiChar* name, const UiChar* value) override;
    void DrawStateImages(HDC hdc) override;
    void DrawTextContent(HDC hdc) override;
    virtual void Select(bool selected);

    bool IsSelected() const { return selected_; }
    const UiString& Group() const { return group_; }
    // An empty name means no group.
    void SetGroup(const UiChar* name);

    uint32_t SelectedBackColor() const { return selectedBackColor_; }
    void SetSelectedBackColor(uint32_t color) { selectedBackColor_ = color; }
    uint32_t SelectedTextColor() const { return selectedTextColor_; }
    void SetSelectedTextColor(uint32_t color) { selectedTextColor_ = color; }
    const UiString& SelectedImage() const { return selectedImage_.text; }
    void SetSelectedImage(const UiChar* text) { SetStateImage(&selectedImage_, text); }
    const UiString& SelectedHotImage() const { return selectedHotImage_.text; }
    void SetSelectedHotImage(const UiChar* text) { SetStateImage(&selectedHotImage_, text); }
    const UiString& OptionForeImage() const { return optionForeImage_.text; }
    void SetOptionForeImage(const UiChar* text) { SetStateImage(&optionForeImage_, text); }

private:
    // Bound to a manager through its tree (with initialisation): only then do
    // groups and notifications apply. The skin builder attaches controls
    // without initialisation while it applies their attributes.
    bool IsBound() const { return bound_ && Manager() != nullptr; }

    bool selected_ = false;
    UiString group_;
    uint32_t selectedBackColor_ = 0;
    uint32_t selectedTextColor_ = 0;
    ImageSpec selectedImage_;
    ImageSpec selectedHotImage_;
    ImageSpec optionForeImage_;
    bool bound_ = false;
};

class CCheckBoxUI : public COptionUI {
public:
    const UiChar* ClassName() const override { return UI_TEXT("CheckBoxUI"); }
    void* InterfaceFor(const UiChar* name) override {
        if (UiStrEq(name, UI_TEXT("CheckBox"))) return this;
        return COptionUI::InterfaceFor(name);
    }
    void SetChecked(bool checked) { Select(checked); }
    bool IsChecked() const { return IsSelected(); }
};

}  // namespace SkinUI
