// Control painting benchmarks, each beside the bare GDI calls that draw the
// same content on the same kind of canvas (a 32-bit DIB section):
//   label:    CLabelUI with a 40-character CJK text and end ellipsis, against
//             DrawTextW of that text with DT_END_ELLIPSIS in the same font;
//   button:   CButtonUI with normal, hot and pushed images, painted in each
//             state in turn, against AlphaBlend of the same images and
//             DrawTextW of its caption;
//   progress: CProgressUI with a track and a fore image at 50 %, against two
//             AlphaBlend calls (track stretched over the bar, fill over half);
//   lifetime: constructing and destroying 1,000 labels (each starts and
//             stops GDI+), beside 1,000 plain controls and 1,000 bare
//             GdiplusStartup/GdiplusShutdown pairs, to show where the time goes.
// Prints medians over interleaved runs, in microseconds per paint (the
// lifetime rows: per label, measured 1,000 at a time).
//   controls_bench SKIN_FOLDER [RUNS]
#include <windows.h>

#include <objidl.h>

#include <gdiplus.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/controls/button_ui.h"
#include "ui/controls/container_ui.h"
#include "ui/controls/label_ui.h"
#include "ui/controls/progress_ui.h"
#include "ui/core/manager_ui.h"
#include "ui/core/painter.h"
#include "ui/core/painter_gdi.h"
#include "ui/skin/image_entry.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace SkinUI;

struct Measure {
    const char* name;
    int repeat;  // calls per timed run
    std::function<void()> work;
    std::vector<double> times;  // per call, microseconds

    void RunOnce() {
        const auto start = Clock::now();
        for (int i = 0; i < repeat; ++i) work();
        GdiFlush();
        times.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count() / repeat);
    }
    double Median() {
        std::sort(times.begin(), times.end());
        return times[times.size() / 2];
    }
};

void Row(const char* what, const char* unit, double ours, double reference, double target) {
    const double ratio = ours / reference;
    if (target == 0) {
        std::printf("| %-52s | %-6s | %9.2f | %9.2f | %6.2f | %-10s |\n", what, unit, ours, reference, ratio,
                    "(info)");
        return;
    }
    std::printf("| %-52s | %-6s | %9.2f | %9.2f | %6.2f | <= %.1f %s |\n", what, unit, ours, reference, ratio,
                target, ratio <= target ? "ok  " : "MISS");
}

class Canvas {
public:
    Canvas(int width, int height) {
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDib32(dc_, width, height, &bits_);
        old_ = SelectObject(dc_, bitmap_);
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }

private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    uint32_t* bits_ = nullptr;
};

void BlendImage(HDC dc, const ImageEntry* image, const RECT& dest) {
    ScopedMemoryDC memory(dc);
    ScopedSelect select(memory.get(), image->bitmap);
    BlendPremultiplied(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, memory.get(),
                       0, 0, image->width, image->height, 255);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: controls_bench SKIN_FOLDER [RUNS]\n");
        return 2;
    }
    const int runs = argc > 2 ? _wtoi(argv[2]) : 15;
    CManagerUI::SetSkinFolderPath(argv[1]);
    HWND window = CreateWindowExW(0, L"STATIC", L"controls bench", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    auto manager = std::make_unique<CManagerUI>();
    if (window != nullptr) manager->AttachWindow(window);
    manager->ReplaceDefaultFont(L"WenQuanYi Micro Hei", 14, false, false, false, false);
    manager->ChangeDefaultTextColor(0xFF333333u, false);
    auto* root = new CContainerUI;
    manager->AttachRoot(root, nullptr);
    Canvas canvas(800, 120);
    HDC dc = canvas.dc();

    // --- label
    const wchar_t* cjk =
        L"安装程序正在下载完整的安装包请稍候下载完成后将自动开始安装过程并显示进度和结果信息";
    auto* label = new CLabelUI;
    label->ApplyAttributeString(
        L"float=\"true\" pos=\"0,0,200,30\" endellipsis=\"true\" textcolor=\"#FF333333\"");
    label->SetText(cjk);
    root->Add(label);
    // --- button: one in each state, painted in turn (events are not timed)
    CButtonUI* buttons[3];
    for (int i = 0; i < 3; ++i) {
        buttons[i] = new CButtonUI;
        buttons[i]->ApplyAttributeString(
            L"float=\"true\" pos=\"0,40,96,68\" normalimage=\"png/normal.png\" hotimage=\"png/hot.png\" "
            L"pushedimage=\"png/pushed.png\" text=\"立即安装\" textcolor=\"#FF333333\"");
        root->Add(buttons[i]);
    }
    CButtonUI* button = buttons[0];
    // --- progress
    auto* bar = new CProgressUI;
    bar->ApplyAttributeString(
        L"float=\"true\" pos=\"0,80,700,84\" bkimage=\"png/track.png\" foreimage=\"png/fill.png\" "
        L"value=\"50\"");
    root->Add(bar);
    root->Place({0, 0, 800, 120}, false);
    {
        UiEvent e;
        e.mousePoint = {10, 50};
        e.type = EventMouseEnter;
        buttons[1]->HandleEvent(e);
        e.type = EventButtonDown;
        buttons[2]->HandleEvent(e);
    }

    ImageEntry* images[3] = {manager->FindOrLoadImage(L"png/normal.png", nullptr, 0, false),
                             manager->FindOrLoadImage(L"png/hot.png", nullptr, 0, false),
                             manager->FindOrLoadImage(L"png/pushed.png", nullptr, 0, false)};
    ImageEntry* track = manager->FindOrLoadImage(L"png/track.png", nullptr, 0, false);
    ImageEntry* fill = manager->FindOrLoadImage(L"png/fill.png", nullptr, 0, false);
    if (images[0] == nullptr || images[1] == nullptr || images[2] == nullptr || track == nullptr ||
        fill == nullptr) {
        std::fprintf(stderr, "controls_bench: images not found under the skin folder\n");
        return 1;
    }
    HFONT font = manager->FontHandle(-1);
    const int length = static_cast<int>(wcslen(cjk));

    Measure labelOurs{"label", 200, [&] { label->Paint(dc, label->ItemRect()); }, {}};
    // The same label when its text changes before every paint (nothing kept
    // can be reused): the first paint of a text.
    const wchar_t* cjk2 =
        L"安装程序正在下载完整的安装包请稍候下载完成后将自动开始安装过程并显示进度和结果消息";
    int flip = 0;
    Measure labelCold{"label cold",
                      200,
                      [&] {
                          label->SetText((flip ^= 1) != 0 ? cjk2 : cjk);
                          label->Paint(dc, label->ItemRect());
                      },
                      {}};
    Measure labelBare{"label bare",
                      200,
                      [&] {
                          ScopedSelect select(dc, font);
                          SetBkMode(dc, TRANSPARENT);
                          SetTextColor(dc, RGB(0x33, 0x33, 0x33));
                          RECT r = label->ItemRect();
                          DrawTextW(dc, cjk, length, &r,
                                    DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
                      },
                      {}};
    int state = 0;
    Measure buttonOurs{"button",
                       200,
                       [&] {
                           buttons[state]->Paint(dc, button->ItemRect());
                           state = (state + 1) % 3;
                       },
                       {}};
    int bareState = 0;
    Measure buttonBare{"button bare",
                       200,
                       [&] {
                           RECT r = button->ItemRect();
                           BlendImage(dc, images[bareState], r);
                           bareState = (bareState + 1) % 3;
                           ScopedSelect select(dc, font);
                           SetBkMode(dc, TRANSPARENT);
                           SetTextColor(dc, RGB(0x33, 0x33, 0x33));
                           DrawTextW(dc, L"立即安装", 4, &r,
                                     DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX);
                       },
                       {}};
    Measure progressOurs{"progress", 200, [&] { bar->Paint(dc, bar->ItemRect()); }, {}};
    Measure progressBare{"progress bare",
                         200,
                         [&] {
                             RECT r = bar->ItemRect();
                             BlendImage(dc, track, r);
                             r.right = r.left + 350;
                             BlendImage(dc, fill, r);
                         },
                         {}};
    Measure labelsLife{"1000 labels",
                       1,
                       [] {
                           for (int i = 0; i < 1000; ++i) delete new CLabelUI;
                       },
                       {}};
    Measure controlsLife{"1000 controls",
                         1,
                         [] {
                             for (int i = 0; i < 1000; ++i) delete new CControlUI;
                         },
                         {}};
    Measure gdiplusPairs{"1000 GDI+ start/stop",
                         1,
                         [] {
                             for (int i = 0; i < 1000; ++i) {
                                 ULONG_PTR token = 0;
                                 Gdiplus::GdiplusStartupInput input;
                                 Gdiplus::GdiplusStartup(&token, &input, nullptr);
                                 Gdiplus::GdiplusShutdown(token);
                             }
                         },
                         {}};
    // A label alive meanwhile keeps GDI+ loaded, as in a window.
    Measure labelsLifeLoaded = labelsLife;
    labelsLifeLoaded.name = "1000 labels (GDI+ kept up)";

    for (Measure* m : {&labelOurs, &labelBare, &buttonOurs, &buttonBare, &progressOurs, &progressBare})
        m->RunOnce();
    for (Measure* m : {&labelOurs, &labelBare, &buttonOurs, &buttonBare, &progressOurs, &progressBare})
        m->times.clear();
    for (int r = 0; r < runs; ++r) {
        for (Measure* m : {&labelOurs, &labelBare, &buttonOurs, &buttonBare, &progressOurs, &progressBare}) {
            m->RunOnce();
        }
    }
    for (int r = 0; r < runs; ++r) labelCold.RunOnce();
    // What the painter's text routine pays besides DrawTextW: a scratch DC
    // and DIB of the text rectangle, made and freed per call.
    Measure scratch{"scratch",
                    200,
                    [&] {
                        ScopedMemoryDC memory(dc);
                        uint32_t* bits = nullptr;
                        ScopedGdiObject<HBITMAP> bitmap(CreateDib32(dc, 200, 30, &bits));
                        ScopedSelect select(memory.get(), bitmap.get());
                    },
                    {}};
    Measure painterText{"painter text",
                        200,
                        [&] {
                            CPainter::DrawPlainText(dc, manager.get(), label->ItemRect(), cjk, 0xFF333333u,
                                                    -1, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
                        },
                        {}};
    for (int r = 0; r < runs; ++r) {
        scratch.RunOnce();
        painterText.RunOnce();
    }

    // The lifetime rows: first with no label alive (the tree goes), then
    // with one kept up.
    const int lifeRuns = std::max(3, runs / 3);
    manager.reset();
    for (int r = 0; r < lifeRuns; ++r) {
        labelsLife.RunOnce();
        controlsLife.RunOnce();
        gdiplusPairs.RunOnce();
    }
    {
        CLabelUI keeper;
        for (int r = 0; r < lifeRuns; ++r) labelsLifeLoaded.RunOnce();
    }

    std::printf("Control painting benchmarks: medians of %d interleaved runs (lifetime rows: %d)\n", runs,
                lifeRuns);
    std::printf("| %-52s | %-6s | %9s | %9s | %6s | %-10s |\n", "benchmark", "unit", "ours", "bare", "ratio",
                "target");
    std::printf("|%s|%s|%s|%s|%s|%s|\n", std::string(54, '-').c_str(), std::string(8, '-').c_str(),
                std::string(11, '-').c_str(), std::string(11, '-').c_str(), std::string(8, '-').c_str(),
                std::string(12, '-').c_str());
    Row("label, 40 CJK chars, end ellipsis vs DrawTextW", "us", labelOurs.Median(), labelBare.Median(), 2.0);
    Row("button, 3 state images in turn vs AlphaBlend+DrawTextW", "us", buttonOurs.Median(),
        buttonBare.Median(), 2.0);
    Row("progress, track + fore image vs 2 x AlphaBlend", "us", progressOurs.Median(), progressBare.Median(),
        2.0);
    Row("label, text changed before each paint, vs DrawTextW", "us", labelCold.Median(), labelBare.Median(),
        0);
    Row("CPainter::DrawPlainText of the label's text vs DrawTextW", "us", painterText.Median(),
        labelBare.Median(), 0);
    Row("scratch DC + 200x30 DIB per text vs DrawTextW", "us", scratch.Median(), labelBare.Median(), 0);
    Row("label made and deleted vs GDI+ start/stop alone", "us", labelsLife.Median() / 1000.0,
        gdiplusPairs.Median() / 1000.0, 0);
    Row("label made and deleted, GDI+ kept up elsewhere, vs same", "us", labelsLifeLoaded.Median() / 1000.0,
        labelsLife.Median() / 1000.0, 0);
    Row("plain control made and deleted vs label", "us", controlsLife.Median() / 1000.0,
        labelsLife.Median() / 1000.0, 0);
    if (window != nullptr) DestroyWindow(window);
    return 0;
}
