// Listeners of a control: CDelegateBase (an object and a function), the plain
// function delegate CDelegateStatic, and ListenerList, an ordered list that
// owns its delegates. The argument is untyped: a control's lists pass the
// control, its UiEvent or its NotifyMsg.
#pragma once

#include "ui/core/ptr_array.h"

namespace SkinUI {

class CDelegateBase {
public:
    CDelegateBase(void* object, const void* function) : object_(object), function_(function) {}
    CDelegateBase(const CDelegateBase&) = default;
    CDelegateBase& operator=(const CDelegateBase&) = delete;
    virtual ~CDelegateBase() = default;
    // A new heap delegate equal to this one.
    virtual CDelegateBase* Copy() const = 0;
    // Runs the listener; false stops the list it is fired from.
    virtual bool Invoke(void* argument) = 0;

    // Equal delegates have the same object and the same function.
    bool Equals(const CDelegateBase& other) const {
        return object_ == other.object_ && function_ == other.function_;
    }
    void* Object() const { return object_; }

protected:
    const void* Function() const { return function_; }

private:
    void* object_;
    const void* function_;
};

class CDelegateStatic : public CDelegateBase {
public:
    using Function = bool (*)(void* argument);
    explicit CDelegateStatic(Function function)
        : CDelegateBase(nullptr, reinterpret_cast<const void*>(function)), function_(function) {}
    CDelegateBase* Copy() const override { return new CDelegateStatic(function_); }
    bool Invoke(void* argument) override { return function_(argument); }

private:
    Function function_;
};

inline CDelegateStatic MakeDelegate(CDelegateStatic::Function function) {
    return CDelegateStatic(function);
}

class ListenerList {
public:
    ListenerList() = default;
    ListenerList(const ListenerList&) = delete;
    ListenerList& operator=(const ListenerList&) = delete;
    ~ListenerList();

    // Stores a copy unless an equal delegate is already in the list.
    void AddListener(const CDelegateBase& delegate);
    // Deletes and removes the first equal delegate; false when there is none.
    bool RemoveListener(const CDelegateBase& delegate);
    // Calls each listener in order; false as soon as one returns false.
    bool FireListeners(void* argument);
    bool IsEmpty() const { return items_.IsEmpty(); }
    int Count() const { return items_.GetSize(); }

private:
    int IndexOf(const CDelegateBase& delegate) const;
    PtrArray items_;
};

}  // namespace SkinUI
