// The manager's window binding, control-tree and notification state (the
// fields of CManagerUI beside its resources). Only CManagerUI's own code
// touches it.
#pragma once

#include <commctrl.h>
#include <windows.h>

#include "ui/core/ptr_array.h"
#include "ui/core/string_ptr_map.h"
#include "ui/core/ui_event.h"
#include "ui/core/ui_string.h"

namespace SkinUI {

class IDialogBuilderCallback;

// A control's timer: the caller's local id and the id given to SetTimer.
struct TimerEntry {
    CControlUI* control = nullptr;
    UINT_PTR localId = 0;
    HWND window = nullptr;
    UINT_PTR nativeId = 0;
    bool stopped = false;
};

struct ManagerTreeState {
    ManagerTreeState() = default;
    ManagerTreeState(const ManagerTreeState&) = delete;
    ManagerTreeState& operator=(const ManagerTreeState&) = delete;

    IDialogBuilderCallback* builderCallback = nullptr;
    bool focusNeeded = false;  // the next paint moves focus forward
    HWND paintWindow = nullptr;
    int opacity = 255;
    bool showUpdateRect = false;

    // GDI objects of the paint paths; the layered path uses the background
    // pair as its canvas.
    HDC offscreenDC = nullptr;
    HDC backgroundDC = nullptr;
    HBITMAP offscreenBitmap = nullptr;
    HBITMAP backgroundBitmap = nullptr;
    HGDIOBJ backgroundOld = nullptr;  // what the background DC held before
    HWND tooltip = nullptr;
    TOOLINFOW toolRecord = {};
    UiString toolText;  // what toolRecord points at

    CControlUI* root = nullptr;     // owned, and through it the tree
    CControlUI* focused = nullptr;  // these four are references into the tree
    CControlUI* hover = nullptr;
    CControlUI* click = nullptr;
    CControlUI* key = nullptr;
    POINT lastMousePoint = {-1, -1};

    SIZE minInfo = {0, 0};
    SIZE maxInfo = {0, 0};
    SIZE initialSize = {0, 0};
    RECT sizeBox = {0, 0, 0, 0};
    SIZE roundCorner = {0, 0};
    RECT caption = {0, 0, 0, 0};
    unsigned timerCounter = 4096;

    bool firstLayout = true;
    bool layoutDirty = false;
    bool keepBackground = false;
    bool mouseTracking = false;
    bool mouseCaptured = false;
    bool usesVirtualWindows = false;
    bool layered = false;

    PtrArray notifyListeners;   // INotifyUI, borrowed
    PtrArray timers;            // TimerEntry, owned
    PtrArray preFilters;        // IMessageFilterUI, borrowed
    PtrArray filters;           // IMessageFilterUI, borrowed
    PtrArray afterPaint;        // CControlUI, borrowed
    PtrArray delayed;           // CControlUI waiting for deletion, owned
    PtrArray queued;            // NotifyMsg copies, owned
    PtrArray found;             // scratch list of the class searches
    StringPtrMap nameMap;       // control name -> CControlUI
    StringPtrMap optionGroups;  // group name -> owned PtrArray of CControlUI
    PtrArray accelerators;      // ITranslateAccelerator, borrowed
};

}  // namespace SkinUI
