#pragma once

#include "net/download_unit.h"

#include <cstdint>
#include <map>
#include <vector>

namespace kelo {

// The units of one download by ascending offset. Not locked: the owner holds
// its map lock around every call.
class UnitMap {
public:
    // Cuts 0 .. total - 1 into units of `unitSize` bytes; the last unit holds
    // the remainder (or a full unit when the size divides evenly).
    // Both sizes must be at least 1.
    void Split(int32_t totalSize, int32_t unitSize);

    // Hands out the first pending unit; when none is pending, the taken unit
    // with the highest offset again (its first source may have failed). Marks
    // it taken and copies length, offset and state into `out`. False when
    // every unit is done.
    bool Take(DownloadUnit& out);

    // Like Take, but when a pending unit is found, also the pending units
    // that follow it without a gap, up to `maxUnits` in all, so that one
    // request can fetch them together. Clears `out` first.
    bool TakeSpan(int maxUnits, std::vector<DownloadUnit>& out);
    size_t PendingCount() const;

    // The unit starting at `offset`, or null when there is none.
    DownloadUnit* Find(int32_t offset);

    bool AllDone() const { return doneCount_ == units_.size(); }
    // Marks the unit at `offset` done; false when absent or already done.
    bool MarkDone(int32_t offset);

    const std::map<int32_t, DownloadUnit>& units() const { return units_; }

private:
    std::map<int32_t, DownloadUnit> units_;
    size_t doneCount_ = 0;
};

}  // namespace kelo
