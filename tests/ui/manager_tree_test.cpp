#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/ui/controls_fixtures.h"
#include "ui/controls/button_ui.h"
#include "ui/controls/container_ui.h"
#include "ui/controls/vertical_layout_ui.h"
#include "ui/core/manager_ui.h"

namespace SkinUI {
namespace {

using testing_support::WindowedManager;

struct Recorder : INotifyUI {
    void Notify(NotifyMsg& msg) override {
        types.push_back(std::wstring(msg.type.Data()));
        senders.push_back(msg.sender);
    }
    std::vector<std::wstring> types;
    std::vector<CControlUI*> senders;
};

// root (vertical layout "root") holding a button "ok", a container holding a
// label "a" and a button "b".
class ManagerTree : public ::testing::Test {
protected:
    void SetUp() override {
        root = new CVerticalLayoutUI;
        root->SetName(L"root");
        ok = new CButtonUI;
        ok->SetName(L"ok");
        box = new CContainerUI;
        a = new CLabelUI;
        a->SetName(L"a");
        b = new CButtonUI;
        b->SetName(L"B");
        box->Add(a);
        box->Add(b);
        root->Add(ok);
        root->Add(box);
        ASSERT_TRUE(wm.manager().AttachRoot(root, nullptr));
        wm.manager().AddNotifyListener(&recorder);
    }

    WindowedManager wm;
    Recorder recorder;
    CVerticalLayoutUI* root = nullptr;
    CButtonUI* ok = nullptr;
    CContainerUI* box = nullptr;
    CLabelUI* a = nullptr;
    CButtonUI* b = nullptr;
};

TEST_F(ManagerTree, AttachingBindsEveryControl) {
    CManagerUI& m = wm.manager();
    EXPECT_EQ(m.Root(), root);
    EXPECT_EQ(a->Manager(), &m);
    EXPECT_EQ(a->Parent(), box);
    EXPECT_EQ(box->Parent(), root);
    EXPECT_EQ(m.FindControl(L"B"), b);
    EXPECT_EQ(m.FindControl(L"b"), nullptr);  // exact
    EXPECT_EQ(m.FindDescendantByName(nullptr, L"b"), b);
    EXPECT_EQ(m.FindDescendantOfClass(nullptr, L"ButtonUI", 0), ok);
    EXPECT_EQ(m.FindDescendantOfClass(nullptr, L"ButtonUI", 1), b);
    EXPECT_EQ(m.FindDescendantOfClass(nullptr, L"ButtonUI", 2), nullptr);
    EXPECT_EQ(m.CollectDescendantsOfClass(box, L"*")->GetSize(), 3);
    EXPECT_EQ(m.CollectDescendantsOfClass(nullptr, L"LabelUI")->GetSize(), 1);

    // Added later: bound and named at once.
    auto* late = new CControlUI;
    late->SetName(L"late");
    box->Add(late);
    EXPECT_EQ(m.FindControl(L"late"), late);
    EXPECT_EQ(late->Manager(), &m);
}

TEST_F(ManagerTree, SynchronousAndQueuedNotifications) {
    CManagerUI& m = wm.manager();
    m.RaiseNotify(ok, L"click");
    ASSERT_EQ(recorder.types.size(), 1u);
    EXPECT_EQ(recorder.senders[0], ok);
    m.RaiseNotify(b, L"later", 1, 2, true);
    m.RaiseNotify(a, L"gone", 0, 0, true);
    EXPECT_EQ(recorder.types.size(), 1u);  // not inside the raising code
    box->SetDelayedDestroy(false);
    box->Remove(a);  // deleted now: its queued notification loses the sender
    m.DrainNotifyQueue();
    ASSERT_EQ(recorder.types.size(), 3u);
    EXPECT_EQ(recorder.types[1], L"later");
    EXPECT_EQ(recorder.senders[1], b);
    EXPECT_EQ(recorder.types[2], L"gone");
    EXPECT_EQ(recorder.senders[2], nullptr);
    EXPECT_EQ(m.FindControl(L"a"), nullptr);
    EXPECT_TRUE(m.RemoveNotifyListener(&recorder));
    EXPECT_FALSE(m.RemoveNotifyListener(&recorder));
}

TEST_F(ManagerTree, FocusNotificationsAndForgetting) {
    CManagerUI& m = wm.manager();
    ok->TakeFocus();
    b->TakeFocus();
    EXPECT_EQ(m.FocusedControl(), b);
    EXPECT_FALSE(ok->HasFocus());
    EXPECT_TRUE(b->HasFocus());
    std::vector<std::wstring> expected = {L"setfocus", L"killfocus", L"setfocus"};
    EXPECT_EQ(recorder.types, expected);
    b->SetEnabled(false);
    a->TakeFocus();
    EXPECT_EQ(m.FocusedControl(), a);
    b->TakeFocus();  // disabled: focus goes nowhere
    EXPECT_EQ(m.FocusedControl(), nullptr);
    a->TakeFocus();
    m.ForgetControl(a);
    EXPECT_EQ(m.FocusedControl(), nullptr);
}

TEST_F(ManagerTree, OptionGroups) {
    CManagerUI& m = wm.manager();
    EXPECT_TRUE(m.JoinOptionGroup(L"g", ok));
    EXPECT_TRUE(m.JoinOptionGroup(L"g", b));
    EXPECT_FALSE(m.JoinOptionGroup(L"g", b));
    ASSERT_NE(m.OptionGroupMembers(L"g"), nullptr);
    EXPECT_EQ(m.OptionGroupMembers(L"g")->GetSize(), 2);
    m.LeaveOptionGroup(L"g", ok);
    m.LeaveOptionGroup(L"g", b);
    EXPECT_EQ(m.OptionGroupMembers(L"g"), nullptr);
    m.JoinOptionGroup(L"h", a);
    m.ClearOptionGroups();
    EXPECT_EQ(m.OptionGroupMembers(L"h"), nullptr);
}

TEST_F(ManagerTree, NewRootReplacesTheOldOneLater) {
    CManagerUI& m = wm.manager();
    auto* second = new CContainerUI;
    ASSERT_TRUE(m.AttachRoot(second, nullptr));
    EXPECT_EQ(m.Root(), second);
    EXPECT_EQ(m.DelayedControlCount(), 1);
    m.DeleteDelayedControls();
    EXPECT_EQ(m.FindControl(L"ok"), nullptr);
    EXPECT_FALSE(m.AttachRoot(nullptr, nullptr));
    EXPECT_EQ(m.Root(), second);
}

TEST_F(ManagerTree, SeparatorDragResizesTheLayout) {
    CManagerUI& m = wm.manager();
    ok->SetAttribute(L"height", L"20");
    root->SetAttribute(L"sepheight", L"4");
    root->SetAttribute(L"minheight", L"50");
    root->Place({0, 0, 100, 100}, false);
    EXPECT_EQ(root->InputFlags(), InputSetCursor);
    UiEvent down;
    down.type = EventButtonDown;
    down.mousePoint = {50, 98};
    root->DispatchEvent(down);
    EXPECT_EQ(m.AfterPaintCount(), 1);
    UiEvent move;
    move.type = EventMouseMove;
    move.mousePoint = {50, 78};
    root->DispatchEvent(move);
    EXPECT_EQ(root->DeclaredHeight(), 80);
    move.mousePoint = {50, 10};  // would go below the minimum: stops there
    root->DispatchEvent(move);
    EXPECT_EQ(root->DeclaredHeight(), 50);
    move.mousePoint = {50, 5};
    root->DispatchEvent(move);
    EXPECT_EQ(root->DeclaredHeight(), 50);
    UiEvent up;
    up.type = EventButtonUp;
    up.mousePoint = {50, 5};
    root->DispatchEvent(up);
    EXPECT_EQ(m.AfterPaintCount(), 0);
    EXPECT_EQ(root->ItemRect().bottom, 50);
    EXPECT_TRUE(root->LayoutPending());
}

}  // namespace
}  // namespace SkinUI
