// The peer of window_bench: a bare Win32 program that creates a 718 × 463
// layered window and pushes one premultiplied bitmap with
// UpdateLayeredWindow, nothing else.
//   first-frame   ms from process creation to the first layered update
//   resident      shows the window and waits (the script reads memory)
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "bench/window/process_clock.h"

namespace {

constexpr int kWidth = 718;
constexpr int kHeight = 463;

HWND ShowLayered() {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"BareLayered";
    RegisterClassW(&wc);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& work = monitor.rcWork;
    const int x = (work.left + work.right) / 2 - kWidth / 2;
    const int y = (work.top + work.bottom) / 2 - kHeight / 2;
    HWND window = CreateWindowExW(WS_EX_LAYERED, L"BareLayered", L"bare", WS_POPUP, x, y, kWidth, kHeight,
                                  nullptr, nullptr, wc.hInstance, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);

    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = -kHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    auto* pixels = static_cast<uint32_t*>(bits);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const uint32_t a = (x < 3 || y < 3) ? 128 : 255;
            const uint32_t r = 40 * a / 255, g = 110 * a / 255, b = 220 * a / 255;
            pixels[y * kWidth + x] = (a << 24) | (r << 16) | (g << 8) | b;
        }
    }
    POINT destination = {x, y};
    POINT source = {0, 0};
    SIZE size = {kWidth, kHeight};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    UpdateLayeredWindow(window, nullptr, &destination, &size, dc, &source, 0, &blend, ULW_ALPHA);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return window;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const double atMain = MsSinceProcessStart();
    const std::wstring mode = argc > 1 ? argv[1] : L"first-frame";
    ShowLayered();
    if (mode == L"first-frame") {
        std::printf("first-frame %.1f main %.1f\n", MsSinceProcessStart(), atMain);
        std::fflush(stdout);
        ExitProcess(0);
    }
    std::printf("ready\n");
    std::fflush(stdout);
    const DWORD until = GetTickCount() + 4000;
    while (GetTickCount() < until) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        Sleep(20);
    }
    return 0;
}
