#include "ui/core/ptr_array.h"

#include <cstdlib>
#include <cstring>

namespace SkinUI {

PtrArray::PtrArray(int preallocate) {
    if (preallocate > 0) Grow(preallocate);
}

PtrArray::PtrArray(const PtrArray& other) : PtrArray() {
    *this = other;
}

PtrArray& PtrArray::operator=(const PtrArray& other) {
    if (this == &other) return *this;
    Empty();
    if (other.count_ > 0 && Grow(other.count_)) {
        std::memcpy(items_, other.items_, sizeof(void*) * static_cast<size_t>(other.count_));
        count_ = other.count_;
    }
    return *this;
}

PtrArray::~PtrArray() {
    std::free(items_);
}

void PtrArray::Empty() {
    std::free(items_);
    items_ = nullptr;
    count_ = capacity_ = 0;
}

bool PtrArray::Grow(int minimum) {
    if (minimum <= capacity_) return true;
    int capacity = capacity_ == 0 ? 11 : capacity_ * 2;
    if (capacity < minimum) capacity = minimum;
    void** items = static_cast<void**>(std::realloc(items_, sizeof(void*) * static_cast<size_t>(capacity)));
    if (items == nullptr) return false;
    items_ = items;
    capacity_ = capacity;
    return true;
}

bool PtrArray::Resize(int size) {
    if (size < 0) return false;
    if (!Grow(size)) return false;
    for (int i = count_; i < size; ++i) items_[i] = nullptr;
    count_ = size;
    return true;
}

bool PtrArray::Add(void* item) {
    if (!Grow(count_ + 1)) return false;
    items_[count_++] = item;
    return true;
}

bool PtrArray::InsertAt(int index, void* item) {
    if (index < 0 || index > count_) return false;
    if (!Grow(count_ + 1)) return false;
    std::memmove(items_ + index + 1, items_ + index, sizeof(void*) * static_cast<size_t>(count_ - index));
    items_[index] = item;
    ++count_;
    return true;
}

bool PtrArray::SetAt(int index, void* item) {
    if (index < 0 || index >= count_) return false;
    items_[index] = item;
    return true;
}

bool PtrArray::Remove(int index) {
    if (index < 0 || index >= count_) return false;
    std::memmove(items_ + index, items_ + index + 1, sizeof(void*) * static_cast<size_t>(count_ - index - 1));
    --count_;
    return true;
}

int PtrArray::Find(const void* item) const {
    for (int i = 0; i < count_; ++i) {
        if (items_[i] == item) return i;
    }
    return -1;
}

void* PtrArray::GetAt(int index) const {
    return (index >= 0 && index < count_) ? items_[index] : nullptr;
}

}  // namespace SkinUI
