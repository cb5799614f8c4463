// The manager's window binding, control-tree and notification state (the
// fields of CManagerUI beside its resources). Only CManagerUI's own code
// touches it.
#pragma once

#include <windows.h>

#include "ui/core/ptr_array.h"
#include "ui/core/string_ptr_map.h"
#include "ui/core/ui_event.h"

namespace SkinUI {

class IDialogBuilderCallback;

struct ManagerTreeState {
    ManagerTreeState() = default;
    ManagerTreeState(const ManagerTreeState&) = delete;
    ManagerTreeState& operator=(const ManagerTreeState&) = delete;

    IDialogBuilderCallback* builderCallback = nullptr;
    bool focusNeeded = false;  // the next paint moves focus forward
    HWND paintWindow = nullptr;
    int opacity = 255;
    bool showUpdateRect = false;

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

    bool firstLayout = true;
    bool layoutDirty = false;
    bool keepBackground = false;
    bool mouseTracking = false;
    bool mouseCaptured = false;
    bool usesVirtualWindows = false;
    bool layered = false;

    PtrArray notifyListeners;   // INotifyUI, borrowed
    PtrArray afterPaint;        // CControlUI, borrowed
    PtrArray delayed;           // CControlUI waiting for deletion, owned
    PtrArray queued;            // NotifyMsg copies, owned
    PtrArray found;             // scratch list of the class searches
    StringPtrMap nameMap;       // control name -> CControlUI
    StringPtrMap optionGroups;  // group name -> owned PtrArray of CControlUI
};

}  // namespace SkinUI
