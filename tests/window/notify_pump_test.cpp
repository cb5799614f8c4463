// Notification maps: a row naming the sender wins over a row for any
// control, a class's rows come before its base's, and virtual windows get
// their notifications first.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/controls/control_ui.h"
#include "ui/core/notify_pump.h"

namespace SkinUI {
namespace {

std::vector<std::string>& Calls() {
    static std::vector<std::string> calls;
    return calls;
}

class BasePump : public CNotifyPump {
public:
    void AnyClick(NotifyMsg&) { Calls().push_back("base any click"); }
    void BaseOnly(NotifyMsg&) { Calls().push_back("base select"); }

protected:
    const NotifyMapTable* NotifyMap() const override {
        static const NotifyMapEntry entries[] = {
            NotifyEntry(L"click", L"", &BasePump::AnyClick),
            NotifyEntry(L"selectchanged", nullptr, &BasePump::BaseOnly),
            NotifyMapEnd(),
        };
        static const NotifyMapTable table = {CNotifyPump::NotifyMap(), entries};
        return &table;
    }
};

// A second base first, so the pump's this-adjustment is not zero.
struct Padding {
    virtual ~Padding() = default;
    int filler[4] = {};
};

class FormPump : public Padding, public BasePump {
public:
    void OkClick(NotifyMsg& msg) { Calls().push_back("form ok click " + std::to_string(msg.wParam) + Tag()); }
    void AnyTimer(WPARAM wParam, LPARAM lParam) {
        Calls().push_back("form timer " + std::to_string(wParam) + "," + std::to_string(lParam) + Tag());
    }
    void LateAny(NotifyMsg&) { Calls().push_back("form late any click"); }
    std::string Tag() const { return tag; }
    std::string tag = "!";

protected:
    const NotifyMapTable* NotifyMap() const override {
        static const NotifyMapEntry entries[] = {
            NotifyEntry(L"click", L"ok", &FormPump::OkClick),
            NotifyEntry(L"timer", L"", &FormPump::AnyTimer),
            NotifyMapEnd(),
        };
        static const NotifyMapTable table = {BasePump::NotifyMap(), entries};
        return &table;
    }
};

class PagePump : public CNotifyPump {
public:
    void PageClick(NotifyMsg&) { Calls().push_back("page click"); }

protected:
    const NotifyMapTable* NotifyMap() const override {
        static const NotifyMapEntry entries[] = {NotifyEntry(L"click", L"ok", &PagePump::PageClick),
                                                 NotifyMapEnd()};
        static const NotifyMapTable table = {nullptr, entries};
        return &table;
    }
};

NotifyMsg Message(const wchar_t* type, CControlUI* sender, WPARAM wParam = 0, LPARAM lParam = 0) {
    NotifyMsg msg;
    msg.type = type;
    msg.sender = sender;
    msg.wParam = wParam;
    msg.lParam = lParam;
    return msg;
}

TEST(NotifyPumpTest, RowsByNameThenAnyThenBaseTables) {
    CControlUI ok;
    ok.SetName(L"ok");
    CControlUI other;
    other.SetName(L"other");
    FormPump pump;
    struct Case {
        NotifyMsg msg;
        bool handled;
        const char* call;
    } cases[] = {
        {Message(L"click", &ok, 3), true, "form ok click 3!"},
        {Message(L"click", &other), true, "base any click"},
        {Message(L"click", nullptr), true, "base any click"},
        {Message(L"timer", &other, 7, 9), true, "form timer 7,9!"},
        {Message(L"selectchanged", &ok), true, "base select"},
        {Message(L"Click", &ok), false, ""},
        {Message(L"menu", &ok), false, ""},
    };
    for (Case& c : cases) {
        Calls().clear();
        EXPECT_EQ(pump.DispatchByMap(c.msg), c.handled) << c.call;
        if (c.handled) {
            ASSERT_EQ(Calls().size(), 1u) << c.call;
            EXPECT_EQ(Calls()[0], c.call);
        } else {
            EXPECT_TRUE(Calls().empty());
        }
    }
}

TEST(NotifyPumpTest, VirtualWindowsGetTheirNotificationsFirst) {
    CControlUI ok;
    ok.SetName(L"ok");
    FormPump form;
    PagePump page;
    EXPECT_TRUE(form.AddVirtualWindow(L"Page", &page));
    EXPECT_FALSE(form.AddVirtualWindow(L"Page", &page));

    NotifyMsg msg = Message(L"click", &ok);
    msg.virtualWnd = L"page";
    Calls().clear();
    form.RouteNotify(msg);
    ASSERT_EQ(Calls().size(), 1u);
    EXPECT_EQ(Calls()[0], "page click");

    // Not handled there: the form's own tables.
    msg.type = L"timer";
    Calls().clear();
    form.RouteNotify(msg);
    ASSERT_EQ(Calls().size(), 1u);
    EXPECT_EQ(Calls()[0], "form timer 0,0!");

    EXPECT_TRUE(form.RemoveVirtualWindow(L"Page"));
    EXPECT_FALSE(form.RemoveVirtualWindow(L"Page"));
    msg.type = L"click";
    Calls().clear();
    form.RouteNotify(msg);
    ASSERT_EQ(Calls().size(), 1u);
    EXPECT_EQ(Calls()[0], "form ok click 0!");
}

}  // namespace
}  // namespace SkinUI
