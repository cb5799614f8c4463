// The records the window manager hands to controls and listeners: UiEvent
// (window input turned into a control event), NotifyMsg (a control's
// notification such as "click"), the notify listener interface, the search
// flags and visitor of the control tree, and the control input flags.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/core/ui_string.h"

namespace SkinUI {

class CControlUI;

// The numbers are fixed: controls test ranges with them.
enum UiEventType {
    EventKeyRangeStart = 2,
    EventKeyDown = 3,
    EventKeyUp = 4,
    EventChar = 5,
    EventSysKey = 6,
    EventKeyRangeEnd = 7,
    EventMouseRangeStart = 8,
    EventMouseMove = 9,
    EventMouseLeave = 10,
    EventMouseEnter = 11,
    EventMouseHover = 12,
    EventButtonDown = 13,
    EventButtonUp = 14,
    EventRightButtonDown = 15,
    EventDoubleClick = 16,
    EventContextMenu = 17,
    EventScrollWheel = 18,
    EventMouseRangeEnd = 19,
    EventKillFocus = 20,
    EventSetFocus = 21,
    EventWindowSize = 22,
    EventSetCursor = 23,
    EventTimer = 24,
    EventAnimationEnd = 25,
};

inline bool IsMouseEvent(int type) {
    return type > EventMouseRangeStart && type < EventMouseRangeEnd;
}
inline bool IsKeyEvent(int type) {
    return type > EventKeyRangeStart && type < EventKeyRangeEnd;
}

// Every event starts with all fields zero. wParam and lParam are pointer
// wide so that a control pointer fits on 64-bit builds too.
struct UiEvent {
    int type = 0;
    CControlUI* sender = nullptr;
    DWORD timestamp = 0;
    POINT mousePoint = {0, 0};
    WORD keyChar = 0;
    WORD keyState = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

struct NotifyMsg {
    UiString type;
    UiString virtualWnd;
    CControlUI* sender = nullptr;  // none once the sender was deleted
    DWORD timestamp = 0;
    POINT mousePoint = {0, 0};
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

class INotifyUI {
public:
    virtual void Notify(NotifyMsg& msg) = 0;

protected:
    ~INotifyUI() = default;
};

// Search flags (a control's Search).
constexpr uint32_t SearchVisible = 0x1;
constexpr uint32_t SearchEnabled = 0x2;
constexpr uint32_t SearchHitTest = 0x4;  // data points to a POINT
constexpr uint32_t SearchUpdateTest = 0x8;
constexpr uint32_t SearchTopFirst = 0x10;
constexpr uint32_t SearchMeFirst = 0x80000000u;

// Input flags (a control's InputFlags).
constexpr uint32_t InputTabStop = 0x1;
constexpr uint32_t InputSetCursor = 0x2;

// Called on each control a search reaches; a non-null result ends the search.
using SearchVisitor = CControlUI* (*)(CControlUI* control, void* data);

}  // namespace SkinUI
