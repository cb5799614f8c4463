#include "net/speed_floor.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace kelo {
namespace {

// Samples (seconds, bytes so far) fed in order; the index of the first
// sample judged too slow, or -1.
TEST(SpeedFloor, JudgesEachWholeWindowByItsAverage) {
    using Samples = std::vector<std::pair<double, int64_t>>;
    const struct {
        const char* name;
        int64_t floor;
        double window;
        Samples samples;
        int firstSlow;
    } cases[] = {
        {"steady above the floor", 1024, 60, {{30, 40000}, {60, 70000}, {120, 140000}, {180, 210000}}, -1},
        {"nothing at all", 1024, 60, {{1, 0}, {59, 0}, {60, 0}}, 2},
        {"a trickle of 1000 B/s", 1024, 60, {{30, 30000}, {60, 60000}}, 1},
        // A fast start does not pay for a later trickle.
        {"burst, then a trickle", 1024, 60, {{1, 500000}, {60, 500000}, {61, 500100}, {120, 560000}}, 3},
        {"slow handshake made up within the window", 1024, 60, {{20, 0}, {59, 61440}, {60, 61440}}, -1},
        {"a late sample judges the window it closes", 1024, 60, {{10, 100}, {200, 300000}}, -1},
        {"floor off", 0, 60, {{60, 0}, {600, 0}}, -1},
        {"window off", 1024, 0, {{60, 0}}, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SpeedFloor floor(c.floor, c.window);
        int firstSlow = -1;
        for (size_t i = 0; i < c.samples.size() && firstSlow < 0; ++i) {
            if (!floor.Fast(c.samples[i].first, c.samples[i].second)) firstSlow = static_cast<int>(i);
        }
        EXPECT_EQ(firstSlow, c.firstSlow);
    }
}

}  // namespace
}  // namespace kelo
