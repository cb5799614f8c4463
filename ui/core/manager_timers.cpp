// CManagerUI: control timers on the paint window. Native ids come from one
// counter that runs modulo 255, so at most 255 timers can be told apart.
#include "ui/controls/control_ui.h"
#include "ui/core/manager_ui.h"

namespace SkinUI {

namespace {

constexpr unsigned kNativeIdCount = 255;

}  // namespace

bool CManagerUI::NativeTimerIdInUse(UINT_PTR id) const {
    for (int i = 0; i < tree_.timers.GetSize(); ++i) {
        auto* timer = static_cast<const TimerEntry*>(tree_.timers.GetAt(i));
        if (timer->window == tree_.paintWindow && timer->nativeId == id) return true;
    }
    return false;
}

bool CManagerUI::StartTimer(CControlUI* control, UINT_PTR localId, UINT interval) {
    HWND window = tree_.paintWindow;
    if (control == nullptr || window == nullptr) return false;
    for (int i = 0; i < tree_.timers.GetSize(); ++i) {
        auto* timer = static_cast<TimerEntry*>(tree_.timers.GetAt(i));
        if (timer->control != control || timer->localId != localId || timer->window != window) continue;
        if (!timer->stopped) return false;
        if (SetTimer(window, timer->nativeId, interval, nullptr) == 0) return false;
        timer->stopped = false;
        return true;
    }
    // After the counter wraps, an id still held by another entry would make
    // SetTimer replace that timer: skip the ids in use.
    unsigned tries = 0;
    do {
        tree_.timerCounter = (tree_.timerCounter + 1) % kNativeIdCount;
    } while (NativeTimerIdInUse(tree_.timerCounter) && ++tries < kNativeIdCount);
    if (tries >= kNativeIdCount) return false;
    if (SetTimer(window, tree_.timerCounter, interval, nullptr) == 0) return false;
    auto* timer = new TimerEntry;
    timer->control = control;
    timer->localId = localId;
    timer->window = window;
    timer->nativeId = tree_.timerCounter;
    tree_.timers.Add(timer);
    return true;
}

bool CManagerUI::StopTimer(CControlUI* control, UINT_PTR localId) {
    for (int i = 0; i < tree_.timers.GetSize(); ++i) {
        auto* timer = static_cast<TimerEntry*>(tree_.timers.GetAt(i));
        if (timer->control != control || timer->localId != localId || timer->window != tree_.paintWindow ||
            timer->stopped) {
            continue;
        }
        if (IsWindow(tree_.paintWindow)) KillTimer(timer->window, timer->nativeId);
        timer->stopped = true;
        return true;
    }
    return false;
}

void CManagerUI::StopTimers(CControlUI* control) {
    for (int i = tree_.timers.GetSize() - 1; i >= 0; --i) {
        auto* timer = static_cast<TimerEntry*>(tree_.timers.GetAt(i));
        if (timer->control != control || timer->window != tree_.paintWindow) continue;
        if (!timer->stopped && IsWindow(timer->window)) KillTimer(timer->window, timer->nativeId);
        delete timer;
        tree_.timers.Remove(i);
    }
}

void CManagerUI::StopAllTimers() {
    for (int i = 0; i < tree_.timers.GetSize(); ++i) {
        auto* timer = static_cast<TimerEntry*>(tree_.timers.GetAt(i));
        if (!timer->stopped && IsWindow(timer->window)) KillTimer(timer->window, timer->nativeId);
        delete timer;
    }
    tree_.timers.Empty();
}

}  // namespace SkinUI
