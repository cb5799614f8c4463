#include "net/unit_map.h"

#include <gtest/gtest.h>

#include <climits>
#include <utility>
#include <vector>

namespace kelo {
namespace {

using Units = std::vector<std::pair<int32_t, int32_t>>;  // (offset, length)

Units Layout(const UnitMap& map) {
    Units units;
    for (const auto& entry : map.units()) units.emplace_back(entry.second.offset, entry.second.length);
    return units;
}

TEST(UnitMap, SplitCoversTheFileOnceWithTheRemainderLast) {
    const struct {
        int32_t total, unit;
        Units expected;
    } cases[] = {
        {1000000, 512000, {{0, 512000}, {512000, 488000}}},
        {1024000, 512000, {{0, 512000}, {512000, 512000}}},
        {100, 512000, {{0, 100}}},
        {1, 1, {{0, 1}}},
        {5, 2, {{0, 2}, {2, 2}, {4, 1}}},
        // offset + unit passes the 32-bit range on the second unit
        {INT32_MAX, 1 << 30, {{0, 1 << 30}, {1 << 30, (1 << 30) - 1}}},
    };
    for (const auto& c : cases) {
        UnitMap map;
        map.Split(c.total, c.unit);
        EXPECT_EQ(Layout(map), c.expected) << c.total << "/" << c.unit;
        for (const auto& entry : map.units()) EXPECT_EQ(entry.second.state, UnitPending);
    }
}

TEST(UnitMap, HandsOutPendingUnitsFirstThenTheHighestTakenOne) {
    UnitMap map;
    map.Split(30, 10);
    DownloadUnit unit;
    std::vector<int32_t> order;
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(map.Take(unit));
        EXPECT_EQ(unit.state, UnitTaken);
        EXPECT_EQ(unit.data, nullptr);
        order.push_back(unit.offset);
    }
    EXPECT_EQ(order, (std::vector<int32_t>{0, 10, 20}));

    // Nothing pending: the highest taken unit again, as often as asked.
    ASSERT_TRUE(map.Take(unit));
    EXPECT_EQ(unit.offset, 20);
    ASSERT_TRUE(map.Take(unit));
    EXPECT_EQ(unit.offset, 20);

    EXPECT_TRUE(map.MarkDone(20));
    EXPECT_FALSE(map.MarkDone(20)) << "a unit is done once";
    EXPECT_FALSE(map.MarkDone(5)) << "no unit starts there";
    ASSERT_TRUE(map.Take(unit));
    EXPECT_EQ(unit.offset, 10);

    EXPECT_TRUE(map.MarkDone(0));
    EXPECT_TRUE(map.MarkDone(10));
    EXPECT_TRUE(map.AllDone());
    EXPECT_FALSE(map.Take(unit));
}

}  // namespace
}  // namespace kelo
