// PtrArray: a growable array of borrowed pointers (the array never deletes
// what it holds).
#pragma once

namespace SkinUI {

class PtrArray {
public:
    explicit PtrArray(int preallocate = 0);
    PtrArray(const PtrArray& other);
    PtrArray& operator=(const PtrArray& other);
    ~PtrArray();

    void Empty();
    // Sets the size; new slots are null. Returns false on a negative size.
    bool Resize(int size);
    bool IsEmpty() const { return count_ == 0; }
    int GetSize() const { return count_; }
    void** Data() { return items_; }

    // Appends; the capacity doubles, and an empty array starts with 11 slots.
    bool Add(void* item);
    // Inserts before index (0 .. size); false for other indices.
    bool InsertAt(int index, void* item);
    // Replaces the item at index; false outside the array.
    bool SetAt(int index, void* item);
    // Removes the item at index; false outside the array.
    bool Remove(int index);
    // Index of the first equal pointer, or -1.
    int Find(const void* item) const;
    // The item at index, or null outside the array.
    void* GetAt(int index) const;
    void* operator[](int index) const { return GetAt(index); }

private:
    bool Grow(int minimum);

    void** items_ = nullptr;
    int count_ = 0;
    int capacity_ = 0;
};

}  // namespace SkinUI
