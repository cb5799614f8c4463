#pragma once

#include <cstdint>
#include <memory>

namespace kelo {

enum UnitState : int32_t {
    UnitPending = 0,
    UnitTaken = 1,
    UnitDone = 2,
};

// One byte range of the target file. Units in the map never hold data; a
// source thread's copy holds the bytes it received until they are written.
struct DownloadUnit {
    int32_t length = 0;
    std::unique_ptr<char[]> data;
    int32_t offset = 0;
    int32_t state = UnitPending;
};

}  // namespace kelo
