#include "net/speed_floor.h"

namespace kelo {

SpeedFloor::SpeedFloor(int64_t bytesPerSecond, double windowSeconds)
    : bytesPerSecond_(bytesPerSecond), window_(windowSeconds) {}

bool SpeedFloor::Fast(double seconds, int64_t bytes) {
    if (bytesPerSecond_ <= 0 || window_ <= 0.0) return true;
    // Judged only at the end of a whole window, so a slow start (connection,
    // TLS handshake) is averaged with what follows within the same window.
    while (seconds - windowStart_ >= window_) {
        const double needed = static_cast<double>(bytesPerSecond_) * window_;
        if (static_cast<double>(bytes - bytesAtStart_) < needed) return false;
        windowStart_ += window_;
        bytesAtStart_ = bytes;
    }
    return true;
}

}  // namespace kelo
