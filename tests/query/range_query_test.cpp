// query_targets_in_range: an inclusive rectangle in 32-bit float arithmetic,
// and what non-finite values do to it. Also the empty pool for every query.
#include <gtest/gtest.h>

#include <limits>

#include "query_support.h"
#include "inspect.h"

namespace warfield {
namespace {

using test::add;
using test::in_range;
using L = InstanceIdList;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

TEST(EveryQuery, AnEmptyPoolYieldsNothing) {
    Warfield w;
    test::FakeHost host;
    test::frame(w);
    EXPECT_EQ(test::in_line(w, 0, 0, -1, true, 0), L{});
    EXPECT_EQ(in_range(w, 0, -1, 0, 0, kInf, kInf), L{});
    EXPECT_EQ(test::all_of(w, 0, -1), L{});
    EXPECT_EQ(test::armoured(w, host, 0), L{});
    EXPECT_TRUE(test::asked(host).empty());
}

TEST(RangeQuery, EdgesAndCornersAreInsideAndTheAreaIsARectangle) {
    Warfield w;
    add(w, {.node = 1, .x = 10, .y = 20});   // centre
    add(w, {.node = 2, .x = 14, .y = 20});   // right edge
    add(w, {.node = 3, .x = 6, .y = 17});    // top-left corner
    add(w, {.node = 4, .x = 14, .y = 23});   // bottom-right corner, outside any ellipse
    add(w, {.node = 5, .x = 14.001f, .y = 20});
    add(w, {.node = 6, .x = 10, .y = 16.999f});
    add(w, {.node = 7, .camp = 0, .x = 10, .y = 20});  // own camp
    EXPECT_EQ(in_range(w, 0, 1, 10, 20, 4, 3), (L{1, 2, 3, 4}));
    EXPECT_EQ(in_range(w, 0, 1, 10, 20, 0, 0), (L{1}));
    EXPECT_EQ(in_range(w, 0, 1, 10, 20, -1, 3), L{});
    EXPECT_EQ(in_range(w, 0, 1, 10, 20, 4, -0.5f), L{});
}

TEST(RangeQuery, BoundsAreRoundedToFloat) {
    Warfield w;
    // 1e8 + 5 rounds to 1e8 + 8 as a float: the neighbour above lies inside.
    add(w, {.node = 1, .x = 100000008.0f});
    add(w, {.node = 2, .x = 100000016.0f});
    EXPECT_EQ(in_range(w, 0, 1, 100000000.0f, 0, 5, 0), (L{1}));
}

TEST(RangeQuery, NaNNeverMatchesAndInfinityIsComputedAsGiven) {
    Warfield w;
    add(w, {.node = 1});
    add(w, {.node = 2, .x = kNaN});
    add(w, {.node = 3, .y = kNaN});
    add(w, {.node = 4, .x = kInf});
    add(w, {.node = 5, .x = -kInf, .y = -kInf});
    EXPECT_EQ(in_range(w, 0, 1, 0, 0, 1, 1), (L{1}));
    EXPECT_EQ(in_range(w, 0, 1, kNaN, 0, 1, 1), L{});
    EXPECT_EQ(in_range(w, 0, 1, 0, 0, kNaN, 1), L{});
    EXPECT_EQ(in_range(w, 0, 1, 0, 0, 1, kNaN), L{});
    // Infinite ranges reach every number, infinities included, and no NaN.
    EXPECT_EQ(in_range(w, 0, 1, 0, 0, kInf, kInf), (L{1, 4, 5}));
    // inf - inf is NaN: that side's bound rejects everything.
    EXPECT_EQ(in_range(w, 0, 1, kInf, 0, kInf, kInf), L{});
    // inf - 0 is inf: an infinite centre with zero ranges keeps exactly the
    // targets lying at that infinity.
    EXPECT_EQ(in_range(w, 0, 1, kInf, 0, 0, 0), (L{4}));
    EXPECT_EQ(in_range(w, 0, 1, -kInf, -kInf, 0, 0), (L{5}));
    EXPECT_EQ(in_range(w, 0, 1, 0, 0, -kInf, kInf), L{});
}

TEST(RangeQuery, ReadsRecordsAsTheyAreNowWithoutTheIndex) {
    Warfield w;
    const int32_t a = add(w, {.node = 1, .x = 50});
    add(w, {.node = 2, .camp = 3, .grid_y = 8});
    EXPECT_TRUE(test::Inspect::target_index_dirty(w));
    EXPECT_EQ(in_range(w, 0, 1, 0, 0, 1, 1), (L{2}));
    w.set<&TargetState::global_position_x, &TargetState::global_position_y>(a, 0.5f, -1);
    EXPECT_EQ(in_range(w, 0, 1, 0, 0, 1, 1), (L{1, 2}));
    w.set<&TargetState::camp>(a, 0);
    EXPECT_EQ(in_range(w, 0, 1, 0, 0, 1, 1), (L{2}));
    w.unregister_target(1);
    EXPECT_EQ(in_range(w, 0, 1, 0, 0, 1, 1), L{});
    // Queries leave a dirty index dirty.
    EXPECT_TRUE(test::Inspect::target_index_dirty(w));
}

}  // namespace
}  // namespace warfield
