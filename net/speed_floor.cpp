#include "net/speed_floor.h"

#include <cmath>

namespace kelo {

SpeedFloor::SpeedFloor(int64_t bytesPerSecond, double windowSeconds)
    : bytesPerSecond_(bytesPerSecond), window_(windowSeconds) {}

bool SpeedFloor::Fast(double seconds, int64_t bytes) {
    if (bytesPerSecond_ <= 0 || window_ <= 0.0) return true;
    // Judged only at the end of a whole window, so a slow start (connection,
    // TLS handshake) is averaged with what follows within the same window. A
    // sample that closes several windows judges their average.
    const double windows = std::floor((seconds - windowStart_) / window_);
    if (windows < 1.0) return true;
    const double needed = static_cast<double>(bytesPerSecond_) * window_ * windows;
    if (static_cast<double>(bytes - bytesAtStart_) < needed) return false;
    windowStart_ += window_ * windows;
    bytesAtStart_ = bytes;
    return true;
}

}  // namespace kelo
