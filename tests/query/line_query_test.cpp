// query_targets_in_line: the row walk, the line conditions, the whole-field
// scan, and how a stale index is read.
#include <gtest/gtest.h>

#include "query_support.h"

namespace warfield {
namespace {

using test::add;
using test::frame;
using test::in_line;
using test::in_range;
using L = InstanceIdList;

TEST(LineQuery, RowListIsInSlotOrderNotRegistrationOrder) {
    Warfield w;
    for (int i = 0; i < 6; ++i) add(w, {.node = 100u + i, .camp = 1, .grid_y = 9});
    w.unregister_target(3);
    w.unregister_target(5);
    EXPECT_EQ(add(w, {.node = 55, .camp = 1, .grid_y = 2, .mask_flags = 0b011}), 5);
    EXPECT_EQ(add(w, {.node = 33, .camp = 1, .grid_y = 2, .mask_flags = 0b110}), 3);
    frame(w);
    EXPECT_EQ(in_line(w, 0, 2, 0b010, false, 2), (L{33, 55}));
}

TEST(LineQuery, ARowUnknownToTheIndexYieldsNothingEvenAcrossTheField) {
    Warfield w;
    add(w, {.node = 1, .grid_y = 1});
    add(w, {.node = 2, .grid_y = 3});
    frame(w);
    EXPECT_EQ(in_line(w, 0, 2, 1, true, 2), L{});
    EXPECT_EQ(in_line(w, 0, 2, 1, false, 2), L{});
    // A row that only a dead target holds does have an entry.
    add(w, {.node = 3, .grid_y = 2, .die = true});
    frame(w);
    EXPECT_EQ(in_line(w, 0, 2, 1, true, 2), (L{1, 2}));
}

TEST(LineQuery, WithoutCheckAllLineAnotherRowGivesOnlyAllLineTargets) {
    Warfield w;
    add(w, {.node = 1, .grid_y = 2});
    add(w, {.node = 2, .grid_y = 2, .all_line_check = true});
    add(w, {.node = 3, .grid_y = 4, .all_line_check = true});
    add(w, {.node = 4, .grid_y = 2});
    add(w, {.node = 5, .camp = 0, .grid_y = 2, .all_line_check = true});  // the asker's camp
    frame(w);
    EXPECT_EQ(in_line(w, 0, 2, 1, false, 4), (L{2}));
    EXPECT_EQ(in_line(w, 0, 2, 1, false, 2), (L{1, 2, 4}));
    EXPECT_EQ(in_line(w, 1, 2, 1, false, 2), (L{5}));
}

TEST(LineQuery, CheckAllLineListsTheRowFirstThenEveryOtherRowInSlotOrder) {
    Warfield w;
    add(w, {.node = 10, .grid_y = 5});
    add(w, {.node = 11, .grid_y = 2});
    add(w, {.node = 12, .grid_y = -3});
    add(w, {.node = 13, .camp = 0, .grid_y = 1});  // own camp, left out everywhere
    add(w, {.node = 14, .grid_y = 2});
    add(w, {.node = 15, .grid_y = 1, .near_die = true});
    add(w, {.node = 16, .grid_y = 7});
    frame(w);
    // The row's own targets pass without all_line_check even off the asker's row.
    EXPECT_EQ(in_line(w, 0, 2, 1, true, 5), (L{11, 14, 10, 12, 16}));
}

TEST(LineQuery, TargetsNewSinceTheRebuildAreMissingFromTheRowButNotFromScans) {
    Warfield w;
    add(w, {.node = 1, .grid_y = 2});
    add(w, {.node = 2, .grid_y = 6});
    frame(w);
    add(w, {.node = 3, .grid_y = 2});
    add(w, {.node = 4, .grid_y = 6});
    EXPECT_EQ(in_line(w, 0, 2, 1, false, 2), (L{1}));
    // The scan of the other rows does see the new target of row 6.
    EXPECT_EQ(in_line(w, 0, 2, 1, true, 2), (L{1, 2, 4}));
    EXPECT_EQ(in_range(w, 0, 1, 0, 0, 1, 1), (L{1, 2, 3, 4}));
    frame(w);
    EXPECT_EQ(in_line(w, 0, 2, 1, true, 2), (L{1, 3, 2, 4}));
}

TEST(LineQuery, ATargetThatChangedRowIsNotListedUnderTheOldOne) {
    Warfield w;
    add(w, {.node = 1, .grid_y = 2});
    const int32_t moving = add(w, {.node = 2, .grid_y = 2});
    add(w, {.node = 3, .grid_y = 3});
    frame(w);
    w.set<&TargetState::grid_y>(moving, 3);
    // Listed once, by the scan, in its new row: never twice.
    EXPECT_EQ(in_line(w, 0, 2, 1, true, 2), (L{1, 2, 3}));
    EXPECT_EQ(in_line(w, 0, 2, 1, false, 2), (L{1}));
    // Row 3's list predates the move, so the mover is absent there until the rebuild.
    EXPECT_EQ(in_line(w, 0, 3, 1, false, 3), (L{3}));
    frame(w);
    EXPECT_EQ(in_line(w, 0, 3, 1, false, 3), (L{2, 3}));
}

TEST(LineQuery, AReusedSlotStandsInTheOldListOnlyForTheSameRow) {
    Warfield w;
    const int32_t slot = add(w, {.node = 1, .grid_y = 2});
    add(w, {.node = 2, .grid_y = 2});
    frame(w);
    w.unregister_target(slot);
    EXPECT_EQ(in_line(w, 0, 2, 1, false, 2), (L{2}));
    EXPECT_EQ(add(w, {.node = 7, .grid_y = 5}), slot);
    EXPECT_EQ(in_line(w, 0, 2, 1, false, 2), (L{2}));
    w.unregister_target(slot);
    EXPECT_EQ(add(w, {.node = 8, .grid_y = 2}), slot);
    EXPECT_EQ(in_line(w, 0, 2, 1, false, 2), (L{8, 2}));
}

}  // namespace
}  // namespace warfield
