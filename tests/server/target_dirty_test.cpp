// Which target operations mark the index out of date, and which do not.
#include <gtest/gtest.h>

#include "fake_host.h"
#include "busy_records.h"
#include "simulation/physics_frame.h"
#include "inspect.h"

namespace warfield {
namespace {

// One physics frame in an empty scene rebuilds a dirty index.
void clean(Warfield& w) {
    test::FakeHost host;  // an empty scene
    _physics_process(w, host, 1.0 / 60.0);
    ASSERT_FALSE(test::Inspect::target_index_dirty(w));
}

TEST(TargetDirty, RegisterAndUnregisterAlwaysMark) {
    Warfield w;
    EXPECT_FALSE(test::Inspect::target_index_dirty(w));
    const int32_t id = test::add_target(w);
    EXPECT_TRUE(test::Inspect::target_index_dirty(w));
    clean(w);
    w.unregister_target(id);
    EXPECT_TRUE(test::Inspect::target_index_dirty(w));
    clean(w);
    // Reusing the released slot marks too.
    EXPECT_EQ(test::add_target(w), id);
    EXPECT_TRUE(test::Inspect::target_index_dirty(w));
}

TEST(TargetDirty, CampAndRowMarkOnlyWhenTheValueChanges) {
    Warfield w;
    const int32_t id = test::add_target(w, 1, 4, 2);
    clean(w);
    w.set<&TargetState::camp>(id, 4);
    w.set<&TargetState::grid_y>(id, 2);
    EXPECT_FALSE(test::Inspect::target_index_dirty(w));
    w.set<&TargetState::camp>(id, 5);
    EXPECT_TRUE(test::Inspect::target_index_dirty(w));
    clean(w);
    w.set<&TargetState::grid_y>(id, 3);
    EXPECT_TRUE(test::Inspect::target_index_dirty(w));
    EXPECT_EQ(w.targets()[id].camp, 5);
    EXPECT_EQ(w.targets()[id].grid_y, 3);
}

TEST(TargetDirty, AReleasedSlotStillTakesANewRowAndMarks) {
    Warfield w;
    const int32_t id = test::add_target(w, 1, 0, 2);
    w.unregister_target(id);
    clean(w);
    w.set<&TargetState::grid_y>(id, 7);
    EXPECT_EQ(w.targets()[id].grid_y, 7);
    EXPECT_TRUE(test::Inspect::target_index_dirty(w));
    clean(w);
    EXPECT_EQ(w.target_index().targets_by_grid_y.find(7), nullptr);
}

TEST(TargetDirty, OtherSettersAndOtherPoolsNeverMark) {
    Warfield w;
    const int32_t id = test::add_target(w);
    clean(w);
    test::call_plain_target_setters(w, id);
    test::add_projectile(w);
    test::add_character(w);
    test::add_ground_item(w);
    w.unregister_character(0);
    EXPECT_FALSE(test::Inspect::target_index_dirty(w));
}

TEST(TargetDirty, InvalidIdsLeaveTheFlagAsItWas) {
    Warfield w;
    test::add_target(w);
    clean(w);
    for (int32_t bad : {-1, 1, 1000, INT32_MIN}) {
        w.unregister_target(bad);
        w.set<&TargetState::camp>(bad, 9);
        w.set<&TargetState::grid_y>(bad, 9);
    }
    EXPECT_FALSE(test::Inspect::target_index_dirty(w));
    test::add_target(w);
    w.unregister_target(-1);
    EXPECT_TRUE(test::Inspect::target_index_dirty(w));
}

}  // namespace
}  // namespace warfield
