// skin-render SOURCE FILE [--out OUT.png] [--window [--close-after MS]]
// [--size W,H] [--set NAME.ATTR=VALUE]... [--event NAME.EVENT]... [--tree]:
// builds a skin with the program's own builder and manager, lays it out at
// (0, 0) with the Window "size" (or --size), sends the --event events, paints
// it with the program's own painter into a 32-bit premultiplied canvas and
// writes it as a PNG with straight alpha. With --window the skin is then
// shown, centred, in a real window of the program's own window base until the
// user closes it (or MS milliseconds pass); the exit code is 0 then.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/skin-check/archive_source.h"
#include "tools/skin-render/png_output.h"
#include "tools/skin-render/preview_window.h"
#include "tools/skin-render/render_options.h"
#include "ui/controls/container_interface.h"
#include "ui/controls/control_ui.h"
#include "ui/core/manager_ui.h"
#include "ui/core/painter_gdi.h"
#include "ui/core/text_convert.h"
#include "ui/skin/skin_builder.h"

namespace {

using SkinUI::CControlUI;
using SkinUI::CManagerUI;

int Usage(const std::string& why) {
    std::fprintf(
        stderr,
        "skin-render: %s\n"
        "usage: skin-render SOURCE FILE [--out OUT.png] [--window [--close-after MS]] [--size W,H]\n"
        "       [--set NAME.ATTR=VALUE]... [--event NAME.EVENT]... [--tree]\n"
        "  SOURCE: a skin folder, a skin ZIP archive, or a program holding the \"ZIP\" resource 200.\n"
        "  FILE: the skin XML inside it. --set applies an attribute to the named control before\n"
        "  layout (in the order given); --event sends mouseenter, mouseleave, buttondown, buttonup,\n"
        "  setfocus or killfocus to the named control after layout, at its centre (to show hot,\n"
        "  pushed or focused states in the PNG); --tree prints the laid-out control tree. --window\n"
        "  shows the skin in a real window (Escape closes it); --close-after closes it after MS\n"
        "  milliseconds.\n",
        why.c_str());
    return 2;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "skin-render: %s\n", message.c_str());
    return 1;
}

std::string Utf8(const std::wstring& text) {
    return SkinUI::UiToUtf8(text.c_str());
}

// The window the manager is bound to: message-only, so it is never shown and
// needs no display. The skin's Window settings are made on it.
class HiddenWindow {
public:
    HiddenWindow() {
        window_ = CreateWindowExW(0, L"STATIC", L"skin-render", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    }
    ~HiddenWindow() {
        if (window_ != nullptr) DestroyWindow(window_);
    }
    HWND handle() const { return window_; }

private:
    HWND window_ = nullptr;
};

// A top-down 32-bit DIB section selected into a memory DC, filled with one
// pixel value.
class Canvas {
public:
    Canvas(int width, int height, uint32_t fill) {
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = SkinUI::CreateDib32(dc_, width, height, &bits_);
        if (bitmap_ != nullptr) old_ = SelectObject(dc_, bitmap_);
        if (bits_ != nullptr) std::fill(bits_, bits_ + static_cast<size_t>(width) * height, fill);
    }
    ~Canvas() {
        if (old_ != nullptr) SelectObject(dc_, old_);
        if (bitmap_ != nullptr) DeleteObject(bitmap_);
        if (dc_ != nullptr) DeleteDC(dc_);
    }
    bool ok() const { return bits_ != nullptr; }
    HDC dc() const { return dc_; }
    const uint32_t* pixels() const {
        GdiFlush();
        return bits_;
    }

private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    uint32_t* bits_ = nullptr;
};

CControlUI* CollectPending(CControlUI* control, void* data) {
    if (control->LayoutPending()) static_cast<std::vector<CControlUI*>*>(data)->push_back(control);
    return nullptr;
}

// Places the root, then whatever asked for layout again while it was placed
// (a scroll bar appearing, for instance), a bounded number of rounds.
void LayOut(CControlUI* root, int width, int height) {
    root->Place({0, 0, width, height}, true);
    for (int round = 0; round < 4; ++round) {
        std::vector<CControlUI*> pending;
        root->Search(CollectPending, &pending,
                     SkinUI::SearchVisible | SkinUI::SearchUpdateTest | SkinUI::SearchMeFirst);
        if (pending.empty()) break;
        for (CControlUI* control : pending) {
            control->Place(control->IsFloating() ? control->RectInParent() : control->ItemRect(), true);
        }
    }
}

void PrintTree(CControlUI* control, int depth) {
    RECT r = control->ItemRect();
    std::wstring name = control->GetName().Data();
    std::printf("%s%s %s %ld,%ld,%ld,%ld %d\n", std::string(static_cast<size_t>(depth) * 2, ' ').c_str(),
                Utf8(control->ClassName()).c_str(), name.empty() ? "-" : Utf8(name).c_str(), r.left, r.top,
                r.right, r.bottom, control->IsVisible() ? 1 : 0);
    auto* container = static_cast<SkinUI::IContainerUI*>(control->InterfaceFor(L"IContainer"));
    if (container == nullptr) return;
    for (int i = 0; i < container->ItemCount(); ++i) PrintTree(container->ItemAt(i), depth + 1);
}

// Builds and lays out the skin from the source RenderAndShow set up; writes
// the PNG when --out is given.
int Render(const skin_render::RenderOptions& options) {
    HiddenWindow window;
    if (window.handle() == nullptr) return Fail("cannot create the hidden window");
    CManagerUI manager;
    manager.AttachWindow(window.handle());
    SkinUI::CSkinBuilder builder;
    CControlUI* root = builder.Create(options.file.c_str(), nullptr, nullptr, &manager, nullptr);
    if (root == nullptr) {
        std::string message = "cannot build " + Utf8(options.file);
        const SkinUI::UiChar* why = builder.Document().ErrorMessageText();
        if (why != nullptr && why[0] != 0) message += ": " + Utf8(why);
        const SkinUI::UiChar* where = builder.Document().ErrorLocationText();
        if (where != nullptr && where[0] != 0) message += " at \"" + Utf8(where) + "\"";
        return Fail(message);
    }
    manager.AttachRoot(root, nullptr);

    int width = options.width;
    int height = options.height;
    if (width == 0) {
        width = manager.StartSize().cx;
        height = manager.StartSize().cy;
    }
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384) {
        return Fail("the skin gives no usable Window \"size\"; use --size W,H");
    }

    for (const skin_render::AttributeSetting& setting : options.settings) {
        CControlUI* control = manager.FindControl(setting.control.c_str());
        if (control == nullptr) return Fail("no control named " + Utf8(setting.control));
        control->SetAttribute(setting.attribute.c_str(), setting.value.c_str());
    }

    LayOut(root, width, height);
    for (const skin_render::EventSetting& setting : options.events) {
        CControlUI* control = manager.FindControl(setting.control.c_str());
        if (control == nullptr) return Fail("no control named " + Utf8(setting.control));
        const RECT r = control->ItemRect();
        SkinUI::UiEvent event;
        event.type = setting.type;
        event.sender = control;
        event.mousePoint = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        event.timestamp = GetTickCount();
        control->DispatchEvent(event);
    }
    if (options.tree) PrintTree(root, 0);

    if (options.out.empty()) return 0;
    // A transparent premultiplied canvas, as a layered window paints on.
    Canvas canvas(width, height, 0);
    if (!canvas.ok()) return Fail("cannot create a canvas of that size");
    RECT whole = {0, 0, width, height};
    root->Paint(canvas.dc(), whole);
    std::vector<uint8_t> rgba =
        skin_render::StraightRgbaFromPremultiplied(canvas.pixels(), static_cast<size_t>(width) * height);
    if (!skin_render::WritePng(options.out, rgba, width, height)) {
        return Fail("cannot write " + Utf8(options.out));
    }
    return 0;
}

// Checks the skin builds (with a clear message when it does not, rather than
// the window base's message box), writes the PNG when asked, then shows the
// window. The archive bytes stay alive until the window is closed.
int RenderAndShow(const skin_render::RenderOptions& options) {
    std::vector<unsigned char> archive;
    const DWORD attributes = GetFileAttributesW(options.source.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return Fail("cannot open " + Utf8(options.source));
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        CManagerUI::SetSkinFolderPath(options.source.c_str());
    } else {
        std::string error;
        if (!skin_check::LoadArchiveBytes(options.source.c_str(), &archive, &error)) {
            return Fail(Utf8(options.source) + ": " + error);
        }
        CManagerUI::UseSkinArchiveMemory(archive.data(), archive.size());
    }
    const int rendered = Render(options);
    if (rendered != 0 || !options.window) return rendered;
    return skin_render::RunPreviewWindow(options);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::vector<std::wstring> args(argv + 1, argv + argc);
    skin_render::RenderOptions options;
    std::string error;
    if (!skin_render::ParseRenderOptions(args, &options, &error)) return Usage(error);
    return RenderAndShow(options);
}
