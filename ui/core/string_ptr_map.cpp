#include "ui/core/string_ptr_map.h"

namespace SkinUI {

StringPtrMap::StringPtrMap(int buckets) {
    Resize(buckets);
}

StringPtrMap::~StringPtrMap() {
    RemoveAll();
    delete[] buckets_;
}

uint32_t StringPtrMap::Hash(const UiChar* key) {
    uint32_t h = 0;
    size_t n = UiStrLen(key);
    while (n > 0) h = h * 33u + static_cast<uint16_t>(key[--n]);
    return h;
}

void StringPtrMap::Resize(int buckets) {
    RemoveAll();
    delete[] buckets_;
    bucketCount_ = buckets > 0 ? buckets : kDefaultBuckets;
    buckets_ = new Item*[static_cast<size_t>(bucketCount_)]();
}

StringPtrMap::Item** StringPtrMap::FindSlot(const UiChar* key) const {
    Item** slot = &buckets_[Hash(key) % static_cast<uint32_t>(bucketCount_)];
    while (*slot != nullptr && (*slot)->key != key) slot = &(*slot)->next;
    return slot;
}

void* StringPtrMap::Find(const UiChar* key) const {
    Item* item = *FindSlot(key);
    return item != nullptr ? item->data : nullptr;
}

bool StringPtrMap::Insert(const UiChar* key, void* data) {
    Item** slot = FindSlot(key);
    if (*slot != nullptr) return false;
    *slot = new Item{UiString(key), data, nullptr};
    ++count_;
    return true;
}

void* StringPtrMap::Set(const UiChar* key, void* data) {
    Item** slot = FindSlot(key);
    if (*slot == nullptr) {
        *slot = new Item{UiString(key), data, nullptr};
        ++count_;
        return nullptr;
    }
    void* old = (*slot)->data;
    (*slot)->data = data;
    return old;
}

bool StringPtrMap::Remove(const UiChar* key) {
    Item** slot = FindSlot(key);
    Item* item = *slot;
    if (item == nullptr) return false;
    *slot = item->next;
    delete item;
    --count_;
    return true;
}

void StringPtrMap::RemoveAll() {
    for (int i = 0; i < bucketCount_; ++i) {
        for (Item* item = buckets_[i]; item != nullptr;) {
            Item* next = item->next;
            delete item;
            item = next;
        }
        buckets_[i] = nullptr;
    }
    count_ = 0;
}

StringPtrMap::Item* StringPtrMap::ItemAt(int position) const {
    if (position < 0 || position >= count_) return nullptr;
    for (int i = 0; i < bucketCount_; ++i) {
        for (Item* item = buckets_[i]; item != nullptr; item = item->next) {
            if (position-- == 0) return item;
        }
    }
    return nullptr;
}

const UiChar* StringPtrMap::GetAt(int position) const {
    Item* item = ItemAt(position);
    return item != nullptr ? item->key.Data() : nullptr;
}

void* StringPtrMap::DataAt(int position) const {
    Item* item = ItemAt(position);
    return item != nullptr ? item->data : nullptr;
}

}  // namespace SkinUI
