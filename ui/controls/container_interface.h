// IContainerUI: the child-list view of a container, what the skin builder
// and the application use to add, find and remove children.
#pragma once

namespace SkinUI {

class CControlUI;

class IContainerUI {
public:
    // Null outside 0 .. count - 1.
    virtual CControlUI* ItemAt(int index) const = 0;
    // -1 when control is not a child.
    virtual int IndexOf(CControlUI* control) const = 0;
    virtual bool MoveItem(CControlUI* control, int index) = 0;
    virtual int ItemCount() const = 0;
    // The container takes the child; false for null.
    virtual bool Add(CControlUI* control) = 0;
    virtual bool AddAt(CControlUI* control, int index) = 0;
    // Deletes the child (at once or later) when the container owns it.
    virtual bool Remove(CControlUI* control) = 0;
    virtual bool RemoveAt(int index) = 0;
    virtual void RemoveAll() = 0;

protected:
    ~IContainerUI() = default;
};

}  // namespace SkinUI
