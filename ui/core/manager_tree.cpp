// CManagerUI: binding the window and the control tree, delayed deletion,
// the searches and the option groups.
#include "ui/controls/control_ui.h"
#include "ui/core/manager_ui.h"

namespace SkinUI {

namespace {

// Every manager with a window, in the order the windows were attached.
PtrArray& ManagerList() {
    static PtrArray managers;
    return managers;
}

CControlUI* ControlAtPoint(CControlUI* control, void* data) {
    RECT rect = control->ItemRect();
    return PtInRect(&rect, *static_cast<POINT*>(data)) ? control : nullptr;
}

CControlUI* ControlNamedNoCase(CControlUI* control, void* data) {
    UiString name = control->GetName();
    if (name.IsEmpty()) return nullptr;
    return name.CompareNoCase(static_cast<const UiChar*>(data)) == 0 ? control : nullptr;
}

bool ClassMatches(CControlUI* control, const UiChar* className) {
    return UiStrEq(className, UI_TEXT("*")) || UiStrEq(control->ClassName(), className);
}

struct ClassSearch {
    const UiChar* className;
    PtrArray* found;
};

CControlUI* FillClassSlot(CControlUI* control, void* data) {
    auto* search = static_cast<ClassSearch*>(data);
    if (!ClassMatches(control, search->className)) return nullptr;
    const int count = search->found->GetSize();
    for (int i = 0; i < count; ++i) {
        if (search->found->GetAt(i) != nullptr) continue;
        search->found->SetAt(i, control);
        return i == count - 1 ? control : nullptr;
    }
    return nullptr;
}

CControlUI* CollectClass(CControlUI* control, void* data) {
    auto* search = static_cast<ClassSearch*>(data);
    if (ClassMatches(control, search->className)) search->found->Add(control);
    return nullptr;
}

}  // namespace

const PtrArray& CManagerUI::LiveManagers() {
    return ManagerList();
}

void CManagerUI::AttachWindow(HWND window) {
    tree_.paintWindow = window;
    SetPaintDC(GetDC(window));
    ManagerList().Add(this);
}

void CManagerUI::ReleaseControlTree() {
    DeleteDelayedControls();
    for (int i = 0; i < tree_.queued.GetSize(); ++i) delete static_cast<NotifyMsg*>(tree_.queued.GetAt(i));
    tree_.queued.Empty();
    tree_.nameMap.RemoveAll();
    CControlUI* root = tree_.root;
    tree_.root = nullptr;
    delete root;
    ClearOptionGroups();
    StopAllTimers();
    if (tree_.tooltip != nullptr && IsWindow(tree_.tooltip)) DestroyWindow(tree_.tooltip);
    tree_.tooltip = nullptr;
    ReleasePaintObjects();
    if (tree_.paintWindow != nullptr && PaintDC() != nullptr) ReleaseDC(tree_.paintWindow, PaintDC());
    SetPaintDC(nullptr);
    int index = ManagerList().Find(this);
    if (index >= 0) ManagerList().Remove(index);
}

bool CManagerUI::AttachRoot(CControlUI* root, IDialogBuilderCallback* callback) {
    if (root == nullptr) {
        if (tree_.paintWindow != nullptr) SendMessageW(tree_.paintWindow, WM_CLOSE, 0, 0);
        return false;
    }
    FocusControl(nullptr);
    tree_.key = nullptr;
    tree_.hover = nullptr;
    tree_.click = nullptr;
    if (tree_.root != nullptr) {
        tree_.afterPaint.Empty();
        DeleteLater(tree_.root);
    }
    tree_.root = root;
    tree_.firstLayout = true;
    tree_.layoutDirty = true;
    tree_.focusNeeded = true;
    tree_.builderCallback = callback;
    return BindControls(root, nullptr);
}

bool CManagerUI::BindControls(CControlUI* control, CControlUI* parent) {
    if (control == nullptr) return false;
    control->AttachToManager(this, parent != nullptr ? parent : control->Parent(), true);
    auto registerName = [](CControlUI* c, void* data) -> CControlUI* {
        UiString name = c->GetName();
        if (!name.IsEmpty()) static_cast<CManagerUI*>(data)->tree_.nameMap.Set(name.Data(), c);
        return nullptr;
    };
    control->Search(registerName, this, 0);
    return true;
}

void CManagerUI::ForgetControl(CControlUI* control) {
    if (control == nullptr) return;
    if (tree_.key == control) tree_.key = nullptr;
    if (tree_.hover == control) tree_.hover = nullptr;
    if (tree_.click == control) tree_.click = nullptr;
    if (tree_.focused == control) tree_.focused = nullptr;
    StopTimers(control);
    // A deleted control must not be painted after the next paint either.
    int afterPaint = tree_.afterPaint.Find(control);
    if (afterPaint >= 0) tree_.afterPaint.Remove(afterPaint);
    UiString name = control->GetName();
    if (!name.IsEmpty() && tree_.nameMap.Find(name.Data()) == control) tree_.nameMap.Remove(name.Data());
    for (int i = 0; i < tree_.queued.GetSize(); ++i) {
        auto* msg = static_cast<NotifyMsg*>(tree_.queued.GetAt(i));
        if (msg->sender == control) msg->sender = nullptr;
    }
}

void CManagerUI::DeleteLater(CControlUI* control) {
    if (control == nullptr) return;
    control->AttachToManager(this, nullptr, false);
    tree_.delayed.Add(control);
    if (tree_.paintWindow != nullptr) PostMessageW(tree_.paintWindow, WM_APP + 1, 0, 0);
}

void CManagerUI::DeleteDelayedControls() {
    // Deleting may queue further controls; take the list first.
    while (!tree_.delayed.IsEmpty()) {
        PtrArray batch = tree_.delayed;
        tree_.delayed.Empty();
        for (int i = 0; i < batch.GetSize(); ++i) delete static_cast<CControlUI*>(batch.GetAt(i));
    }
}

CControlUI* CManagerUI::FindControl(const UiChar* name) const {
    if (name == nullptr) return nullptr;
    return static_cast<CControlUI*>(tree_.nameMap.Find(name));
}

CControlUI* CManagerUI::FindControlAt(POINT point) const {
    return FindDescendantAt(nullptr, point);
}

CControlUI* CManagerUI::FindDescendantAt(CControlUI* parent, POINT point) const {
    CControlUI* start = parent != nullptr ? parent : tree_.root;
    if (start == nullptr) return nullptr;
    return start->Search(ControlAtPoint, &point, SearchVisible | SearchHitTest | SearchTopFirst);
}

CControlUI* CManagerUI::FindDescendantByName(CControlUI* parent, const UiChar* name) const {
    CControlUI* start = parent != nullptr ? parent : tree_.root;
    if (start == nullptr || name == nullptr) return nullptr;
    return start->Search(ControlNamedNoCase, const_cast<UiChar*>(name), 0);
}

CControlUI* CManagerUI::FindDescendantOfClass(CControlUI* parent, const UiChar* className, int index) {
    CControlUI* start = parent != nullptr ? parent : tree_.root;
    if (start == nullptr || className == nullptr || index < 0) return nullptr;
    tree_.found.Resize(0);
    tree_.found.Resize(index + 1);
    ClassSearch search{className, &tree_.found};
    start->Search(FillClassSlot, &search, 0);
    return static_cast<CControlUI*>(tree_.found.GetAt(index));
}

PtrArray* CManagerUI::CollectDescendantsOfClass(CControlUI* parent, const UiChar* className) {
    tree_.found.Empty();
    CControlUI* start = parent != nullptr ? parent : tree_.root;
    if (start == nullptr || className == nullptr) return &tree_.found;
    ClassSearch search{className, &tree_.found};
    start->Search(CollectClass, &search, 0);
    return &tree_.found;
}

bool CManagerUI::JoinOptionGroup(const UiChar* group, CControlUI* control) {
    if (group == nullptr || control == nullptr) return false;
    auto* members = static_cast<PtrArray*>(tree_.optionGroups.Find(group));
    if (members != nullptr) {
        if (members->Find(control) >= 0) return false;
        return members->Add(control);
    }
    members = new PtrArray(6);
    members->Add(control);
    tree_.optionGroups.Insert(group, members);
    return true;
}

PtrArray* CManagerUI::OptionGroupMembers(const UiChar* group) const {
    if (group == nullptr) return nullptr;
    return static_cast<PtrArray*>(tree_.optionGroups.Find(group));
}

void CManagerUI::LeaveOptionGroup(const UiChar* group, CControlUI* control) {
    PtrArray* members = OptionGroupMembers(group);
    if (members == nullptr) return;
    int index = members->Find(control);
    if (index < 0) return;
    members->Remove(index);
    if (members->IsEmpty()) {
        delete members;
        tree_.optionGroups.Remove(group);
    }
}

void CManagerUI::ClearOptionGroups() {
    for (int i = 0; i < tree_.optionGroups.GetSize(); ++i) {
        delete static_cast<PtrArray*>(tree_.optionGroups.DataAt(i));
    }
    tree_.optionGroups.RemoveAll();
}

}  // namespace SkinUI
