#include "ui/controls/label_ui.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/ui/control_events_fixtures.h"
#include "tests/ui/controls_fixtures.h"
#include "ui/controls/container_ui.h"
#include "ui/controls/vertical_layout_ui.h"
#include "ui/core/manager_ui.h"
#include "ui/skin/skin_builder.h"

namespace SkinUI {
namespace {

using testing_support::AddPlaced;
using testing_support::Apply;
using testing_support::Canvas;
using testing_support::NearRgb;
using testing_support::NotifyRecorder;
using testing_support::Send;
using testing_support::TakeRepaint;
using testing_support::WindowedManager;

// Columns and rows of a canvas area that hold any ink (alpha above 0).
struct InkBox {
    int left = -1, top = -1, right = -1, bottom = -1;  // right/bottom exclusive
    bool empty() const { return left < 0; }
};

InkBox FindInk(const Canvas& canvas, const RECT& area) {
    InkBox box;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if ((canvas.Pixel(x, y) >> 24) == 0) continue;
            if (box.empty()) {
                box = {x, y, x + 1, y + 1};
            } else {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x + 1);
                box.bottom = std::max(box.bottom, y + 1);
            }
        }
    }
    return box;
}

// A root container at (0, 0, 300, 200) holding the given control, attached
// to a manager with a default font.
class LabelTree : public ::testing::Test {
protected:
    void SetUp() override {
        wm.manager().ReplaceDefaultFont(L"Arial", 14, false, false, false, false);
        root = new CContainerUI;
        ASSERT_TRUE(wm.manager().AttachRoot(root, nullptr));
        wm.manager().AddNotifyListener(&recorder);
    }
    template <typename T>
    T* Add(const wchar_t* attributes) {
        return AddPlaced(root, new T, attributes, {0, 0, 300, 200});
    }

    WindowedManager wm;
    NotifyRecorder recorder;
    CContainerUI* root = nullptr;
};

TEST(LabelAttributes, StyleColoursAndEffectValues) {
    CLabelUI label;
    EXPECT_EQ(label.TextStyle(), 0x4u);
    Apply(&label, L"align=\"center\" endellipsis=\"true\"");
    EXPECT_EQ(label.TextStyle(), 0x8005u);
    Apply(&label, L"valign=\"bottom\" endellipsis=\"false\"");
    EXPECT_EQ(label.TextStyle(), 0x29u);
    Apply(&label,
          L"textcolor=\"#FF666666\" disabledtextcolor=\" #FF111111\" textpadding=\"20,1,68,2\" font=\"3\" "
          L"rhaa=\"9\" transtext=\"200\" textcolor1=\"#FF00FF00\" strokecolor=\"FF0000FF\" drag=\"true\"");
    EXPECT_EQ(label.TextColor(), 0xFF666666u);
    EXPECT_EQ(label.DisabledTextColor(), 0u);  // the label skips "#" but no blanks
    EXPECT_EQ(label.TextPadding().left, 20);
    EXPECT_EQ(label.TextPadding().right, 68);
    EXPECT_EQ(label.Font(), 3);
    EXPECT_EQ(label.RenderingHint(), 0);  // outside 0..5
    EXPECT_EQ(label.TextAlpha1(), 200);
    EXPECT_EQ(label.TextColor2(), 0xFF00FF00u);
    EXPECT_EQ(label.StrokeColor(), 0xFF0000FFu);
    EXPECT_TRUE(label.IsDraggable());
    Apply(&label, L"rhaa=\"4\"");
    EXPECT_EQ(label.RenderingHint(), 4);
    EXPECT_TRUE(label.GdiplusRunning());
}

TEST(LabelAttributes, ShadowOffsetFromTheBuilder) {
    WindowedManager wm;
    CSkinBuilder builder;
    CControlUI* root = builder.Create(
        L"<Window size=\"100,100\"><Container>"
        L"<Label name=\"a\" shadowoffset=\"2,45\" />"
        L"<Label name=\"b\" shadowoffset=\"2,-90\" />"
        L"<Label name=\"c\" shadowoffset=\"2,45\" />"
        L"</Container></Window>",
        nullptr, nullptr, &wm.manager(), nullptr);
    ASSERT_NE(root, nullptr);
    ASSERT_TRUE(wm.manager().AttachRoot(root, nullptr));
    auto* a = static_cast<CLabelUI*>(wm.manager().FindControl(L"a"));
    auto* b = static_cast<CLabelUI*>(wm.manager().FindControl(L"b"));
    auto* c = static_cast<CLabelUI*>(wm.manager().FindControl(L"c"));
    EXPECT_EQ(a->ShadowOffsetX(), -2.0f);
    EXPECT_EQ(a->ShadowOffsetY(), -2.0f);
    EXPECT_EQ(b->ShadowOffsetX(), 2.0f);
    EXPECT_EQ(b->ShadowOffsetY(), 0.0f);
    c->SetAttribute(L"shadowoffset", L"2,200");  // outside -180..180: unchanged
    EXPECT_EQ(c->ShadowOffsetX(), -2.0f);
    EXPECT_EQ(c->ShadowOffsetY(), -2.0f);
}

TEST_F(LabelTree, DefaultColourIsStoredAndTextIsDrawnInItsColour) {
    wm.manager().ChangeDefaultTextColor(0xFF0000C0u, false);
    CLabelUI* plain = Add<CLabelUI>(L"pos=\"0,0,150,30\" float=\"true\" text=\"Hello\"");
    CLabelUI* grey =
        Add<CLabelUI>(L"pos=\"150,0,300,30\" float=\"true\" text=\"Hello\" textcolor=\"#FF666666\"");
    EXPECT_EQ(plain->TextColor(), 0u);
    Canvas canvas(300, 40);
    root->Paint(canvas.dc(), canvas.Whole());
    EXPECT_EQ(plain->TextColor(), 0xFF0000C0u);
    EXPECT_EQ(plain->DisabledTextColor(), wm.manager().DefaultDisabledColor());
    EXPECT_EQ(grey->TextColor(), 0xFF666666u);

    // The most covered pixel of each text has the text's colour.
    auto strongest = [&](int left, int right) {
        uint32_t best = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = left; x < right; ++x)
                if ((canvas.Pixel(x, y) >> 24) > (best >> 24)) best = canvas.Pixel(x, y);
        return best;
    };
    EXPECT_TRUE(NearRgb(strongest(0, 150), 0xFF0000C0u));
    EXPECT_TRUE(NearRgb(strongest(150, 300), 0xFF666666u));
    EXPECT_GE(strongest(0, 150) >> 24, 0xF0u);

    // A repaint after the text, the colour or the font changed shows the
    // change (the label keeps its last text drawing).
    const InkBox before = FindInk(canvas, {0, 0, 150, 30});
    plain->SetText(L"Hello, world");
    Canvas second(300, 40);
    root->Paint(second.dc(), second.Whole());
    EXPECT_GT(FindInk(second, {0, 0, 150, 30}).right, before.right + 10);
    plain->SetTextColor(0xFF00C000u);
    wm.manager().StoreFont(7, L"Arial", 24, true, false, false, false);
    grey->SetFont(7);
    Canvas third(300, 40);
    root->Paint(third.dc(), third.Whole());
    uint32_t best = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 150; ++x)
            if ((third.Pixel(x, y) >> 24) > (best >> 24)) best = third.Pixel(x, y);
    EXPECT_TRUE(NearRgb(best, 0x00C000u));
    const InkBox small = FindInk(canvas, {150, 0, 300, 30});
    const InkBox large = FindInk(third, {150, 0, 300, 30});
    EXPECT_GT(large.bottom - large.top, small.bottom - small.top + 3);
}

TEST_F(LabelTree, AlignmentPlacesTheSingleLine) {
    CLabelUI* left = Add<CLabelUI>(L"pos=\"0,0,300,40\" float=\"true\" align=\"left\"");
    CLabelUI* center = Add<CLabelUI>(L"pos=\"0,50,300,90\" float=\"true\" align=\"center\"");
    CLabelUI* right = Add<CLabelUI>(L"pos=\"0,100,300,140\" float=\"true\" align=\"right\" valign=\"top\"");
    for (CLabelUI* label : {left, center, right}) label->SetText(L"Two\nlines");
    Canvas canvas(300, 200);
    root->Paint(canvas.dc(), canvas.Whole());
    const InkBox l = FindInk(canvas, {0, 0, 300, 40});
    const InkBox c = FindInk(canvas, {0, 50, 300, 90});
    const InkBox r = FindInk(canvas, {0, 100, 300, 140});
    ASSERT_FALSE(l.empty() || c.empty() || r.empty());
    EXPECT_LT(l.left, 3);
    EXPECT_GT(r.right, 296);
    EXPECT_NEAR((c.left + c.right) / 2, 150, 3);
    // One line, vertically centred (DT_VCENTER kept by "left"), or at the top.
    EXPECT_LT(l.bottom - l.top, 20);
    EXPECT_NEAR((l.top + l.bottom) / 2, 20, 4);
    EXPECT_LT(r.top, 104);
}

TEST_F(LabelTree, MarkupLabelDrawsOneLineAndDisabledLabelsTheirColour) {
    CLabelUI* markup = Add<CLabelUI>(
        L"pos=\"0,0,300,40\" float=\"true\" showhtml=\"true\" textcolor=\"#FF0000C0\" align=\"left\"");
    markup->SetText(L"{b}bold{/b} and{n}second line");
    CLabelUI* off = Add<CLabelUI>(
        L"pos=\"0,50,300,80\" float=\"true\" text=\"off\" enabled=\"false\" disabledtextcolor=\"#FFC00000\"");
    Canvas canvas(300, 100);
    root->Paint(canvas.dc(), canvas.Whole());
    const InkBox ink = FindInk(canvas, {0, 0, 300, 40});
    ASSERT_FALSE(ink.empty());
    EXPECT_LT(ink.bottom - ink.top, 20);  // one line: the label adds DT_SINGLELINE
    uint32_t best = 0;
    for (int y = 50; y < 80; ++y)
        for (int x = 0; x < 300; ++x)
            if ((canvas.Pixel(x, y) >> 24) > (best >> 24)) best = canvas.Pixel(x, y);
    EXPECT_TRUE(NearRgb(best, 0xC00000u));
    EXPECT_EQ(off->DisabledTextColor(), 0xFFC00000u);
}

TEST_F(LabelTree, EndEllipsisStaysInsideThePadding) {
    CLabelUI* label = Add<CLabelUI>(
        L"pos=\"0,0,300,30\" float=\"true\" endellipsis=\"true\" textpadding=\"20,0,68,0\" "
        L"text=\"C:\\Program Files\\KeloVoice\\a very long folder name\\and another one\\bin\"");
    Canvas canvas(300, 30);
    root->Paint(canvas.dc(), canvas.Whole());
    EXPECT_EQ(label->TextRect().right, 232);
    const InkBox all = FindInk(canvas, {0, 0, 300, 30});
    ASSERT_FALSE(all.empty());
    EXPECT_GE(all.left, 20);
    EXPECT_LE(all.right, 232);
    EXPECT_GT(all.right, 200);  // the text reaches the padded edge
    // The last ink is the ellipsis: dots on the base line, not glyph-tall.
    const InkBox tail = FindInk(canvas, {all.right - 8, 0, all.right, 30});
    EXPECT_LE(tail.bottom - tail.top, 3) << "no ellipsis at the end";
    EXPECT_GE(tail.top, all.top + 5);
}

TEST_F(LabelTree, DesiredHeightIsTheFontHeightPlusFour) {
    auto* layout = new CVerticalLayoutUI;
    root->Add(layout);
    auto* label = new CLabelUI;
    label->SetText(L"x");
    layout->Add(label);
    const LONG fontHeight = wm.manager().FontInfo(-1)->metrics.tmHeight;
    ASSERT_GT(fontHeight, 0);
    EXPECT_EQ(label->DesiredSize({300, 200}).cy, fontHeight + 4);
    layout->Place({0, 0, 300, 200}, false);
    EXPECT_EQ(label->Height(), fontHeight + 4);
    Apply(label, L"height=\"30\"");
    EXPECT_EQ(label->DesiredSize({300, 200}).cy, 30);
}

TEST_F(LabelTree, EffectTextIsKeptApartAndSetWithoutRepaint) {
    CLabelUI* label = Add<CLabelUI>(
        L"pos=\"0,0,300,40\" float=\"true\" text=\"plain\" enabledeffect=\"true\" enabledstroke=\"true\" "
        L"strokecolor=\"#FF0000FF\" textcolor=\"#FFFF0000\" transtext=\"255\" transtext1=\"255\"");
    // A hidden window keeps no update region.
    ShowWindow(wm.window(), SW_SHOWNOACTIVATE);
    TakeRepaint(wm.window());
    label->SetText(L"Effect");
    EXPECT_FALSE(TakeRepaint(wm.window()));
    EXPECT_EQ(label->GetText(), L"Effect");
    label->SetEffectsOn(false);
    EXPECT_EQ(label->GetText(), L"plain");  // the control's own text is unchanged
    label->SetText(L"plain2");
    EXPECT_TRUE(TakeRepaint(wm.window()));
    label->SetEffectsOn(true);

    Canvas canvas(300, 40);
    root->Paint(canvas.dc(), canvas.Whole());
    const InkBox ink = FindInk(canvas, {0, 0, 300, 40});
    ASSERT_FALSE(ink.empty()) << "effect text not drawn";
    // Red text with a blue outline, both opaque in the canvas.
    bool red = false, blue = false;
    for (int y = ink.top; y < ink.bottom; ++y) {
        for (int x = ink.left; x < ink.right; ++x) {
            const uint32_t p = canvas.Pixel(x, y);
            if ((p >> 24) < 0xF0) continue;
            red |= ((p >> 16) & 0xFF) > 0xC0 && (p & 0xFF) < 0x40;
            blue |= (p & 0xFF) > 0xC0 && ((p >> 16) & 0xFF) < 0x40;
        }
    }
    EXPECT_TRUE(red);
    EXPECT_TRUE(blue);
}

TEST_F(LabelTree, DraggedLabelStopsAtItsParentsEdgeAndResizesToTwiceItsBorder) {
    CLabelUI* label = Add<CLabelUI>(L"float=\"true\" pos=\"100,50,160,80\" drag=\"true\" bordersize=\"4\"");
    root->Place({0, 0, 300, 200}, false);
    ASSERT_EQ(label->ItemRect().left, 100);
    // Move by the middle: 130,65 -> right by 100, then by 50 (would cross 300).
    Send(label, EventButtonDown, 130, 65);
    EXPECT_TRUE(label->IsDragging());
    EXPECT_EQ(label->DragEdges(), 0u);
    Send(label, EventMouseMove, 230, 65);
    EXPECT_EQ(label->ItemRect().left, 200);
    Send(label, EventMouseMove, 280, 65);
    EXPECT_EQ(label->ItemRect().right, 260);  // refused as a whole
    Send(label, EventMouseMove, 320, 65);
    EXPECT_EQ(label->ItemRect().right, 300);  // exactly at the edge
    Send(label, EventButtonUp, 320, 65);
    EXPECT_FALSE(label->IsDragging());
    EXPECT_EQ(recorder.Log(), (std::vector<std::wstring>{L"uimoved:", L"uimoved:"}));
    // The new place survives the parent's next layout.
    root->Place({0, 0, 300, 200}, false);
    EXPECT_EQ(label->ItemRect().left, 240);

    // Resize by the left border far to the right: 8 pixels (twice the border) remain.
    Send(label, EventButtonDown, 241, 60);
    EXPECT_EQ(label->DragEdges(), 0x1u);
    Send(label, EventMouseMove, 400, 60);
    EXPECT_EQ(label->ItemRect().left, 292);
    EXPECT_EQ(label->ItemRect().right, 300);
    Send(label, EventButtonUp, 400, 60);

    // Not floating: no drag.
    CLabelUI* fixed = Add<CLabelUI>(L"drag=\"true\"");
    fixed->Place({0, 0, 50, 50}, false);
    Send(fixed, EventButtonDown, 10, 10);
    EXPECT_FALSE(fixed->IsDragging());
}

TEST_F(LabelTree, TextLinksNotifyTheirIndexAndOnlyEightAreTracked) {
    auto* text = Add<CTextUI>(L"float=\"true\" pos=\"0,0,300,200\" showhtml=\"true\"");
    text->SetText(L"{a one}first{/a} and {a two}second{/a} and {a three}third{/a}");
    Canvas canvas(300, 200);
    root->Paint(canvas.dc(), canvas.Whole());
    ASSERT_EQ(text->LinkCount(), 3);
    EXPECT_STREQ(text->LinkText(2), L"three");
    EXPECT_EQ(text->LinkText(3), nullptr);
    EXPECT_EQ(text->InputFlags(), InputSetCursor);
    for (int i = 0; i < 3; ++i) {
        const RECT r = text->LinkRect(i);
        const int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
        Send(text, EventButtonDown, x, y);
        Send(text, EventButtonUp, x, y);
    }
    ASSERT_EQ(recorder.types, (std::vector<std::wstring>{L"link", L"link", L"link"}));
    EXPECT_EQ(recorder.wParams, (std::vector<WPARAM>{0, 1, 2}));
    Send(text, EventMouseMove, (text->LinkRect(1).left + text->LinkRect(1).right) / 2,
         text->LinkRect(1).top + 1);
    EXPECT_EQ(text->HoveredLink(), 1);
    Send(text, EventMouseLeave, 0, 0);
    EXPECT_EQ(text->HoveredLink(), -1);

    std::wstring nine;
    for (int i = 0; i < 9; ++i)
        nine += L"{a l" + std::to_wstring(i) + L"}link" + std::to_wstring(i) + L"{/a} ";
    text->SetText(nine.c_str());
    root->Paint(canvas.dc(), canvas.Whole());
    EXPECT_EQ(text->LinkCount(), 8);
    EXPECT_STREQ(text->LinkText(7), L"l7");
    EXPECT_EQ(text->LinkText(8), nullptr);

    text->SetText(L"");
    root->Paint(canvas.dc(), canvas.Whole());
    EXPECT_EQ(text->LinkCount(), 0);
    EXPECT_EQ(text->InputFlags(), 0u);
}

TEST_F(LabelTree, TextMeasuresItsWrappedHeight) {
    auto* text = Add<CTextUI>(L"");
    text->SetText(L"one two three four five six seven eight nine ten eleven twelve");
    const SIZE wide = text->DesiredSize({1000, 0});
    const SIZE narrow = text->DesiredSize({80, 0});
    EXPECT_GT(narrow.cy, 2 * wide.cy);
    EXPECT_LE(narrow.cx, 80);
    EXPECT_GT(wide.cx, 100);
}

}  // namespace
}  // namespace SkinUI
