// The manager's message handling in a real window under Wine: mouse
// tracking and capture, Tab order, timers, queued notifications, painting
// on both paths and the tooltip. Messages are sent to the window the way
// the system would send them.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/window/window_fixtures.h"
#include "ui/controls/container_interface.h"

namespace SkinUI {
namespace testing_support {
namespace {

const wchar_t* const kRowSkin =
    L"<Window size=\"300,200\">"
    L"<VerticalLayout name=\"root\" bkcolor=\"#FFFFFFFF\">"
    L"<HorizontalLayout name=\"row\" height=\"60\">"
    L"<Probe name=\"a\" width=\"100\" tooltip=\"tip of a\"/><Probe name=\"b\" width=\"100\"/>"
    L"<Probe name=\"c\" width=\"100\"/>"
    L"</HorizontalLayout>"
    L"<Control name=\"rest\"/>"
    L"</VerticalLayout></Window>";

class ShownWindow : public ::testing::Test {
protected:
    explicit ShownWindow(const wchar_t* skin = kRowSkin) : window_(skin) {}
    void SetUp() override {
        frame_ = window_.Create();
        ASSERT_NE(frame_, nullptr);
        ShowWindow(frame_, SW_SHOWNOACTIVATE);
        UpdateWindow(frame_);
        PumpPending();
        EventLog().clear();
    }
    void TearDown() override {
        if (IsWindow(frame_)) DestroyWindow(frame_);
    }
    std::vector<RecordedEvent> EventsOf(const wchar_t* name) const {
        std::vector<RecordedEvent> out;
        for (const RecordedEvent& e : EventLog()) {
            if (e.control == name) out.push_back(e);
        }
        return out;
    }
    LRESULT Send(UINT msg, WPARAM wParam, int x, int y) {
        return SendMessageW(frame_, msg, wParam, PointParam(x, y));
    }
    POINT At(const wchar_t* name) { return CenterOf(window_.Find(name)); }

    TestWindow window_;
    HWND frame_ = nullptr;
};

using MouseTest = ShownWindow;

TEST_F(MouseTest, MovingFromOneControlToAnotherLeavesEntersAndMovesWithOneTimestamp) {
    const POINT a = At(L"a");
    const POINT b = At(L"b");
    Send(WM_MOUSEMOVE, 0, a.x, a.y);
    EventLog().clear();
    Send(WM_MOUSEMOVE, 0, b.x, b.y);
    const std::vector<RecordedEvent>& log = EventLog();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].control, L"a");
    EXPECT_EQ(log[0].type, EventMouseLeave);
    EXPECT_EQ(log[1].control, L"b");
    EXPECT_EQ(log[1].type, EventMouseEnter);
    EXPECT_EQ(log[2].control, L"b");
    EXPECT_EQ(log[2].type, EventMouseMove);
    for (const RecordedEvent& e : log) {
        EXPECT_EQ(e.timestamp, log[0].timestamp);
        EXPECT_EQ(e.point.x, b.x);
        EXPECT_EQ(e.point.y, b.y);
    }
    EXPECT_EQ(CountNotifications(window_, L"mouseleave"), 1);
    EXPECT_EQ(CountNotifications(window_, L"mouseenter"), 2);
}

TEST_F(MouseTest, LeavingTheWindowReachesTheHoverControlThroughTheSyntheticMove) {
    const POINT a = At(L"a");
    Send(WM_MOUSEMOVE, 0, a.x, a.y);
    EventLog().clear();
    SendMessageW(frame_, WM_MOUSELEAVE, 0, 0);
    ASSERT_EQ(EventLog().size(), 1u);
    EXPECT_EQ(EventLog()[0].control, L"a");
    EXPECT_EQ(EventLog()[0].type, EventMouseLeave);
    EXPECT_EQ(EventLog()[0].point.x, -1);
    // Tracking is re-armed by the next move: the next leave works again.
    Send(WM_MOUSEMOVE, 0, a.x, a.y);
    SendMessageW(frame_, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(EventsOf(L"a").back().type, EventMouseLeave);
}

TEST_F(MouseTest, PressedControlKeepsTheMouseUntilReleaseEvenOutsideTheWindow) {
    const POINT a = At(L"a");
    const POINT b = At(L"b");
    Send(WM_MOUSEMOVE, 0, a.x, a.y);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, a.x, a.y);
    EXPECT_EQ(GetCapture(), frame_);
    EXPECT_TRUE(window_.Manager().HasCapture());
    EXPECT_EQ(window_.Manager().FocusedControl(), window_.Find(L"a"));
    EventLog().clear();
    Send(WM_MOUSEMOVE, MK_LBUTTON, b.x, b.y);
    // b is hovered now, but the moves go to the pressed control.
    std::vector<RecordedEvent> moves = EventsOf(L"a");
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(moves.back().type, EventMouseMove);
    EXPECT_EQ(moves.back().point.x, b.x);
    for (const RecordedEvent& e : EventsOf(L"b")) EXPECT_NE(e.type, EventMouseMove);

    Send(WM_LBUTTONUP, 0, -40, 500);
    std::vector<RecordedEvent> ups = EventsOf(L"a");
    ASSERT_FALSE(ups.empty());
    EXPECT_EQ(ups.back().type, EventButtonUp);
    EXPECT_EQ(ups.back().point.x, -40);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_FALSE(window_.Manager().HasCapture());
    // Released outside: no click.
    EXPECT_EQ(CountNotifications(window_, L"click"), 0);
    for (const RecordedEvent& e : EventsOf(L"b")) EXPECT_NE(e.type, EventButtonUp);

    // Pressed and released inside: one click, to the pressed control.
    Send(WM_LBUTTONDOWN, MK_LBUTTON, b.x, b.y);
    Send(WM_LBUTTONUP, 0, b.x, b.y);
    ASSERT_EQ(CountNotifications(window_, L"click"), 1);
    EXPECT_EQ(window_.notifications.back().sender, L"b");
}

TEST_F(MouseTest, EraseBackgroundIsAnsweredWithoutErasing) {
    HDC dc = GetDC(frame_);
    EXPECT_EQ(SendMessageW(frame_, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
    ReleaseDC(frame_, dc);
}

// Tab order through the pre-translation, as the message loop runs it.
class TabTest : public ShownWindow {
protected:
    void PressTab(bool shift) {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
        PostMessageW(frame_, WM_KEYDOWN, VK_TAB, 0);
        PumpPending();
        keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
    }
    std::wstring Focused() {
        CControlUI* focused = window_.Manager().FocusedControl();
        return focused != nullptr ? std::wstring(focused->GetName().Data()) : L"(none)";
    }
};

TEST_F(TabTest, TabCyclesForwardAndWrapsShiftTabGoesBack) {
    // The first paint gave focus to the first tab stop.
    EXPECT_EQ(Focused(), L"a");
    PressTab(false);
    EXPECT_EQ(Focused(), L"b");
    PressTab(false);
    EXPECT_EQ(Focused(), L"c");
    PressTab(false);
    EXPECT_EQ(Focused(), L"a");
    PressTab(true);
    EXPECT_EQ(Focused(), L"c");
    PressTab(true);
    EXPECT_EQ(Focused(), L"b");
    // A disabled control is skipped.
    window_.Find(L"c")->SetEnabled(false);
    PressTab(false);
    EXPECT_EQ(Focused(), L"a");
    // Focus changes are notified.
    EXPECT_GT(CountNotifications(window_, L"setfocus"), 0);
    EXPECT_GT(CountNotifications(window_, L"killfocus"), 0);
}

TEST_F(TabTest, KeysGoToTheFocusedControlAndTheKeyUpToTheSameOne) {
    EXPECT_EQ(Focused(), L"a");
    SendMessageW(frame_, WM_KEYDOWN, 'X', 0);
    window_.Find(L"b")->TakeFocus();
    SendMessageW(frame_, WM_CHAR, 'x', 0);
    SendMessageW(frame_, WM_KEYUP, 'X', 0);
    std::vector<RecordedEvent> a = EventsOf(L"a");
    std::vector<RecordedEvent> b = EventsOf(L"b");
    auto has = [](const std::vector<RecordedEvent>& events, int type) {
        for (const RecordedEvent& e : events) {
            if (e.type == type) return true;
        }
        return false;
    };
    EXPECT_TRUE(has(a, EventKeyDown));
    EXPECT_TRUE(has(a, EventKeyUp));
    EXPECT_TRUE(has(b, EventChar));
    EXPECT_FALSE(has(b, EventKeyUp));
}

TEST_F(ShownWindow, TwoControlsWithOneTimerIdEachGetTheirOwn) {
    CManagerUI& manager = window_.Manager();
    CControlUI* a = window_.Find(L"a");
    CControlUI* b = window_.Find(L"b");
    ASSERT_TRUE(manager.StartTimer(a, 7, 10));
    ASSERT_TRUE(manager.StartTimer(b, 7, 10));
    EXPECT_FALSE(manager.StartTimer(a, 7, 10));  // already running
    auto timerCount = [&](const wchar_t* name) {
        int n = 0;
        for (const RecordedEvent& e : EventsOf(name)) n += (e.type == EventTimer && e.wParam == 7) ? 1 : 0;
        return n;
    };
    ASSERT_TRUE(PumpUntil([&] { return timerCount(L"a") >= 2 && timerCount(L"b") >= 2; }));
    EXPECT_TRUE(manager.StopTimer(a, 7));
    EXPECT_FALSE(manager.StopTimer(a, 7));
    PumpPending();
    const int stoppedAt = timerCount(L"a");
    const int bBefore = timerCount(L"b");
    ASSERT_TRUE(PumpUntil([&] { return timerCount(L"b") >= bBefore + 3; }));
    EXPECT_EQ(timerCount(L"a"), stoppedAt);
    // A stopped timer starts again.
    EXPECT_TRUE(manager.StartTimer(a, 7, 10));
    ASSERT_TRUE(PumpUntil([&] { return timerCount(L"a") > stoppedAt; }));
    // A deleted control's timers stop with it.
    manager.StopTimers(a);
    manager.StopTimers(b);
}

TEST_F(ShownWindow, QueuedNotificationArrivesAtTheNextMessageAndWithoutItsDeletedSender) {
    CManagerUI& manager = window_.Manager();
    CControlUI* a = window_.Find(L"a");
    window_.notifications.clear();
    manager.RaiseNotify(a, L"later", 0, 0, true);
    EXPECT_EQ(CountNotifications(window_, L"later"), 0);
    SendMessageW(frame_, WM_NULL, 0, 0);
    ASSERT_EQ(CountNotifications(window_, L"later"), 1);
    EXPECT_EQ(window_.notifications.back().sender, L"a");

    // The sender goes away while its notification waits.
    CControlUI* b = window_.Find(L"b");
    manager.RaiseNotify(b, L"orphan", 0, 0, true);
    auto* row = static_cast<IContainerUI*>(window_.Find(L"row")->InterfaceFor(L"IContainer"));
    ASSERT_NE(row, nullptr);
    row->Remove(b);
    EXPECT_EQ(manager.DelayedControlCount(), 1);
    manager.DeleteDelayedControls();
    SendMessageW(frame_, WM_NULL, 0, 0);
    ASSERT_EQ(CountNotifications(window_, L"orphan"), 1);
    EXPECT_FALSE(window_.notifications.back().hasSender);
    EXPECT_EQ(window_.Find(L"b"), nullptr);

    // A removed control waits for WM_APP+1 to be deleted.
    row->Remove(window_.Find(L"c"));
    EXPECT_EQ(manager.DelayedControlCount(), 1);
    PumpPending();
    EXPECT_EQ(manager.DelayedControlCount(), 0);
    EXPECT_EQ(window_.Find(L"c"), nullptr);
}

TEST_F(ShownWindow, TooltipShowsOverTheHoveredControlAndHidesOnLeave) {
    const POINT a = At(L"a");
    Send(WM_MOUSEMOVE, 0, a.x, a.y);
    Send(WM_MOUSEHOVER, 0, a.x, a.y);
    HWND tip = window_.Manager().TooltipWindow();
    ASSERT_NE(tip, nullptr);
    PumpPending();
    EXPECT_TRUE(IsWindowVisible(tip));
    wchar_t text[64] = {};
    TOOLINFOW tool = {};
    tool.cbSize = sizeof(tool);
    tool.hwnd = frame_;
    tool.uId = reinterpret_cast<UINT_PTR>(frame_);
    tool.lpszText = text;
    SendMessageW(tip, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, L"tip of a");
    EXPECT_TRUE(SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool)));
    RECT itemA = window_.Find(L"a")->ItemRect();
    EXPECT_TRUE(EqualRect(&tool.rect, &itemA));
    // The hover reached the control too.
    EXPECT_EQ(EventsOf(L"a").back().type, EventMouseHover);

    SendMessageW(frame_, WM_MOUSELEAVE, 0, 0);
    PumpPending();
    EXPECT_FALSE(IsWindowVisible(tip));

    // A control without a tooltip text shows none; the hover still reaches it.
    const POINT b = At(L"b");
    Send(WM_MOUSEMOVE, 0, b.x, b.y);
    Send(WM_MOUSEHOVER, 0, b.x, b.y);
    PumpPending();
    EXPECT_FALSE(IsWindowVisible(tip));
    EXPECT_EQ(EventsOf(L"b").back().type, EventMouseHover);
}

// Reads a client pixel of a shown window as 0xRRGGBB.
uint32_t ScreenRgb(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

TEST_F(ShownWindow, NormalPathCopiesOnlyTheUpdateRectangle) {
    auto* a = static_cast<ProbeControl*>(window_.Find(L"a"));
    RECT item = a->ItemRect();
    EXPECT_EQ(ScreenRgb(frame_, item.left + 10, item.top + 10), 0x008000u);
    // The new colour is drawn everywhere, but only the invalid half is copied.
    a->SetFill(RGB(0, 0, 255));
    RECT half = {item.left, item.top, item.left + 50, item.bottom};
    InvalidateRect(frame_, &half, FALSE);
    UpdateWindow(frame_);
    EXPECT_EQ(ScreenRgb(frame_, item.left + 10, item.top + 10), 0x0000FFu);
    EXPECT_EQ(ScreenRgb(frame_, item.left + 80, item.top + 10), 0x008000u);
    // Nothing invalid: WM_PAINT paints nothing and is still handled.
    a->SetFill(RGB(255, 0, 0));
    EXPECT_EQ(SendMessageW(frame_, WM_PAINT, 0, 0), 0);
    EXPECT_EQ(ScreenRgb(frame_, item.left + 10, item.top + 10), 0x0000FFu);
}

class LayeredTest : public ShownWindow {
protected:
    LayeredTest()
        : ShownWindow(
              L"<Window size=\"120,80\" layerd=\"true\">"
              L"<VerticalLayout name=\"root\">"
              L"<Control name=\"solid\" height=\"20\" bkcolor=\"#FF0000FF\"/>"
              L"<Control name=\"half\" height=\"20\" bkcolor=\"#80FF0000\"/>"
              L"<Control name=\"empty\"/>"
              L"</VerticalLayout></Window>") {}
};

TEST_F(LayeredTest, LayeredWindowGetsItsStyleAtTheFirstLayoutAndLeavesUndrawnPixelsTransparent) {
    EXPECT_NE(GetWindowLongW(frame_, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    EXPECT_EQ(CountNotifications(window_, L"windowinit"), 1);
    HBITMAP canvas = window_.Manager().LayeredCanvas();
    ASSERT_NE(canvas, nullptr);
    DIBSECTION dib = {};
    ASSERT_EQ(GetObjectW(canvas, sizeof(dib), &dib), static_cast<int>(sizeof(dib)));
    ASSERT_EQ(dib.dsBm.bmWidth, 120);
    GdiFlush();
    const auto* bits = static_cast<const uint32_t*>(dib.dsBm.bmBits);
    auto pixel = [&](int x, int y) { return bits[y * 120 + x]; };
    EXPECT_EQ(pixel(10, 10), 0xFF0000FFu);
    // Half-transparent red, premultiplied.
    const uint32_t half = pixel(10, 30);
    EXPECT_EQ(half >> 24, 0x80u);
    EXPECT_NEAR(static_cast<int>((half >> 16) & 0xFF), 0x80, 1);
    EXPECT_EQ(half & 0xFFFF, 0u);
    EXPECT_EQ(pixel(10, 60), 0u);
    EXPECT_EQ(pixel(119, 79), 0u);
}

}  // namespace
}  // namespace testing_support
}  // namespace SkinUI
