// A program whose window's skin yields no root control: the window base
// shows its message box and ends the process with exit code 1.
#include "tests/window/window_fixtures.h"

int wmain() {
    SkinUI::testing_support::TestWindow window(L"<Window size=\"100,100\"></Window>");
    window.Create();
    // Not reached: the skin failure ends the process.
    return 0;
}
