// CLabelUI: one text in the control's rectangle, in a font of the window's
// font list, with a colour, alignment flags and an inner padding; optionally
// drawn through GDI+ with a gradient fill, an outline and a shadow (text
// effects), and optionally moved and resized by the user ("drag").
// CTextUI: a label for multi-line markup text with clickable links.
#pragma once

#include <windows.h>

#include <cstdint>
#include <stdexcept>
#include <string>

#include "ui/controls/control_ui.h"
#include "ui/controls/text_bitmap_cache.h"

namespace SkinUI {

// Thrown by the label's text accessors when they cannot complete (the only
// exception of the framework); what() names the accessor.
class LabelTextError : public std::runtime_error {
public:
    explicit LabelTextError(const char* where) : std::runtime_error(where) {}
};

// GDI+ running for as long as the object lives (one start-up per label).
class GdiplusSession {
public:
    GdiplusSession();
    ~GdiplusSession();
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;
    bool IsRunning() const { return token_ != 0; }

private:
    ULONG_PTR token_ = 0;
};

class CLabelUI : public CControlUI {
public:
    CLabelUI();
    ~CLabelUI() override;

    const UiChar* ClassName() const override { return UI_TEXT("LabelUI"); }
    void* InterfaceFor(const UiChar* name) override {
        if (UiStrEq(name, UI_TEXT("Label"))) return this;
        return CControlUI::InterfaceFor(name);
    }
    // The effect text while effects are on, else the control's text.
    UiString GetText() const override;
    // With effects on only the effect text changes (no repaint).
    void SetText(const UiChar* text) override;
    void HandleEvent(UiEvent& event) override;
    void SetAttribute(const UiChar* name, const UiChar* value) override;
    // The declared height, else the font's height + 4.
    SIZE DesiredSize(SIZE available) override;
    void DrawTextContent(HDC hdc) override;

    int Font() const { return font_; }
    void SetFont(int index);
    uint32_t TextColor() const { return textColor_; }
    void SetTextColor(uint32_t color);
    uint32_t DisabledTextColor() const { return disabledTextColor_; }
    void SetDisabledTextColor(uint32_t color);
    RECT TextPadding() const { return textPadding_; }
    void SetTextPadding(RECT padding);
    bool ShowsMarkup() const { return showMarkup_; }
    void SetShowMarkup(bool show);
    uint32_t TextStyle() const { return textStyle_; }
    void SetTextStyle(uint32_t style);
    RECT TextRect() const { return textRect_; }

    // Text effects: the setters only store.
    bool EffectsOn() const { return effectsOn_; }
    void SetEffectsOn(bool on) { effectsOn_ = on; }
    bool StrokeOn() const { return strokeOn_; }
    void SetStrokeOn(bool on) { strokeOn_ = on; }
    bool ShadowOn() const { return shadowOn_; }
    void SetShadowOn(bool on) { shadowOn_ = on; }
    int ShadowAlpha1() const { return shadowAlpha1_; }
    void SetShadowAlpha1(int alpha) { shadowAlpha1_ = alpha; }
    int ShadowAlpha2() const { return shadowAlpha2_; }
    void SetShadowAlpha2(int alpha) { shadowAlpha2_ = alpha; }
    int TextAlpha1() const { return textAlpha1_; }
    void SetTextAlpha1(int alpha) { textAlpha1_ = alpha; }
    int TextAlpha2() const { return textAlpha2_; }
    void SetTextAlpha2(int alpha) { textAlpha2_ = alpha; }
    int StrokeAlpha() const { return strokeAlpha_; }
    void SetStrokeAlpha(int alpha) { strokeAlpha_ = alpha; }
    int GradientLength() const { return gradientLength_; }
    void SetGradientLength(int length) { gradientLength_ = length; }
    int GradientStartX() const { return gradientStartX_; }
    void SetGradientStartX(int x) { gradientStartX_ = x; }
    uint32_t TextColor2() const { return textColor2_; }
    void SetTextColor2(uint32_t color) { textColor2_ = color; }
    uint32_t ShadowColor1() const { return shadowColor1_; }
    void SetShadowColor1(uint32_t color) { shadowColor1_ = color; }
    uint32_t ShadowColor2() const { return shadowColor2_; }
    void SetShadowColor2(uint32_t color) { shadowColor2_ = color; }
    uint32_t StrokeColor() const { return strokeColor_; }
    void SetStrokeColor(uint32_t color) { strokeColor_ = color; }
    float ShadowOffsetX() const { return shadowOffset_[0]; }
    float ShadowOffsetY() const { return shadowOffset_[1]; }
    void SetShadowOffset(float x, float y) {
        shadowOffset_[0] = x;
        shadowOffset_[1] = y;
    }
    int RenderingHint() const { return renderingHint_; }
    // Values outside 0..5 become 0.
    void SetRenderingHint(int hint) { renderingHint_ = hint >= 0 && hint <= 5 ? hint : 0; }
    int EffectAlignment() const { return effectAlign_; }
    void SetEffectAlignment(int alignment) { effectAlign_ = alignment; }
    int EffectLineAlignment() const { return effectLineAlign_; }
    void SetEffectLineAlignment(int alignment) { effectLineAlign_ = alignment; }
    bool GdiplusRunning() const { return gdiplus_.IsRunning(); }

    bool IsDraggable() const { return drag_; }
    void SetDraggable(bool drag) { drag_ = drag; }
    bool IsDragging() const { return (dragState_ & kDragging) != 0; }
    uint32_t DragEdges() const { return dragEdges_; }

protected:
    // Text and disabled colours of 0 take the manager's defaults (stored).
    void StoreDefaultColors();
    // The item rectangle minus the text padding.
    RECT PaddedRect() const;
    // Plain or markup text, without links.
    void DrawLabelText(HDC hdc, RECT rect, const UiChar* text, uint32_t color, uint32_t style);
    void SetTextRect(const RECT& rect) { textRect_ = rect; }
    // A control that takes no mouse input hands mouse events to its parent
    // (at the root, to the label's own handling); true when it did so.
    bool PassOnRefusedMouse(UiEvent& event);

private:
    static constexpr uint32_t kDragging = 0x40;

    void DrawEffectText(HDC hdc);
    // True when the event was a drag step and is consumed.
    bool HandleDragEvent(UiEvent& event);

    uint32_t textColor_ = 0;
    uint32_t disabledTextColor_ = 0;
    int font_ = -1;
    uint32_t textStyle_ = 0x4;  // DT_VCENTER
    RECT textPadding_ = {0, 0, 0, 0};
    bool showMarkup_ = false;
    RECT textRect_ = {0, 0, 0, 0};
    int effectAlign_ = 0;      // StringAlignmentNear
    int effectLineAlign_ = 1;  // StringAlignmentCenter
    int shadowAlpha1_ = 60;
    int shadowAlpha2_ = 60;
    int textAlpha1_ = 168;
    int textAlpha2_ = 168;
    int strokeAlpha_ = 255;
    int gradientLength_ = 0;
    int gradientStartX_ = 0;
    bool effectsOn_ = false;
    bool strokeOn_ = false;
    bool shadowOn_ = false;
    uint32_t textColor2_ = 0xFFFFFFFFu;
    uint32_t shadowColor1_ = 0xFF000000u;
    uint32_t shadowColor2_ = 0xFFFFFFFFu;
    uint32_t strokeColor_ = 0;
    float shadowOffset_[2] = {0.0f, 0.0f};
    UiString effectText_;
    GdiplusSession gdiplus_;
    int renderingHint_ = 0;
    bool drag_ = false;
    uint32_t dragEdges_ = 0;
    uint32_t dragState_ = 0;
    POINT lastDragPoint_ = {0, 0};
    TextBitmapCache plainText_;
};

class CTextUI : public CLabelUI {
public:
    static constexpr int kMaxLinks = 8;

    CTextUI();
    ~CTextUI() override;

    const UiChar* ClassName() const override { return UI_TEXT("TextUI"); }
    void* InterfaceFor(const UiChar* name) override {
        if (UiStrEq(name, UI_TEXT("Text"))) return this;
        return CLabelUI::InterfaceFor(name);
    }
    uint32_t InputFlags() override;
    void HandleEvent(UiEvent& event) override;
    // The size the text needs at the available width.
    SIZE DesiredSize(SIZE available) override;
    void DrawTextContent(HDC hdc) override;

    // The text of a drawn link, null outside 0..LinkCount()-1.
    const UiChar* LinkText(int index) const;
    int LinkCount() const { return linkCount_; }
    RECT LinkRect(int index) const { return index >= 0 && index < linkCount_ ? linkRects_[index] : RECT{}; }
    int HoveredLink() const { return hoveredLink_; }

private:
    int LinkAt(POINT point) const;

    int linkCount_ = 0;
    RECT linkRects_[kMaxLinks] = {};
    UiString linkTexts_[kMaxLinks];
    int hoveredLink_ = -1;
};

}  // namespace SkinUI
