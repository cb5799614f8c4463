#pragma once

#include <cstdint>

namespace kelo {

// Judges a transfer by the bytes it moved in consecutive windows of a fixed
// length: a window that brings fewer than floor x window bytes makes the
// transfer too slow. A host that trickles a few bytes a second would
// otherwise hold a unit for days, since it never stalls outright.
class SpeedFloor {
public:
    // A floor of 0 bytes per second or a window of 0 seconds never trips.
    SpeedFloor(int64_t bytesPerSecond, double windowSeconds);

    // `seconds` since the transfer started (non-decreasing) and the bytes
    // received so far. False once a whole window fell below the floor.
    bool Fast(double seconds, int64_t bytes);

private:
    int64_t bytesPerSecond_;
    double window_;
    double windowStart_ = 0.0;
    int64_t bytesAtStart_ = 0;
};

}  // namespace kelo
