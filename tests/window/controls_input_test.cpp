// The controls in a real window, driven by real input: SendInput goes through
// the system's input queue (cursor position, hit testing, capture, focus and
// key state), as a user's mouse and keyboard would.
#include <gtest/gtest.h>

#include <string>

#include "tests/window/window_fixtures.h"
#include "ui/controls/button_ui.h"
#include "ui/core/manager_ui.h"

namespace SkinUI {
namespace {

using testing_support::CenterOf;
using testing_support::CountNotifications;
using testing_support::PumpUntil;
using testing_support::TestWindow;

const wchar_t kSkin[] =
    L"<Window size=\"300,120\"><Container bkcolor=\"#FFFFFFFF\">"
    L"<Button name=\"ok\" float=\"true\" pos=\"10,10,90,40\" text=\"OK\" />"
    L"<Button name=\"skip\" float=\"true\" pos=\"100,10,180,40\" keyboard=\"false\" />"
    L"<Button name=\"next\" float=\"true\" pos=\"190,10,270,40\" />"
    L"<Option name=\"tick\" float=\"true\" pos=\"10,60,90,90\" />"
    L"<Option name=\"g1\" float=\"true\" pos=\"100,60,180,90\" group=\"g\" selected=\"true\" />"
    L"<Option name=\"g2\" float=\"true\" pos=\"190,60,270,90\" group=\"g\" />"
    L"</Container></Window>";

class ControlsInput : public ::testing::Test {
protected:
    void SetUp() override {
        frame = window.Create(nullptr, kLeft, kTop);
        ASSERT_NE(frame, nullptr);
        ShowWindow(frame, SW_SHOW);
        SetForegroundWindow(frame);
        UpdateWindow(frame);
        PumpUntil([&] { return GetForegroundWindow() == frame; }, 3000);
    }
    void TearDown() override {
        Release();
        // The pointer leaves no window under it for the tests that follow.
        MoveToScreen(GetSystemMetrics(SM_CXSCREEN) - 2, GetSystemMetrics(SM_CYSCREEN) - 2);
        DestroyWindow(frame);
    }

    // Input at client coordinates of the window.
    void MoveTo(int x, int y) {
        POINT screen = {x, y};
        ClientToScreen(frame, &screen);
        MoveToScreen(screen.x, screen.y);
    }
    void MoveToScreen(int x, int y) {
        const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
        INPUT input = {};
        input.type = INPUT_MOUSE;
        input.mi.dx = (x * 65536 + w - 1) / w;
        input.mi.dy = (y * 65536 + h - 1) / h;
        input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        SendInput(1, &input, sizeof(input));
        Settle();
    }
    void Button(bool down) {
        INPUT input = {};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
        SendInput(1, &input, sizeof(input));
        pressed = down;
        Settle();
    }
    void ClickAt(POINT p) {
        MoveTo(p.x, p.y);
        Button(true);
        Button(false);
    }
    void Key(WORD vk) {
        INPUT keys[2] = {};
        keys[0].type = keys[1].type = INPUT_KEYBOARD;
        keys[0].ki.wVk = keys[1].ki.wVk = vk;
        keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, keys, sizeof(INPUT));
        Settle();
    }
    void Release() {
        if (pressed) Button(false);
    }
    // Lets the input arrive and be handled.
    void Settle() {
        const DWORD until = GetTickCount() + 60;
        PumpUntil([&] { return GetTickCount() >= until; }, 1000);
    }
    int Count(const wchar_t* type, const wchar_t* sender) {
        int n = 0;
        for (const auto& r : window.notifications) n += r.type == type && r.sender == sender ? 1 : 0;
        return n;
    }
    CButtonUI* Btn(const wchar_t* name) { return static_cast<CButtonUI*>(window.Find(name)); }
    COptionUI* Opt(const wchar_t* name) { return static_cast<COptionUI*>(window.Find(name)); }

    static constexpr int kLeft = 50;
    static constexpr int kTop = 50;
    TestWindow window{kSkin};
    HWND frame = nullptr;
    bool pressed = false;
};

TEST_F(ControlsInput, ClickHotPushedAndReleaseOutside) {
    const POINT ok = CenterOf(Btn(L"ok"));
    MoveTo(ok.x, ok.y);
    EXPECT_TRUE(PumpUntil([&] { return (Btn(L"ok")->State() & CButtonUI::kHot) != 0; }, 2000));
    Button(true);
    EXPECT_EQ(Btn(L"ok")->State() & (CButtonUI::kPushed | CButtonUI::kCaptured),
              CButtonUI::kPushed | CButtonUI::kCaptured);
    // Out of the button (still inside the window), then out of the window.
    MoveTo(150, 100);
    EXPECT_EQ(Btn(L"ok")->State() & CButtonUI::kPushed, 0u);
    MoveTo(400, 300);
    Button(false);
    EXPECT_EQ(Count(L"click", L"ok"), 0);
    EXPECT_EQ(Btn(L"ok")->State() & (CButtonUI::kPushed | CButtonUI::kCaptured), 0u);

    // Down, out and back in: the release inside clicks.
    MoveTo(ok.x, ok.y);
    Button(true);
    MoveTo(150, 100);
    MoveTo(ok.x, ok.y);
    EXPECT_NE(Btn(L"ok")->State() & CButtonUI::kPushed, 0u);
    Button(false);
    EXPECT_EQ(Count(L"click", L"ok"), 1);
    EXPECT_GE(Count(L"mouseenter", L"ok"), 1);
}

TEST_F(ControlsInput, OptionsToggleAndGroupsSelectOne) {
    ClickAt(CenterOf(Opt(L"tick")));
    EXPECT_TRUE(Opt(L"tick")->IsSelected());
    ClickAt(CenterOf(Opt(L"tick")));
    EXPECT_FALSE(Opt(L"tick")->IsSelected());
    EXPECT_EQ(Count(L"selectchanged", L"tick"), 2);

    EXPECT_TRUE(Opt(L"g1")->IsSelected());
    ClickAt(CenterOf(Opt(L"g2")));
    EXPECT_FALSE(Opt(L"g1")->IsSelected());
    EXPECT_TRUE(Opt(L"g2")->IsSelected());
    ClickAt(CenterOf(Opt(L"g2")));
    EXPECT_TRUE(Opt(L"g2")->IsSelected());
    EXPECT_EQ(Count(L"click", L"g2"), 2);
    EXPECT_EQ(Count(L"selectchanged", L"g2"), 1);
    EXPECT_EQ(Count(L"selectchanged", L"g1"), 0);
}

TEST_F(ControlsInput, TabSkipsTheButtonWithoutKeyboardAndSpaceClicks) {
    CManagerUI* manager = Btn(L"ok")->Manager();
    ASSERT_NE(manager, nullptr);
    // Tab through the controls and note which ones took focus.
    std::wstring visited;
    for (int i = 0; i < 6; ++i) {
        Key(VK_TAB);
        CControlUI* focused = manager->FocusedControl();
        visited += focused != nullptr ? std::wstring(focused->GetName().Data()) + L" " : L"- ";
    }
    EXPECT_EQ(visited.find(L"skip"), std::wstring::npos) << std::string(visited.begin(), visited.end());
    EXPECT_NE(visited.find(L"ok"), std::wstring::npos) << std::string(visited.begin(), visited.end());

    Btn(L"next")->TakeFocus();
    Key(VK_SPACE);
    Key(VK_RETURN);
    EXPECT_EQ(Count(L"click", L"next"), 2);
    Btn(L"skip")->TakeFocus();
    Key(VK_SPACE);
    EXPECT_EQ(Count(L"click", L"skip"), 0);
}

}  // namespace
}  // namespace SkinUI
