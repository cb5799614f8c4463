#include "ui/controls/button_ui.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/ui/control_events_fixtures.h"
#include "tests/ui/controls_fixtures.h"
#include "ui/controls/container_ui.h"
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
using testing_support::SkinFolder;
using testing_support::WindowedManager;

constexpr int kDisable = -1;  // a step that disables the button instead of sending an event

// A root container (0, 0, 300, 200) attached to a manager, images from the
// "controls" test skin.
class ButtonTree : public ::testing::Test {
protected:
    void SetUp() override {
        CManagerUI::SetSkinFolderPath(SkinFolder("controls").c_str());
        root = new CContainerUI;
        ASSERT_TRUE(wm.manager().AttachRoot(root, nullptr));
        wm.manager().AddNotifyListener(&recorder);
    }
    void TearDown() override { CManagerUI::SetSkinFolderPath(L""); }

    template <typename T>
    T* Add(const wchar_t* name, const wchar_t* attributes) {
        auto* control = new T;
        control->SetName(name);
        return AddPlaced(root, control, attributes, {0, 0, 300, 200});
    }
    // The colour painted at x, y after a paint of the whole tree.
    uint32_t PaintedAt(int x, int y) {
        Canvas canvas(300, 200);
        root->Paint(canvas.dc(), canvas.Whole());
        return canvas.Rgb(x, y);
    }

    WindowedManager wm;
    NotifyRecorder recorder;
    CContainerUI* root = nullptr;
};

TEST_F(ButtonTree, StateMachine) {
    struct Step {
        int type;
        bool in;
        WORD key;
    };
    struct Case {
        const char* what;
        const wchar_t* attributes;
        std::vector<Step> steps;
        int clicks;
        uint32_t state;
    };
    const Case cases[] = {
        {"down and up inside", L"", {{EventButtonDown, true, 0}, {EventButtonUp, true, 0}}, 1, 0},
        {"down inside, out, up outside",
         L"",
         {{EventButtonDown, true, 0}, {EventMouseMove, false, 0}, {EventButtonUp, false, 0}},
         0,
         0},
        {"leaving keeps the capture only",
         L"",
         {{EventButtonDown, true, 0}, {EventMouseMove, false, 0}},
         0,
         CButtonUI::kCaptured},
        {"back inside before releasing",
         L"",
         {{EventButtonDown, true, 0},
          {EventMouseMove, false, 0},
          {EventMouseMove, true, 0},
          {EventButtonUp, true, 0}},
         1,
         0},
        {"pushed again when back inside",
         L"",
         {{EventButtonDown, true, 0}, {EventMouseMove, false, 0}, {EventMouseMove, true, 0}},
         0,
         CButtonUI::kPushed | CButtonUI::kCaptured},
        {"down outside", L"", {{EventButtonDown, false, 0}, {EventButtonUp, true, 0}}, 0, 0},
        {"double click", L"", {{EventDoubleClick, true, 0}, {EventButtonUp, true, 0}}, 1, 0},
        {"disabled", L"enabled=\"false\"", {{EventButtonDown, true, 0}, {EventButtonUp, true, 0}}, 0, 0},
        {"disabled while pushed",
         L"",
         {{EventButtonDown, true, 0},
          {EventMouseEnter, true, 0},
          {kDisable, true, 0},
          {EventButtonUp, true, 0}},
         0,
         0},
        {"space and return", L"", {{EventKeyDown, true, VK_SPACE}, {EventKeyDown, true, VK_RETURN}}, 2, 0},
        {"another key", L"", {{EventKeyDown, true, 'A'}}, 0, 0},
        {"keyboard false",
         L"keyboard=\"false\"",
         {{EventKeyDown, true, VK_SPACE}, {EventKeyDown, true, VK_RETURN}},
         0,
         0},
        {"hot", L"", {{EventMouseEnter, true, 0}}, 0, CButtonUI::kHot},
        {"hot, then gone", L"", {{EventMouseEnter, true, 0}, {EventMouseLeave, false, 0}}, 0, 0},
        {"hot_disable", L"hot_disable=\"true\"", {{EventMouseEnter, true, 0}}, 0, 0},
        {"mouse false", L"mouse=\"false\"", {{EventButtonDown, true, 0}, {EventButtonUp, true, 0}}, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto* button = Add<CButtonUI>(
            L"b", (std::wstring(L"float=\"true\" pos=\"10,10,110,40\" ") + c.attributes).c_str());
        recorder.Clear();
        for (const Step& step : c.steps) {
            if (step.type == kDisable) {
                button->SetEnabled(false);
                continue;
            }
            Send(button, step.type, step.in ? 50 : 200, step.in ? 25 : 100, step.key);
        }
        int clicks = 0;
        for (const std::wstring& type : recorder.types) clicks += type == L"click" ? 1 : 0;
        EXPECT_EQ(clicks, c.clicks);
        EXPECT_EQ(button->State(), c.state);
        root->Remove(button);
    }
}

TEST_F(ButtonTree, HotDisableStillSendsMouseEnterAndLeave) {
    auto* button = Add<CButtonUI>(L"b",
                                  L"float=\"true\" pos=\"0,0,50,20\" normalimage=\"png/normal.png\" "
                                  L"hotimage=\"png/hot.png\" hot_disable=\"true\"");
    Send(button, EventMouseEnter, 10, 10);
    EXPECT_EQ(PaintedAt(10, 10), 0xC80000u);  // normal, not hot
    Send(button, EventMouseLeave, 100, 100);
    EXPECT_EQ(recorder.Log(), (std::vector<std::wstring>{L"mouseenter:b", L"mouseleave:b"}));
}

TEST_F(ButtonTree, InputFlagsFollowKeyboardAndEnabled) {
    auto* button = Add<CButtonUI>(L"b", L"");
    EXPECT_EQ(button->InputFlags(), InputTabStop | InputSetCursor);
    Apply(button, L"keyboard=\"false\"");
    EXPECT_EQ(button->InputFlags(), InputSetCursor);
    Apply(button, L"enabled=\"false\"");
    EXPECT_EQ(button->InputFlags(), 0u);
}

TEST_F(ButtonTree, StateImagesAndTheirFallbacks) {
    auto* full = Add<CButtonUI>(L"full",
                                L"float=\"true\" pos=\"0,0,40,20\" normalimage=\"png/normal.png\" "
                                L"hotimage=\"png/hot.png\" pushedimage=\"png/pushed.png\" "
                                L"focusedimage=\"png/focused.png\" disabledimage=\"png/disabled.png\"");
    auto* bare = Add<CButtonUI>(L"bare",
                                L"float=\"true\" pos=\"50,0,90,20\" normalimage=\"png/normal.png\" "
                                L"hotimage=\"png/missing.png\" foreimage=\"png/fore.png\"");
    EXPECT_EQ(PaintedAt(2, 2), 0xC80000u);
    Send(full, EventMouseEnter, 5, 5);
    Send(bare, EventMouseEnter, 55, 5);
    EXPECT_EQ(PaintedAt(2, 2), 0x00C800u);
    EXPECT_EQ(PaintedAt(52, 2), 0xC80000u);   // the hot image is missing: normal
    EXPECT_EQ(PaintedAt(70, 10), 0xFFFFFFu);  // and the fore image over it
    Send(full, EventButtonDown, 5, 5);
    EXPECT_EQ(PaintedAt(2, 2), 0x0000C8u);
    Send(full, EventButtonUp, 5, 5);
    Send(full, EventMouseLeave, 100, 100);
    Send(full, EventSetFocus);
    EXPECT_EQ(PaintedAt(2, 2), 0xC8C800u);
    Send(full, EventKillFocus);
    full->SetEnabled(false);
    bare->SetEnabled(false);
    EXPECT_EQ(PaintedAt(2, 2), 0x646464u);
    EXPECT_EQ(PaintedAt(52, 2), 0xC80000u);  // no disabled image: normal
}

TEST_F(ButtonTree, HotBackColourCoversTheHotImageAndSkipsTheForeImage) {
    auto* button =
        Add<CButtonUI>(L"b",
                       L"float=\"true\" pos=\"0,0,40,20\" normalimage=\"png/normal.png\" "
                       L"hotimage=\"png/hot.png\" foreimage=\"png/fore.png\" hotbkcolor=\"#FF102030\"");
    EXPECT_EQ(PaintedAt(20, 10), 0xFFFFFFu);  // fore image when not hot
    Send(button, EventMouseEnter, 5, 5);
    EXPECT_EQ(PaintedAt(2, 2), 0x102030u);
    EXPECT_EQ(PaintedAt(20, 10), 0x102030u);
    Apply(button, L"hotforeimage=\"png/selected.png\"");
    EXPECT_EQ(PaintedAt(2, 2), 0xC800C8u);  // a hot fore image replaces the colour
}

TEST_F(ButtonTree, TextColourByState) {
    auto* button = Add<CButtonUI>(L"b",
                                  L"float=\"true\" pos=\"0,0,100,30\" text=\"MMMM\" textcolor=\"#FF000080\" "
                                  L"hottextcolor=\"#FF008000\" pushedtextcolor=\"#FF800000\"");
    auto strongest = [&]() {
        Canvas canvas(300, 200);
        root->Paint(canvas.dc(), canvas.Whole());
        uint32_t best = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 100; ++x)
                if ((canvas.Pixel(x, y) >> 24) > (best >> 24)) best = canvas.Pixel(x, y);
        return best & 0xFFFFFFu;
    };
    EXPECT_TRUE(NearRgb(strongest(), 0x000080u));
    Send(button, EventMouseEnter, 5, 5);
    EXPECT_TRUE(NearRgb(strongest(), 0x008000u));
    Send(button, EventButtonDown, 5, 5);
    EXPECT_TRUE(NearRgb(strongest(), 0x800000u));
}

TEST_F(ButtonTree, UngroupedOptionTogglesClickThenSelectChanged) {
    auto* option = Add<COptionUI>(L"o", L"float=\"true\" pos=\"0,0,40,20\"");
    for (bool expected : {true, false, true}) {
        Send(option, EventButtonDown, 5, 5);
        Send(option, EventButtonUp, 5, 5);
        EXPECT_EQ(option->IsSelected(), expected);
        EXPECT_EQ((option->State() & CButtonUI::kSelected) != 0, expected);
    }
    EXPECT_EQ(recorder.Log(),
              (std::vector<std::wstring>{L"click:o", L"selectchanged:o", L"click:o", L"selectchanged:o",
                                         L"click:o", L"selectchanged:o"}));
    option->SetEnabled(false);
    EXPECT_EQ(option->State(), CButtonUI::kSelected);
}

TEST(OptionGroups, SkinSelectionIsSilentAndGroupsAreExclusive) {
    WindowedManager wm;
    NotifyRecorder recorder;
    wm.manager().AddNotifyListener(&recorder);
    CSkinBuilder builder;
    CControlUI* root = builder.Create(
        L"<Window size=\"300,100\"><HorizontalLayout>"
        L"<Option name=\"a\" group=\"g\" selected=\"true\" />"
        L"<Option name=\"b\" group=\"g\" />"
        L"<Option name=\"c\" group=\"g\" selected=\"false\" />"
        L"<CheckBox name=\"d\" selected=\"true\" />"
        L"</HorizontalLayout></Window>",
        nullptr, nullptr, &wm.manager(), nullptr);
    ASSERT_NE(root, nullptr);
    ASSERT_TRUE(wm.manager().AttachRoot(root, nullptr));
    root->Place({0, 0, 300, 100}, false);
    EXPECT_TRUE(recorder.types.empty());
    auto* a = static_cast<COptionUI*>(wm.manager().FindControl(L"a"));
    auto* b = static_cast<COptionUI*>(wm.manager().FindControl(L"b"));
    auto* c = static_cast<COptionUI*>(wm.manager().FindControl(L"c"));
    auto* d = static_cast<CCheckBoxUI*>(wm.manager().FindControl(L"d"));
    EXPECT_TRUE(a->IsSelected());
    EXPECT_FALSE(c->IsSelected());
    EXPECT_TRUE(d->IsChecked());
    ASSERT_NE(wm.manager().OptionGroupMembers(L"g"), nullptr);
    EXPECT_EQ(wm.manager().OptionGroupMembers(L"g")->GetSize(), 3);

    const RECT rb = b->ItemRect();
    const int x = (rb.left + rb.right) / 2, y = (rb.top + rb.bottom) / 2;
    for (int round = 0; round < 2; ++round) {
        Send(b, EventButtonDown, x, y);
        Send(b, EventButtonUp, x, y);
    }
    EXPECT_FALSE(a->IsSelected());
    EXPECT_TRUE(b->IsSelected());
    EXPECT_FALSE(c->IsSelected());
    EXPECT_EQ(recorder.Log(), (std::vector<std::wstring>{L"click:b", L"selectchanged:b", L"click:b"}));

    // The application selecting c: b is deselected silently.
    recorder.Clear();
    c->Select(true);
    EXPECT_FALSE(b->IsSelected());
    EXPECT_EQ(recorder.Log(), (std::vector<std::wstring>{L"selectchanged:c"}));
    recorder.Clear();
    c->Select(false);  // deselecting a grouped option says nothing
    EXPECT_TRUE(recorder.types.empty());

    // Moving to another group; a destroyed option leaves its group.
    b->SetGroup(L"h");
    EXPECT_EQ(wm.manager().OptionGroupMembers(L"g")->GetSize(), 2);
    EXPECT_EQ(wm.manager().OptionGroupMembers(L"h")->GetSize(), 1);
    static_cast<CContainerUI*>(root->InterfaceFor(L"Container"))->Remove(b);
    wm.manager().DeleteDelayedControls();
    EXPECT_EQ(wm.manager().OptionGroupMembers(L"h"), nullptr);
}

TEST_F(ButtonTree, OptionImagesSelectedHotFallbackAndNoPushedImage) {
    auto* withHot = Add<COptionUI>(L"w",
                                   L"float=\"true\" pos=\"0,0,40,20\" normalimage=\"png/normal.png\" "
                                   L"pushedimage=\"png/pushed.png\" selectedimage=\"png/selected.png\" "
                                   L"selectedhotimage=\"png/selectedhot.png\" foreimage=\"png/fore.png\"");
    auto* withoutHot = Add<COptionUI>(L"wo",
                                      L"float=\"true\" pos=\"50,0,90,20\" selectedimage=\"png/selected.png\" "
                                      L"hotimage=\"png/hot.png\"");
    auto* colourOnly =
        Add<COptionUI>(L"col", L"float=\"true\" pos=\"100,0,140,20\" selectedbkcolor=\"#FF203040\"");
    Send(withHot, EventButtonDown, 5, 5);
    EXPECT_EQ(PaintedAt(2, 2), 0xC80000u);  // pushed but an option: normal image
    Send(withHot, EventButtonUp, 5, 5);
    ASSERT_TRUE(withHot->IsSelected());
    withoutHot->Select(true);
    colourOnly->Select(true);
    EXPECT_EQ(PaintedAt(2, 2), 0xC800C8u);
    EXPECT_EQ(PaintedAt(20, 10), 0xFFFFFFu);  // the option's fore image on top
    EXPECT_EQ(PaintedAt(120, 10), 0x203040u);
    Send(withHot, EventMouseEnter, 5, 5);
    Send(withoutHot, EventMouseEnter, 55, 5);
    EXPECT_EQ(PaintedAt(2, 2), 0x00C8C8u);
    EXPECT_EQ(PaintedAt(52, 2), 0xC800C8u);  // no selected hot image: the selected one
}

}  // namespace
}  // namespace SkinUI
