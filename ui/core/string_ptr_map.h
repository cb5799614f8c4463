// StringPtrMap: a hash map from UTF-16 keys to borrowed pointers.
//
// Keys compare exactly. The hash runs over the key from its last character to
// its first (h = h * 33 + c, 32-bit); the bucket is h modulo the bucket count.
// Positions (GetAt) walk the buckets in order and each bucket in insertion
// order; they stay valid until the map changes.
#pragma once

#include <cstdint>

#include "ui/core/ui_string.h"

namespace SkinUI {

class StringPtrMap {
public:
    static constexpr int kDefaultBuckets = 83;

    explicit StringPtrMap(int buckets = kDefaultBuckets);
    StringPtrMap(const StringPtrMap&) = delete;
    StringPtrMap& operator=(const StringPtrMap&) = delete;
    ~StringPtrMap();

    static uint32_t Hash(const UiChar* key);

    // Drops every item and uses the new bucket count.
    void Resize(int buckets);
    // Null when absent.
    void* Find(const UiChar* key) const;
    // False when the key is already present (nothing changes).
    bool Insert(const UiChar* key, void* data);
    // Replaces the data of an existing key and returns the old data, or
    // inserts and returns null.
    void* Set(const UiChar* key, void* data);
    bool Remove(const UiChar* key);
    void RemoveAll();
    int GetSize() const { return count_; }
    // Key of the item at a position (0 .. size - 1), or null.
    const UiChar* GetAt(int position) const;
    // Data of the item at a position, or null.
    void* DataAt(int position) const;

private:
    struct Item {
        UiString key;
        void* data;
        Item* next;
    };
    Item* ItemAt(int position) const;
    Item** FindSlot(const UiChar* key) const;

    Item** buckets_ = nullptr;
    int bucketCount_ = 0;
    int count_ = 0;
};

}  // namespace SkinUI
