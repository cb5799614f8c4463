#include "net/unit_map.h"

#include <cassert>

namespace kelo {

void UnitMap::Split(int32_t totalSize, int32_t unitSize) {
    assert(totalSize >= 1 && unitSize >= 1);
    // 64-bit arithmetic: offset + unit size may pass the 32-bit range.
    int64_t offset = 0;
    while (offset < totalSize) {
        const int64_t length = offset + unitSize < totalSize ? unitSize : totalSize - offset;
        DownloadUnit& unit = units_[static_cast<int32_t>(offset)];
        unit.length = static_cast<int32_t>(length);
        unit.offset = static_cast<int32_t>(offset);
        unit.state = UnitPending;
        offset += length;
    }
}

bool UnitMap::Take(DownloadUnit& out) {
    DownloadUnit* chosen = nullptr;
    for (auto& entry : units_) {
        DownloadUnit& unit = entry.second;
        if (unit.state == UnitPending) {
            chosen = &unit;
            break;
        }
        if (unit.state == UnitTaken) chosen = &unit;
    }
    if (chosen == nullptr) return false;
    chosen->state = UnitTaken;
    out.length = chosen->length;
    out.data.reset();
    out.offset = chosen->offset;
    out.state = chosen->state;
    return true;
}

bool UnitMap::TakeSpan(int maxUnits, std::vector<DownloadUnit>& out) {
    out.clear();
    auto it = units_.begin();
    while (it != units_.end() && it->second.state != UnitPending) ++it;
    if (it == units_.end()) {
        DownloadUnit single;
        if (!Take(single)) return false;
        out.push_back(std::move(single));
        return true;
    }
    for (; it != units_.end() && it->second.state == UnitPending && static_cast<int>(out.size()) < maxUnits;
         ++it) {
        it->second.state = UnitTaken;
        DownloadUnit copy;
        copy.length = it->second.length;
        copy.offset = it->second.offset;
        copy.state = UnitTaken;
        out.push_back(std::move(copy));
    }
    return true;
}

size_t UnitMap::PendingCount() const {
    size_t pending = 0;
    for (const auto& entry : units_) pending += entry.second.state == UnitPending ? 1 : 0;
    return pending;
}

DownloadUnit* UnitMap::Find(int32_t offset) {
    auto it = units_.find(offset);
    return it == units_.end() ? nullptr : &it->second;
}

bool UnitMap::MarkDone(int32_t offset) {
    DownloadUnit* unit = Find(offset);
    if (unit == nullptr || unit->state == UnitDone) return false;
    unit->state = UnitDone;
    ++doneCount_;
    return true;
}

}  // namespace kelo
