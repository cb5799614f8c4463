// The --window mode of skin-render: the skin in a real window of the
// program's own window base, centred on the screen, with hover, press, Tab,
// tooltips and caption dragging live.
#pragma once

#include <string>
#include <vector>

#include "tools/skin-render/render_options.h"

namespace skin_render {

// Shows the skin (its source already set up) until the user closes the
// window or closeAfterMs passes. 0 when the window was shown and closed, 1
// with a message on stderr otherwise.
int RunPreviewWindow(const RenderOptions& options);

}  // namespace skin_render
