// The command line of skin-render.
#pragma once

#include <string>
#include <vector>

namespace skin_render {

struct AttributeSetting {
    std::wstring control;
    std::wstring attribute;
    std::wstring value;
};

// An event sent to a named control after layout, at the centre of its
// rectangle, so a picture can show hot, pushed or focused states.
struct EventSetting {
    std::wstring control;
    int type = 0;  // a SkinUI::UiEventType value
};

struct RenderOptions {
    std::wstring source;  // skin folder, ZIP file or program with the "ZIP" resource 200
    std::wstring file;    // skin XML inside the source
    std::wstring out;     // PNG to write; optional with --window
    int width = 0;        // 0: the Window element's "size"
    int height = 0;
    std::vector<AttributeSetting> settings;  // --set, in the order given
    std::vector<EventSetting> events;        // --event, in the order given
    bool tree = false;
    bool window = false;   // show the skin in a real window
    int closeAfterMs = 0;  // with --window: close it after this long; 0: the user closes it
};

// Reads argv (without the program name). False with *error set for a
// malformed command line.
bool ParseRenderOptions(const std::vector<std::wstring>& args, RenderOptions* options, std::string* error);

}  // namespace skin_render
