#include "ui/core/notify_pump.h"

#include "ui/controls/control_ui.h"

namespace SkinUI {

const NotifyMapTable* CNotifyPump::NotifyMap() const {
    static const NotifyMapEntry entries[] = {NotifyMapEnd()};
    static const NotifyMapTable table = {nullptr, entries};
    return &table;
}

bool CNotifyPump::AddVirtualWindow(const UiChar* name, CNotifyPump* pump) {
    if (name == nullptr || pump == nullptr || virtualWindows_.Find(name) != nullptr) return false;
    return virtualWindows_.Insert(name, pump);
}

bool CNotifyPump::RemoveVirtualWindow(const UiChar* name) {
    if (name == nullptr || virtualWindows_.Find(name) == nullptr) return false;
    return virtualWindows_.Remove(name);
}

void CNotifyPump::RouteNotify(NotifyMsg& msg) {
    if (!msg.virtualWnd.IsEmpty()) {
        for (int i = 0; i < virtualWindows_.GetSize(); ++i) {
            const UiChar* key = virtualWindows_.GetAt(i);
            if (key == nullptr || msg.virtualWnd.CompareNoCase(key) != 0) continue;
            auto* pump = static_cast<CNotifyPump*>(virtualWindows_.DataAt(i));
            if (pump != nullptr && pump->DispatchByMap(msg)) return;
        }
    }
    DispatchByMap(msg);
}

bool CNotifyPump::DispatchByMap(NotifyMsg& msg) {
    const UiString sender = msg.sender != nullptr ? msg.sender->GetName() : UiString();
    for (const NotifyMapTable* table = NotifyMap(); table != nullptr; table = table->base) {
        const NotifyMapEntry* match = nullptr;
        for (const NotifyMapEntry* entry = table->entries;
             entry != nullptr && entry->signature != NotifySignatureEnd; ++entry) {
            if (entry->type == nullptr || msg.type != entry->type) continue;
            if (entry->control == nullptr || entry->control[0] == 0) {
                match = entry;
            } else if (sender == entry->control) {
                match = entry;
                break;
            }
        }
        if (match == nullptr) continue;
        switch (match->signature) {
            case NotifySignatureParams:
                (this->*(match->onParams))(msg.wParam, msg.lParam);
                return true;
            case NotifySignatureMsg:
                (this->*(match->onMsg))(msg);
                return true;
            default:
                return false;
        }
    }
    return false;
}

}  // namespace SkinUI
