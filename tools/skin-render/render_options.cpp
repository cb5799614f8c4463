#include "tools/skin-render/render_options.h"

#include <cwchar>

namespace skin_render {

namespace {

bool ParseSize(const std::wstring& text, int* width, int* height) {
    wchar_t* end = nullptr;
    long w = std::wcstol(text.c_str(), &end, 10);
    if (end == text.c_str() || (*end != L',' && *end != L'x')) return false;
    const wchar_t* rest = end + 1;
    long h = std::wcstol(rest, &end, 10);
    if (end == rest || *end != 0 || w <= 0 || h <= 0 || w > 16384 || h > 16384) return false;
    *width = static_cast<int>(w);
    *height = static_cast<int>(h);
    return true;
}

// The events --event knows, by the names a skin author would use.
int EventType(const std::wstring& name) {
    static const struct {
        const wchar_t* name;
        int type;
    } kEvents[] = {{L"mouseenter", 11}, {L"mouseleave", 10}, {L"buttondown", 13},
                   {L"buttonup", 14},   {L"setfocus", 21},   {L"killfocus", 20}};
    for (const auto& e : kEvents) {
        if (name == e.name) return e.type;
    }
    return 0;
}

}  // namespace

bool ParseRenderOptions(const std::vector<std::wstring>& args, RenderOptions* options, std::string* error) {
    std::vector<std::wstring> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::wstring& arg = args[i];
        auto value = [&](std::wstring* out) {
            if (i + 1 >= args.size()) return false;
            *out = args[++i];
            return true;
        };
        std::wstring v;
        if (arg == L"--out") {
            if (!value(&options->out)) return *error = "--out needs a file name", false;
        } else if (arg == L"--size") {
            if (!value(&v) || !ParseSize(v, &options->width, &options->height)) {
                return *error = "--size needs W,H with positive numbers", false;
            }
        } else if (arg == L"--set") {
            if (!value(&v)) return *error = "--set needs NAME.ATTR=VALUE", false;
            size_t dot = v.find(L'.');
            size_t eq = dot == std::wstring::npos ? std::wstring::npos : v.find(L'=', dot + 1);
            if (dot == 0 || dot == std::wstring::npos || eq == std::wstring::npos || eq == dot + 1) {
                return *error = "--set needs NAME.ATTR=VALUE", false;
            }
            options->settings.push_back(
                {v.substr(0, dot), v.substr(dot + 1, eq - dot - 1), v.substr(eq + 1)});
        } else if (arg == L"--event") {
            if (!value(&v)) return *error = "--event needs NAME.EVENT", false;
            size_t dot = v.rfind(L'.');
            const int type = dot == std::wstring::npos ? 0 : EventType(v.substr(dot + 1));
            if (dot == 0 || type == 0) {
                return *error =
                           "--event needs NAME.EVENT, EVENT one of mouseenter, mouseleave, buttondown, "
                           "buttonup, setfocus, killfocus",
                       false;
            }
            options->events.push_back({v.substr(0, dot), type});
        } else if (arg == L"--tree") {
            options->tree = true;
        } else if (arg == L"--window") {
            options->window = true;
        } else if (arg == L"--close-after") {
            wchar_t* end = nullptr;
            long ms = value(&v) ? std::wcstol(v.c_str(), &end, 10) : -1;
            if (end == nullptr || end == v.c_str() || *end != 0 || ms <= 0 || ms > 86400000) {
                return *error = "--close-after needs milliseconds (1 to 86400000)", false;
            }
            options->closeAfterMs = static_cast<int>(ms);
        } else if (arg.size() > 1 && arg[0] == L'-' && arg[1] == L'-') {
            return *error = "unknown option", false;
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 2) return *error = "need SOURCE and FILE", false;
    if (options->out.empty() && !options->window) return *error = "need --out OUT.png or --window", false;
    if (options->closeAfterMs != 0 && !options->window) return *error = "--close-after needs --window", false;
    options->source = positional[0];
    options->file = positional[1];
    return true;
}

}  // namespace skin_render
