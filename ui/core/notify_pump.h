// CNotifyPump: routes notifications to member functions through static
// tables keyed by notification name and control name. A class's table names
// its base class's table, so handlers are inherited; virtual windows hand a
// notification to another pump by the sender's virtual window name.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/core/string_ptr_map.h"
#include "ui/core/ui_event.h"

namespace SkinUI {

class CNotifyPump;

using NotifyParamsHandler = void (CNotifyPump::*)(WPARAM wParam, LPARAM lParam);
using NotifyMsgHandler = void (CNotifyPump::*)(NotifyMsg& msg);

enum NotifySignature : uint32_t {
    NotifySignatureEnd = 0,     // ends a table
    NotifySignatureParams = 1,  // handler takes (wParam, lParam)
    NotifySignatureMsg = 2,     // handler takes the NotifyMsg
};

struct NotifyMapEntry {
    const UiChar* type = nullptr;     // notification name, compared exactly
    const UiChar* control = nullptr;  // control name; empty or null: any control
    uint32_t signature = NotifySignatureEnd;
    NotifyParamsHandler onParams = nullptr;
    NotifyMsgHandler onMsg = nullptr;
};

struct NotifyMapTable {
    const NotifyMapTable* base = nullptr;
    const NotifyMapEntry* entries = nullptr;
};

// Table rows for a handler of a class derived from CNotifyPump; the cast to
// the base's member pointer keeps the this-adjustment.
template <class T>
NotifyMapEntry NotifyEntry(const UiChar* type, const UiChar* control, void (T::*handler)(NotifyMsg&)) {
    NotifyMapEntry entry;
    entry.type = type;
    entry.control = control;
    entry.signature = NotifySignatureMsg;
    entry.onMsg = static_cast<NotifyMsgHandler>(handler);
    return entry;
}

template <class T>
NotifyMapEntry NotifyEntry(const UiChar* type, const UiChar* control, void (T::*handler)(WPARAM, LPARAM)) {
    NotifyMapEntry entry;
    entry.type = type;
    entry.control = control;
    entry.signature = NotifySignatureParams;
    entry.onParams = static_cast<NotifyParamsHandler>(handler);
    return entry;
}

inline NotifyMapEntry NotifyMapEnd() {
    return NotifyMapEntry();
}

class CNotifyPump {
public:
    CNotifyPump() = default;
    CNotifyPump(const CNotifyPump&) = delete;
    CNotifyPump& operator=(const CNotifyPump&) = delete;
    virtual ~CNotifyPump() = default;

    // False when the name is taken. The pump is borrowed.
    bool AddVirtualWindow(const UiChar* name, CNotifyPump* pump);
    bool RemoveVirtualWindow(const UiChar* name);
    // To the pumps of the sender's virtual window first, then this pump's
    // own tables.
    void RouteNotify(NotifyMsg& msg);
    // The first matching row of the class's table or its bases' tables: a
    // row naming the sender wins, else the last row for any control.
    bool DispatchByMap(NotifyMsg& msg);

protected:
    virtual const NotifyMapTable* NotifyMap() const;

private:
    StringPtrMap virtualWindows_;
};

}  // namespace SkinUI
