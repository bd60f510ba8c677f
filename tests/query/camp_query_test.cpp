// query_targets_all: the camp's list from the index, and the whole-pool scan
// for a camp the index does not know.
#include <gtest/gtest.h>

#include "query_support.h"

namespace warfield {
namespace {

using test::add;
using test::all_of;
using test::frame;
using L = InstanceIdList;

TEST(CampQuery, ListsTheCampsHittableTargetsInSlotOrder) {
    Warfield w;
    for (int i = 0; i < 4; ++i) add(w, {.node = 100u + i, .camp = 9});
    w.unregister_target(2);
    w.unregister_target(0);
    add(w, {.node = 1, .camp = 4});                  // slot 0
    add(w, {.node = 2, .camp = 4, .grid_y = 3});     // slot 2
    add(w, {.node = 3, .camp = 4, .invincible = true});
    add(w, {.node = 5, .camp = 4, .grid_y = -8});
    frame(w);
    EXPECT_EQ(all_of(w, 4, 1), (L{1, 2, 5}));
    EXPECT_EQ(all_of(w, 9, 1), (L{101, 103}));
}

TEST(CampQuery, AnIndexedCampListsOnlyTargetsStillOfThatCamp) {
    Warfield w;
    add(w, {.node = 1, .camp = 4});
    const int32_t leaving = add(w, {.node = 2, .camp = 4});
    const int32_t reused = add(w, {.node = 3, .camp = 4});
    frame(w);
    w.set<&TargetState::camp>(leaving, 6);
    w.unregister_target(reused);
    EXPECT_EQ(add(w, {.node = 7, .camp = 5}), reused);
    add(w, {.node = 8, .camp = 4});  // new since the rebuild: not in the camp's list yet
    EXPECT_EQ(all_of(w, 4, 1), (L{1}));
    // Camps 5 and 6 have no entry, so the pool is scanned for their targets.
    EXPECT_EQ(all_of(w, 5, 1), (L{7}));
    EXPECT_EQ(all_of(w, 6, 1), (L{2}));
    frame(w);
    EXPECT_EQ(all_of(w, 4, 1), (L{1, 8}));
}

TEST(CampQuery, AnUnknownCampScansThePoolForThatCampOnly) {
    Warfield w;
    add(w, {.node = 1, .camp = 0});
    frame(w);
    add(w, {.node = 2, .camp = 1});
    add(w, {.node = 3, .camp = 2});
    add(w, {.node = 4, .camp = 1, .die = true});
    add(w, {.node = 5, .camp = 1, .mask_flags = 0b100});
    EXPECT_EQ(all_of(w, 1, 0b101), (L{2, 5}));
    EXPECT_EQ(all_of(w, 1, 0b010), L{});
    EXPECT_EQ(all_of(w, 3, 1), L{});
}

}  // namespace
}  // namespace warfield
