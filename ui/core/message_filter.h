// The hooks a window's owner can put into the manager's message handling:
// message filters (before the built-in handling, or before dispatch) and
// accelerator objects (before dispatch).
#pragma once

#include <windows.h>

namespace SkinUI {

class IMessageFilterUI {
public:
    // Set handled to consume the message; the result is then the message's.
    virtual LRESULT MessageHandler(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) = 0;

protected:
    ~IMessageFilterUI() = default;
};

class ITranslateAccelerator {
public:
    // 0 (S_OK) consumes the message.
    virtual LRESULT TranslateAccelerator(MSG* msg) = 0;

protected:
    ~ITranslateAccelerator() = default;
};

}  // namespace SkinUI
