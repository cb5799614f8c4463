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

// Spans are runs of pending units without a gap: a taken or done unit ends
// them; with nothing pending, one taken unit is handed out again.
TEST(UnitMap, SpansTakeConsecutivePendingUnitsOnly) {
    const struct {
        const char* name;
        std::vector<int32_t> states;  // per unit of 10 bytes
        int maxUnits;
        std::vector<int32_t> offsets;  // of the span handed out
    } cases[] = {
        {"all pending, capped", {0, 0, 0, 0, 0}, 3, {0, 10, 20}},
        {"starts at the first pending", {2, 1, 0, 0, 0}, 8, {20, 30, 40}},
        {"a taken unit ends it", {0, 0, 1, 0, 0}, 8, {0, 10}},
        {"a done unit ends it", {2, 0, 2, 0, 0}, 8, {10}},
        {"nothing pending: the highest taken", {1, 2, 1, 2, 2}, 8, {20}},
        {"one unit at most", {0, 0, 0}, 1, {0}},
        {"all done", {2, 2, 2}, 8, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        UnitMap map;
        map.Split(static_cast<int32_t>(c.states.size()) * 10, 10);
        for (size_t i = 0; i < c.states.size(); ++i) {
            DownloadUnit* unit = map.Find(static_cast<int32_t>(i) * 10);
            if (c.states[i] == UnitDone) {
                map.MarkDone(unit->offset);
            } else {
                unit->state = c.states[i];
            }
        }
        std::vector<DownloadUnit> span;
        EXPECT_EQ(map.TakeSpan(c.maxUnits, span), !c.offsets.empty());
        std::vector<int32_t> offsets;
        for (const DownloadUnit& unit : span) {
            offsets.push_back(unit.offset);
            EXPECT_EQ(map.Find(unit.offset)->state, UnitTaken);
        }
        EXPECT_EQ(offsets, c.offsets);
    }
}

}  // namespace
}  // namespace kelo
