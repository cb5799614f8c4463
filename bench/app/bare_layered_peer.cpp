// The installer's peer in the start-up and size benchmarks: a bare static GUI
// program with libcurl and jsoncpp linked in (both used, so the linker keeps
// what a real use keeps), which shows one layered window of the install
// window's size, centred like it, and paints one opaque frame.

#include <windows.h>

#include <curl/curl.h>
#include <json/json.h>

#include <sstream>

namespace {

constexpr int kWidth = 718;
constexpr int kHeight = 463;
constexpr DWORD kColor = 0xFF1FA89Cu;  // opaque, premultiplied

LRESULT CALLBACK Procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CLOSE) {
        DestroyWindow(window);
        return 0;
    }
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, msg, wParam, lParam);
}

void PaintFrame(HWND window) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = -kHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    auto* pixels = static_cast<DWORD*>(bits);
    for (int i = 0; i < kWidth * kHeight; ++i) pixels[i] = kColor;
    RECT rect;
    GetWindowRect(window, &rect);
    POINT source = {0, 0};
    POINT where = {rect.left, rect.top};
    SIZE size = {kWidth, kHeight};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    UpdateLayeredWindow(window, screen, &where, &size, dc, &source, 0, &blend, ULW_ALPHA);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    curl_global_init(CURL_GLOBAL_ALL);
    CURL* curl = curl_easy_init();
    curl_easy_setopt(curl, CURLOPT_URL, "https://127.0.0.1:1/");
    curl_easy_cleanup(curl);
    Json::Value root;
    Json::Reader reader;
    std::istringstream("{\"version\":\"1\"}") >> root;
    reader.parse("{\"size\":1}", root);

    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = &Procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = L"BarePeer";
    RegisterClassW(&windowClass);
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int x = (work.left + work.right) / 2 - kWidth / 2;
    const int y = (work.top + work.bottom) / 2 - kHeight / 2;
    HWND window = CreateWindowExW(WS_EX_LAYERED | WS_EX_APPWINDOW, L"BarePeer", L"", WS_POPUP, x, y, kWidth,
                                  kHeight, nullptr, nullptr, instance, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    PaintFrame(window);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
