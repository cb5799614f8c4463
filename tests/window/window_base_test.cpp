// The window base under Wine: skin loading at creation, hit testing of the
// borderless frame, the modal loop's close codes and owner, rounded regions
// and the failure of a skin without a root.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/window/window_fixtures.h"

namespace SkinUI {
namespace testing_support {
namespace {

const wchar_t* const kFrameSkin =
    L"<Window size=\"300,200\" caption=\"0,0,0,40\" sizebox=\"4,4,4,4\">"
    L"<VerticalLayout name=\"root\" bkcolor=\"#FFFFFFFF\">"
    L"<HorizontalLayout name=\"bar\" height=\"40\">"
    L"<Label name=\"title\" width=\"120\"/><Button name=\"closebtn\" width=\"40\"/><Control name=\"spacer\"/>"
    L"</HorizontalLayout>"
    L"<HorizontalLayout name=\"row\" height=\"60\">"
    L"<Probe name=\"a\" width=\"100\"/><Probe name=\"b\" width=\"100\"/><Probe name=\"c\" width=\"100\"/>"
    L"</HorizontalLayout>"
    L"<Control name=\"rest\"/>"
    L"</VerticalLayout></Window>";

TEST(WindowBaseTest, CreationBuildsTheSkinAndWindowInitComesOnceAtTheFirstPaint) {
    TestWindow window(kFrameSkin);
    ASSERT_NE(window.Create(), nullptr);
    EXPECT_EQ(window.initCount, 1);
    ASSERT_NE(window.Find(L"closebtn"), nullptr);
    RECT client;
    GetClientRect(window.FrameWindow(), &client);
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 200);
    EXPECT_EQ(GetWindowLongW(window.FrameWindow(), GWL_STYLE) & WS_CAPTION, 0);
    // Never shown, never painted: no "windowinit".
    PumpPending();
    EXPECT_EQ(CountNotifications(window, L"windowinit"), 0);

    ShowWindow(window.FrameWindow(), SW_SHOWNOACTIVATE);
    UpdateWindow(window.FrameWindow());
    InvalidateRect(window.FrameWindow(), nullptr, FALSE);
    UpdateWindow(window.FrameWindow());
    PumpPending();
    EXPECT_EQ(CountNotifications(window, L"windowinit"), 1);
    // The controls had their places when it came.
    EXPECT_EQ(window.Find(L"closebtn")->ItemRect().left, 120);
}

TEST(WindowBaseTest, HitTestingOfCaptionBordersAndClient) {
    TestWindow window(kFrameSkin);
    HWND frame = window.Create(nullptr, 100, 100);
    ASSERT_NE(frame, nullptr);
    ShowWindow(frame, SW_SHOWNOACTIVATE);
    UpdateWindow(frame);
    PumpPending();
    struct Case {
        const char* what;
        int x, y;  // client coordinates
        LRESULT expected;
    } cases[] = {
        {"label in the caption drags", 60, 20, HTCAPTION},
        {"empty control in the caption drags", 250, 20, HTCAPTION},
        {"button in the caption is clicked", 140, 20, HTCLIENT},
        {"below the caption", 150, 100, HTCLIENT},
        {"top-left corner", 1, 1, HTTOPLEFT},
        {"top-right corner", 298, 2, HTTOPRIGHT},
        {"bottom-left corner", 2, 198, HTBOTTOMLEFT},
        {"bottom-right corner", 299, 199, HTBOTTOMRIGHT},
        {"top edge", 150, 1, HTTOP},
        {"left edge", 1, 100, HTLEFT},
        {"right edge", 298, 100, HTRIGHT},
        {"bottom edge", 150, 198, HTBOTTOM},
    };
    for (const Case& c : cases) {
        POINT screen = {c.x, c.y};
        ClientToScreen(frame, &screen);
        LRESULT hit = SendMessageW(frame, WM_NCHITTEST, 0, PointParam(screen.x, screen.y));
        EXPECT_EQ(hit, c.expected) << c.what;
    }
}

TEST(WindowBaseTest, RoundedCornersClipTheWindow) {
    TestWindow window(
        L"<Window size=\"718,463\" roundcorner=\"3,3\"><VerticalLayout bkcolor=\"#FFFFFFFF\"/></Window>");
    HWND frame = window.Create();
    ASSERT_NE(frame, nullptr);
    HRGN actual = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(frame, actual), ERROR);
    HRGN expected = CreateRoundRectRgn(0, 0, 719, 464, 3, 3);
    EXPECT_TRUE(EqualRgn(actual, expected));
    DeleteObject(actual);
    DeleteObject(expected);
}

// A plain owner window for the modal tests.
HWND MakeOwner() {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SkinUITestOwner";
    RegisterClassW(&wc);
    return CreateWindowExW(0, L"SkinUITestOwner", L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
}

TEST(WindowBaseTest, ModalLoopReturnsTheCloseCodeAndGivesTheOwnerBack) {
    HWND owner = MakeOwner();
    ASSERT_NE(owner, nullptr);
    {
        TestWindow window(kFrameSkin);
        ASSERT_NE(window.Create(owner), nullptr);
        bool ownerDisabledInLoop = false;
        window.onUserMessage = [&](UINT) {
            ownerDisabledInLoop = !IsWindowEnabled(owner);
            window.CloseFrame(5);
        };
        window.PostToFrame(WM_USER + 1);
        EXPECT_EQ(window.RunModalLoop(), 5u);
        EXPECT_TRUE(ownerDisabledInLoop);
        EXPECT_TRUE(IsWindowEnabled(owner));
        EXPECT_EQ(window.FrameWindow(), nullptr);
    }
    {
        // Escape goes through the pre-filter to OnDialogKey: close code 1.
        TestWindow window(kFrameSkin);
        ASSERT_NE(window.Create(owner), nullptr);
        window.PostToFrame(WM_KEYDOWN, VK_ESCAPE, 0);
        // Not activated: without a window manager, Wine waits seconds for an
        // active window to go.
        EXPECT_EQ(window.RunModalLoop(SW_SHOWNOACTIVATE), 1u);
    }
    {
        // Return does nothing by default; a sent WM_CLOSE gives code 0.
        TestWindow window(kFrameSkin);
        ASSERT_NE(window.Create(owner), nullptr);
        bool aliveAfterReturn = false;
        window.onUserMessage = [&](UINT) {
            aliveAfterReturn = IsWindow(window.FrameWindow()) != FALSE;
            window.SendToFrame(WM_SYSCOMMAND, SC_CLOSE, 0);
        };
        window.PostToFrame(WM_KEYDOWN, VK_RETURN, 0);
        window.PostToFrame(WM_USER + 1);
        EXPECT_EQ(window.RunModalLoop(SW_SHOWNOACTIVATE), 0u);
        EXPECT_TRUE(aliveAfterReturn);
    }
    {
        // A disabled owner: the window is closed at once.
        TestWindow window(kFrameSkin);
        ASSERT_NE(window.Create(owner), nullptr);
        EnableWindow(owner, FALSE);
        EXPECT_EQ(window.RunModalLoop(SW_SHOWNOACTIVATE), static_cast<UINT>(-1));
        EnableWindow(owner, TRUE);
        EXPECT_EQ(window.FrameWindow(), nullptr);
    }
    DestroyWindow(owner);
}

TEST(WindowBaseTest, CenterOnOwnerCentresOverTheOwner) {
    HWND owner = MakeOwner();
    SetWindowPos(owner, nullptr, 200, 150, 600, 400, SWP_NOZORDER | SWP_NOACTIVATE);
    TestWindow window(kFrameSkin);
    ASSERT_NE(window.Create(owner, 0, 0), nullptr);
    window.CenterOnOwner();
    RECT rc;
    GetWindowRect(window.FrameWindow(), &rc);
    EXPECT_EQ(rc.left, 200 + 300 - 150);
    EXPECT_EQ(rc.top, 150 + 200 - 100);
    DestroyWindow(window.FrameWindow());
    DestroyWindow(owner);
}

}  // namespace
}  // namespace testing_support
}  // namespace SkinUI
