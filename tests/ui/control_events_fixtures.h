// Helpers of the control event tests: a notification recorder, events sent
// straight to a control's HandleEvent, and a tree attached to a manager.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/controls/control_ui.h"
#include "ui/core/manager_ui.h"
#include "ui/core/ui_event.h"

namespace SkinUI {
namespace testing_support {

struct NotifyRecorder : INotifyUI {
    void Notify(NotifyMsg& msg) override {
        types.push_back(std::wstring(msg.type.Data()));
        senders.push_back(msg.sender);
        wParams.push_back(msg.wParam);
    }
    void Clear() {
        types.clear();
        senders.clear();
        wParams.clear();
    }
    // "type:name" of each notification, in order.
    std::vector<std::wstring> Log() const {
        std::vector<std::wstring> log;
        for (size_t i = 0; i < types.size(); ++i) {
            std::wstring name = senders[i] != nullptr ? senders[i]->GetName().Data() : L"";
            log.push_back(types[i] + L":" + name);
        }
        return log;
    }
    std::vector<std::wstring> types;
    std::vector<CControlUI*> senders;
    std::vector<WPARAM> wParams;
};

inline void Send(CControlUI* control, int type, int x = 0, int y = 0, WORD key = 0) {
    UiEvent event;
    event.type = type;
    event.sender = control;
    event.mousePoint = {x, y};
    event.keyChar = key;
    control->HandleEvent(event);
}

// Colours equal within 2 in each of red, green and blue (text coverage
// rounds).
inline bool NearRgb(uint32_t a, uint32_t b) {
    for (int shift : {0, 8, 16}) {
        const int x = int((a >> shift) & 0xFF), y = int((b >> shift) & 0xFF);
        if (x - y > 2 || y - x > 2) return false;
    }
    return true;
}

// Whether the manager's window has a pending repaint; clears it.
inline bool TakeRepaint(HWND window) {
    RECT r;
    const bool pending = GetUpdateRect(window, &r, FALSE) != FALSE;
    ValidateRect(window, nullptr);
    return pending;
}

}  // namespace testing_support
}  // namespace SkinUI
