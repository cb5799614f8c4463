#include "ui/core/delegate.h"

namespace SkinUI {

ListenerList::~ListenerList() {
    for (int i = 0; i < items_.GetSize(); ++i) delete static_cast<CDelegateBase*>(items_.GetAt(i));
}

int ListenerList::IndexOf(const CDelegateBase& delegate) const {
    for (int i = 0; i < items_.GetSize(); ++i) {
        if (static_cast<const CDelegateBase*>(items_.GetAt(i))->Equals(delegate)) return i;
    }
    return -1;
}

void ListenerList::AddListener(const CDelegateBase& delegate) {
    if (IndexOf(delegate) >= 0) return;
    items_.Add(delegate.Copy());
}

bool ListenerList::RemoveListener(const CDelegateBase& delegate) {
    int index = IndexOf(delegate);
    if (index < 0) return false;
    delete static_cast<CDelegateBase*>(items_.GetAt(index));
    items_.Remove(index);
    return true;
}

bool ListenerList::FireListeners(void* argument) {
    // A listener may add or remove listeners; the index check keeps the walk
    // inside the list as it is now.
    for (int i = 0; i < items_.GetSize(); ++i) {
        auto* delegate = static_cast<CDelegateBase*>(items_.GetAt(i));
        if (!delegate->Invoke(argument)) return false;
    }
    return true;
}

}  // namespace SkinUI
