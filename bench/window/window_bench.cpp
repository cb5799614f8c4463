// The skinned window's figures, one mode per run (bench/run-window-bench
// starts it beside bare_layered under the same Wine and display):
//   first-frame SKIN   ms from process creation to the first layered update
//   frames SKIN N      whole-tree layout and paint into the canvas, N frames
//   hover SKIN         what a hover change invalidates on the normal path
//   resident SKIN      shows the window and waits (the script reads memory)
//   cycles SKIN N      opens and closes the window N times; objects before/after
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/window/process_clock.h"
#include "ui/controls/control_ui.h"
#include "ui/core/painter_gdi.h"
#include "ui/core/window_impl_base.h"

namespace {

using SkinUI::CControlUI;
using SkinUI::UiString;

double NowMs() {
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

double atMain = 0;
double atCreated = 0;

class BenchWindow : public SkinUI::WindowImplBase {
public:
    bool exitAtFirstPaint = false;
    const SkinUI::UiChar* WindowClassName() const override { return L"SkinUIBenchWindow"; }
    UiString SkinFolder() override { return UiString(); }
    UiString SkinFile() override { return UiString(L"bench.xml"); }

protected:
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        LRESULT result = WindowImplBase::OnWindowMessage(msg, wParam, lParam);
        if (msg == WM_PAINT && exitAtFirstPaint) {
            // The paint just handed the canvas to UpdateLayeredWindow.
            // Where the time went: Wine's start up to main, the skin's load
            // and build in WM_CREATE, then layout, paint and the update.
            std::printf("first-frame %.1f main %.1f created %.1f\n", MsSinceProcessStart(), atMain,
                        atCreated);
            std::fflush(stdout);
            ExitProcess(0);
        }
        return result;
    }
};

HWND Open(BenchWindow& window, bool layered = true) {
    HWND frame = window.CreateFrame(nullptr, L"bench", WS_POPUP | WS_MINIMIZEBOX, 0);
    if (frame == nullptr) {
        std::fprintf(stderr, "cannot create the window\n");
        std::exit(1);
    }
    if (!layered) window.Manager().SetPerPixelAlpha(false);
    window.CenterOnOwner();
    return frame;
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (SkinUI::CManagerUI::PreRouteMessage(&msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

int FirstFrame() {
    BenchWindow window;
    window.exitAtFirstPaint = true;
    Open(window);
    atCreated = MsSinceProcessStart();
    window.RunModalLoop(SW_SHOWNORMAL);
    return 1;  // not reached: the first paint ends the process
}

int Frames(int count) {
    BenchWindow window;
    HWND frame = Open(window);
    CControlUI* root = window.Manager().Root();
    RECT client;
    GetClientRect(frame, &client);
    HDC dc = CreateCompatibleDC(nullptr);
    uint32_t* bits = nullptr;
    HBITMAP canvas = SkinUI::CreateDib32(dc, client.right, client.bottom, &bits);
    HGDIOBJ old = SelectObject(dc, canvas);
    std::vector<double> times;
    for (int i = 0; i < count + 5; ++i) {
        const double start = NowMs();
        root->RequestLayout();
        root->Place(client, false);
        std::memset(bits, 0, static_cast<size_t>(client.right) * client.bottom * 4);
        root->Paint(dc, client);
        GdiFlush();
        if (i >= 5) times.push_back(NowMs() - start);  // the first frames load images and fonts
    }
    SelectObject(dc, old);
    DeleteObject(canvas);
    DeleteDC(dc);
    std::sort(times.begin(), times.end());
    std::printf("frame-median-ms %.3f\nframe-p90-ms %.3f\nframe-min-ms %.3f\n", times[times.size() / 2],
                times[times.size() * 9 / 10], times.front());
    DestroyWindow(frame);
    return 0;
}

int Hover() {
    BenchWindow window;
    HWND frame = Open(window, false);
    ShowWindow(frame, SW_SHOWNOACTIVATE);
    UpdateWindow(frame);
    Pump();
    const wchar_t* names[] = {L"install", L"browse", L"install"};
    for (const wchar_t* name : names) {
        CControlUI* control = window.Manager().FindControl(name);
        RECT item = control->ItemRect();
        ValidateRect(frame, nullptr);
        SendMessageW(frame, WM_MOUSEMOVE, 0,
                     MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2));
        RECT update = {0, 0, 0, 0};
        const bool any = GetUpdateRect(frame, &update, FALSE) != FALSE;
        std::printf("hover %ls item %ld,%ld,%ld,%ld update %s %ld,%ld,%ld,%ld\n", name, item.left, item.top,
                    item.right, item.bottom, any ? "yes" : "none", update.left, update.top, update.right,
                    update.bottom);
        UpdateWindow(frame);
    }
    DestroyWindow(frame);
    return 0;
}

int Resident() {
    BenchWindow window;
    HWND frame = Open(window);
    ShowWindow(frame, SW_SHOWNOACTIVATE);
    UpdateWindow(frame);
    Pump();
    std::printf("ready\n");
    std::fflush(stdout);
    const DWORD until = GetTickCount() + 4000;
    while (GetTickCount() < until) {
        Pump();
        Sleep(20);
    }
    DestroyWindow(frame);
    return 0;
}

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

int ThreadWindows() {
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

size_t WorkingSet() {
    // Not every Wine fills PrivateUsage; the working set is there.
    using GetInfo = BOOL(WINAPI*)(HANDLE, void*, DWORD);
    static auto getInfo = reinterpret_cast<GetInfo>(
        reinterpret_cast<void*>(GetProcAddress(LoadLibraryW(L"psapi.dll"), "GetProcessMemoryInfo")));
    struct {
        DWORD cb;
        DWORD pageFaults;
        SIZE_T peak, workingSet, a, b, c, d, e, f;
    } info = {};
    info.cb = sizeof(info);
    if (getInfo == nullptr || !getInfo(GetCurrentProcess(), &info, sizeof(info))) return 0;
    return info.workingSet;
}

void PrintObjects(const char* when) {
    std::printf("%s gdi %lu user %lu windows %d working-set-kib %zu\n", when,
                GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS),
                GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), ThreadWindows(), WorkingSet() / 1024);
}

void OpenAndClose(bool hover) {
    BenchWindow window;
    HWND frame = Open(window);
    ShowWindow(frame, SW_SHOWNOACTIVATE);
    UpdateWindow(frame);
    if (hover) {
        // Hover with a tooltip, so the tooltip window is part of the cycle.
        CControlUI* close = window.Manager().FindControl(L"closebtn");
        RECT item = close->ItemRect();
        const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
        SendMessageW(frame, WM_MOUSEMOVE, 0, at);
        SendMessageW(frame, WM_MOUSEHOVER, 0, at);
    }
    Pump();
    window.CloseFrame(0);
    while (IsWindow(frame)) {
        MSG msg;
        if (GetMessageW(&msg, nullptr, 0, 0) <= 0) break;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

int Cycles(int count) {
    // One round first: process-wide objects (fonts, the shared resources,
    // class registration) are made once.
    OpenAndClose(true);
    PrintObjects("before");
    for (int i = 0; i < count; ++i) OpenAndClose(true);
    PrintObjects("after");
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    atMain = MsSinceProcessStart();
    if (argc < 3) {
        std::fprintf(stderr, "usage: window_bench first-frame|frames|hover|resident|cycles SKIN [N]\n");
        return 2;
    }
    SkinUI::CManagerUI::SetModuleInstance(GetModuleHandleW(nullptr));
    SkinUI::CManagerUI::SetSkinFolderPath(argv[2]);
    const std::wstring mode = argv[1];
    const int n = argc > 3 ? _wtoi(argv[3]) : 200;
    if (mode == L"first-frame") return FirstFrame();
    if (mode == L"frames") return Frames(n);
    if (mode == L"hover") return Hover();
    if (mode == L"resident") return Resident();
    if (mode == L"cycles") return Cycles(n);
    return 2;
}
