#include "ui/controls/control_ui.h"

#include <gtest/gtest.h>

#include "tests/ui/controls_fixtures.h"
#include "ui/controls/container_ui.h"
#include "ui/core/manager_ui.h"

namespace SkinUI {
namespace {

using testing_support::Apply;
using testing_support::Canvas;
using testing_support::SkinFolder;
using testing_support::WindowedManager;

bool SameRect(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b) != FALSE;
}

#define EXPECT_RECT(r, l, t, rr, b)               \
    EXPECT_TRUE(SameRect((r), RECT{l, t, rr, b})) \
        << (r).left << "," << (r).top << "," << (r).right << "," << (r).bottom

TEST(ControlAttributes, PositionsAndSizes) {
    CControlUI c;
    Apply(&c, L"pos=\"10,20,110,70\"");
    EXPECT_EQ(c.FixedOffset().cx, 10);
    EXPECT_EQ(c.FixedOffset().cy, 20);
    EXPECT_EQ(c.DeclaredWidth(), 100);
    EXPECT_EQ(c.DeclaredHeight(), 50);
    EXPECT_RECT(c.RawPosition(), 10, 20, 110, 70);
    // An inverted "pos" leaves the previous height: a negative size is ignored.
    CControlUI inverted;
    Apply(&inverted, L"pos=\"0,296,32,210\"");
    EXPECT_EQ(inverted.DeclaredWidth(), 32);
    EXPECT_EQ(inverted.DeclaredHeight(), 0);
    // A short list reads the missing numbers as 0.
    CControlUI shortList;
    Apply(&shortList, L"pos=\"1,2\"");
    EXPECT_EQ(shortList.DeclaredWidth(), 0);
    EXPECT_EQ(shortList.DeclaredHeight(), 0);
    // Limits: negative values and unknown names change nothing.
    Apply(&c, L"minwidth=\"-5\" maxheight=\"40\" 357=\"1\" Width=\"3\"");
    EXPECT_EQ(c.MinWidth(), 0);
    EXPECT_EQ(c.MaxHeight(), 40);
    EXPECT_EQ(c.DeclaredWidth(), 100);
}

TEST(ControlAttributes, FlagsTextsAndColours) {
    CControlUI c;
    Apply(&c,
          L"name=\"a\" text=\"t\" tooltip=\"one<n>two\" visible=\"True\" enabled=\"false\" mouse=\"false\" "
          L"shortcut=\"xy\" menu=\"true\" userdata=\"u\" id=\"tid\" id_num=\"7\" bkcolor=\"  #FF112233\" "
          L"bkcolor2=\"#80445566\" bordercolor=\" #FF000000\" focusbordercolor=\"0xFF00FF00\"");
    EXPECT_EQ(c.GetName(), L"a");
    EXPECT_EQ(c.ToolTip(), L"one\r\ntwo");
    EXPECT_FALSE(c.IsVisible());  // "True" is not "true"
    EXPECT_FALSE(c.IsEnabled());
    EXPECT_FALSE(c.AcceptsMouse());
    EXPECT_EQ(c.Shortcut(), L'x');
    EXPECT_TRUE(c.WantsContextMenu());
    EXPECT_EQ(c.TextId(), L"tid");
    EXPECT_EQ(c.NumericId(), 7);
    EXPECT_EQ(c.BackColor(), 0xFF112233u);
    EXPECT_EQ(c.BackColor2(), 0x80445566u);
    EXPECT_EQ(c.BorderColor(), 0u);  // no blank skipping for "bordercolor"
    EXPECT_EQ(c.FocusBorderColor(), 0xFF00FF00u);
}

TEST(ControlAttributes, BorderSizeForms) {
    CControlUI c;
    Apply(&c, L"bordersize=\"2\"");
    EXPECT_EQ(c.BorderSize(), 2);
    Apply(&c, L"bordersize=\"0,0,0,1\"");
    EXPECT_EQ(c.BorderSize(), 2);  // the single size stays
    EXPECT_RECT(c.SideBorderSizes(), 0, 0, 0, 1);
    Apply(&c, L"bordersize=\"3\"");
    EXPECT_EQ(c.BorderSize(), 3);
    EXPECT_RECT(c.SideBorderSizes(), 0, 0, 0, 0);
    Apply(&c, L"leftbordersize=\"4\" borderround=\"5,6\"");
    EXPECT_EQ(c.SideBorderSizes().left, 4);
    EXPECT_EQ(c.BorderRound().cx, 5);
    EXPECT_EQ(c.BorderRound().cy, 6);
}

TEST(ControlAttributes, FloatWithSharesAndBackImageSize) {
    CControlUI shares;
    Apply(&shares, L"float=\"0.5,0,0.5,0\"");
    EXPECT_TRUE(shares.IsFloating());
    EXPECT_DOUBLE_EQ(shares.FloatShares()[0], 0.5);
    EXPECT_DOUBLE_EQ(shares.FloatShares()[2], 0.5);
    Apply(&shares, L"float=\"false\"");
    EXPECT_FALSE(shares.IsFloating());

    CManagerUI::SetSkinFolderPath(SkinFolder("basic").c_str());
    CManagerUI manager;
    CControlUI after;  // "float" before "bkimage": takes the 20 x 10 image size
    after.AttachToManager(&manager, nullptr, false);
    Apply(&after, L"float=\"true\" bkimage=\"png/box.png\"");
    EXPECT_EQ(after.DeclaredWidth(), 20);
    EXPECT_EQ(after.DeclaredHeight(), 10);
    CControlUI before;  // "bkimage" first: the size stays 0
    before.AttachToManager(&manager, nullptr, false);
    Apply(&before, L"bkimage=\"png/box.png\" float=\"true\"");
    EXPECT_EQ(before.DeclaredWidth(), 0);
    CControlUI sized;  // a floating control with a size keeps it
    sized.AttachToManager(&manager, nullptr, false);
    Apply(&sized, L"float=\"true\" width=\"5\" bkimage=\"png/box.png\"");
    EXPECT_EQ(sized.DeclaredWidth(), 5);
    EXPECT_EQ(sized.DeclaredHeight(), 0);
    after.AttachToManager(nullptr, nullptr, false);
    before.AttachToManager(nullptr, nullptr, false);
    sized.AttachToManager(nullptr, nullptr, false);
    CManagerUI::SetSkinFolderPath(L"");
}

TEST(ControlPlace, InvertedRectangleBecomesEmptyAtTheEdge) {
    CControlUI c;
    c.Place({50, 60, 40, 30}, false);
    EXPECT_RECT(c.ItemRect(), 50, 60, 50, 60);
}

TEST(ContainerPlace, PlainContainerStacksChildrenOnEachOther) {
    CContainerUI box;
    auto* a = new CControlUI;
    auto* b = new CControlUI;
    Apply(a, L"width=\"10\" height=\"10\" padding=\"3,3,3,3\"");
    Apply(b, L"maxwidth=\"50\"");
    box.Add(a);
    box.Add(b);
    Apply(&box, L"inset=\"5,6,7,8\"");
    box.Place({0, 0, 100, 80}, false);
    EXPECT_RECT(a->ItemRect(), 5, 6, 93, 72);  // declared size and padding play no part
    EXPECT_RECT(b->ItemRect(), 5, 6, 55, 72);
}

TEST(ContainerPlace, FloatingChildFollowsItsPosAndShares) {
    // Floating children place themselves relative to their parent, which
    // binding to a manager sets.
    CManagerUI manager;
    auto* boxPtr = new CContainerUI;
    CContainerUI& box = *boxPtr;
    auto* fixed = new CControlUI;
    auto* right = new CControlUI;
    auto* stretch = new CControlUI;
    Apply(fixed, L"float=\"true\" pos=\"30,30,92,41\"");
    Apply(right, L"float=\"1,0,1,0\" pos=\"-20,0,0,10\"");
    Apply(stretch, L"float=\"0,0,1,0\" pos=\"10,50,10,60\"");
    box.Add(fixed);
    box.Add(right);
    box.Add(stretch);
    Apply(&box, L"inset=\"4,4,4,4\"");  // the inset does not move floating children
    ASSERT_TRUE(manager.AttachRoot(boxPtr, nullptr));
    box.Place({9, 9, 209, 109}, false);
    EXPECT_RECT(fixed->ItemRect(), 39, 39, 101, 50);
    EXPECT_RECT(right->ItemRect(), 189, 9, 209, 19);
    EXPECT_RECT(stretch->ItemRect(), 19, 59, 219, 69);
    box.Place({9, 9, 309, 209}, false);  // the container grows
    EXPECT_RECT(fixed->ItemRect(), 39, 39, 101, 50);
    EXPECT_RECT(right->ItemRect(), 289, 9, 309, 19);
    EXPECT_RECT(stretch->ItemRect(), 19, 59, 319, 69);
}

TEST(ContainerVisibility, HidingPassesDownAndFocusIsDropped) {
    WindowedManager wm;
    auto* root = new CContainerUI;
    auto* inner = new CContainerUI;
    auto* leaf = new CControlUI;
    inner->Add(leaf);
    root->Add(inner);
    ASSERT_TRUE(wm.manager().AttachRoot(root, nullptr));
    leaf->TakeFocus();
    EXPECT_EQ(wm.manager().FocusedControl(), leaf);
    inner->SetVisible(false);
    EXPECT_FALSE(leaf->IsVisible());  // its own flag is still set
    EXPECT_EQ(wm.manager().FocusedControl(), nullptr);
    inner->SetVisible(true);
    EXPECT_TRUE(leaf->IsVisible());
    EXPECT_EQ(wm.manager().FocusedControl(), nullptr);  // not restored
    leaf->TakeFocus();
    leaf->SetVisible(false);
    EXPECT_FALSE(leaf->HasFocus());
    EXPECT_EQ(wm.manager().FocusedControl(), nullptr);
}

TEST(ContainerChildren, RemoveWithDelayedDestroyGoesThroughDeleteLater) {
    WindowedManager wm;
    auto* root = new CContainerUI;
    auto* child = new CControlUI;
    Apply(child, L"name=\"gone\"");
    root->Add(child);
    ASSERT_TRUE(wm.manager().AttachRoot(root, nullptr));
    EXPECT_EQ(wm.manager().FindControl(L"gone"), child);
    EXPECT_TRUE(root->Remove(child));
    EXPECT_EQ(wm.manager().DelayedControlCount(), 1);
    EXPECT_EQ(root->ItemCount(), 0);
    EXPECT_FALSE(root->Remove(child));
    EXPECT_FALSE(root->Add(nullptr));
    EXPECT_FALSE(root->RemoveAt(3));
    wm.manager().DeleteDelayedControls();  // what WM_APP+1 does
    EXPECT_EQ(wm.manager().DelayedControlCount(), 0);
    EXPECT_EQ(wm.manager().FindControl(L"gone"), nullptr);

    auto* now = new CControlUI;
    root->Add(now);
    root->SetDelayedDestroy(false);
    EXPECT_TRUE(root->Remove(now));
    EXPECT_EQ(wm.manager().DelayedControlCount(), 0);
}

TEST(ContainerSearch, HitTestFindsTheDeepestChildInsideTheInnerArea) {
    WindowedManager wm;
    auto* root = new CContainerUI;
    auto* inner = new CControlUI;
    auto* floating = new CControlUI;
    Apply(floating, L"float=\"true\" pos=\"0,0,10,10\"");
    root->Add(inner);
    root->Add(floating);
    Apply(root, L"inset=\"20,20,20,20\"");
    ASSERT_TRUE(wm.manager().AttachRoot(root, nullptr));
    root->Place({0, 0, 100, 100}, false);
    EXPECT_EQ(wm.manager().FindControlAt({50, 50}), inner);
    EXPECT_EQ(wm.manager().FindControlAt({5, 5}), floating);  // over the inset
    EXPECT_EQ(wm.manager().FindControlAt({15, 50}), root);
    EXPECT_EQ(wm.manager().FindControlAt({150, 50}), nullptr);
    Apply(inner, L"mouse=\"false\"");
    EXPECT_EQ(wm.manager().FindControlAt({50, 50}), root);
    Apply(root, L"mousechild=\"false\"");
    EXPECT_EQ(wm.manager().FindControlAt({5, 5}), root);
}

// Painting: back colours, borders, clipping.
class ControlPaint : public ::testing::Test {
protected:
    Canvas canvas{120, 80};
};

TEST_F(ControlPaint, BackColourAndBorderForms) {
    CControlUI c;
    Apply(&c, L"bkcolor=\"#FF336699\" bordercolor=\"#FFFF0000\" bordersize=\"2\"");
    c.Place({10, 10, 60, 40}, false);
    c.Paint(canvas.dc(), canvas.Whole());
    EXPECT_EQ(canvas.Rgb(30, 25), 0x336699u);
    EXPECT_EQ(canvas.Rgb(10, 25), 0xFF0000u);
    EXPECT_EQ(canvas.Rgb(11, 25), 0xFF0000u);
    EXPECT_EQ(canvas.Rgb(12, 25), 0x336699u);
    EXPECT_EQ(canvas.Rgb(60, 25), 0u);  // right edge is outside

    Canvas line(120, 80);
    Apply(&c, L"bordersize=\"0,0,0,1\"");
    c.Paint(line.dc(), line.Whole());
    EXPECT_EQ(line.Rgb(30, 40), 0xFF0000u);  // the bottom line at the bottom coordinate
    EXPECT_EQ(line.Rgb(10, 25), 0x336699u);  // no frame on the other sides
    EXPECT_EQ(line.Rgb(30, 10), 0x336699u);
}

TEST_F(ControlPaint, TranslucentColourCoversTheWholeItem) {
    CControlUI c;
    Apply(&c, L"bkcolor=\"#80FF0000\"");
    c.Place({0, 0, 100, 50}, false);
    c.Paint(canvas.dc(), {0, 0, 10, 10});  // only a corner is being painted
    EXPECT_NE(canvas.Pixel(90, 40), 0u);
    CControlUI opaque;
    Apply(&opaque, L"bkcolor=\"#FF00FF00\"");
    opaque.Place({0, 60, 100, 80}, false);
    opaque.Paint(canvas.dc(), {0, 60, 10, 70});
    EXPECT_EQ(canvas.Rgb(5, 65), 0x00FF00u);
    EXPECT_EQ(canvas.Pixel(90, 75), 0u);
}

TEST_F(ControlPaint, InvertedPosIsNeverPainted) {
    CManagerUI manager;
    auto* boxPtr = new CContainerUI;
    CContainerUI& box = *boxPtr;
    auto* c = new CControlUI;
    Apply(c, L"float=\"true\" pos=\"0,30,32,10\" bkcolor=\"#FFFFFFFF\"");
    box.Add(c);
    ASSERT_TRUE(manager.AttachRoot(boxPtr, nullptr));
    box.Place({0, 0, 120, 80}, false);
    box.Paint(canvas.dc(), canvas.Whole());
    EXPECT_EQ(c->ItemRect().bottom - c->ItemRect().top, 0);
    EXPECT_EQ(canvas.Pixel(10, 30), 0u);
}

TEST_F(ControlPaint, ContainerClipsChildrenToTheInsetButNotFloatingOnes) {
    CManagerUI manager;
    auto* boxPtr = new CContainerUI;
    CContainerUI& box = *boxPtr;
    auto* plain = new CControlUI;
    auto* floating = new CControlUI;
    Apply(plain, L"bkcolor=\"#FF0000FF\"");
    Apply(floating, L"float=\"true\" pos=\"2,2,12,12\" bkcolor=\"#FFFF0000\"");
    box.Add(plain);
    box.Add(floating);
    Apply(&box, L"inset=\"10,10,10,10\"");
    ASSERT_TRUE(manager.AttachRoot(boxPtr, nullptr));
    box.Place({0, 0, 100, 60}, false);
    // The plain child covers the whole inner area; a wider rectangle is cut.
    plain->Place({0, 0, 100, 60}, false);
    box.Paint(canvas.dc(), canvas.Whole());
    EXPECT_EQ(canvas.Pixel(5, 30), 0u);  // inset: the plain child is clipped
    EXPECT_EQ(canvas.Rgb(50, 30), 0x0000FFu);
    EXPECT_EQ(canvas.Rgb(5, 5), 0xFF0000u);    // floating child over the inset
    EXPECT_EQ(canvas.Rgb(11, 11), 0xFF0000u);  // later children paint over earlier ones
    EXPECT_EQ(canvas.Pixel(105, 30), 0u);      // outside the container
}

TEST_F(ControlPaint, RoundedCornersClipTheLayers) {
    CControlUI c;
    Apply(&c, L"bkcolor=\"#FF00FF00\" borderround=\"20,20\"");
    c.Place({0, 0, 60, 60}, false);
    c.Paint(canvas.dc(), canvas.Whole());
    EXPECT_EQ(canvas.Pixel(0, 0), 0u);
    EXPECT_EQ(canvas.Rgb(30, 30), 0x00FF00u);
}

}  // namespace
}  // namespace SkinUI
