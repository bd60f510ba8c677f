// Ids below zero or at or beyond the slot count name no record: every setter
// and unregister ignores them and leaves every pool byte for byte as it was.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <vector>

#include "fake_host.h"
#include "busy_records.h"
#include "simulation/physics_frame.h"
#include "inspect.h"

namespace warfield {
namespace {

template <class Record>
std::vector<unsigned char> snapshot(const SlotPool<Record>& pool) {
    std::vector<unsigned char> bytes(sizeof(Record) * static_cast<size_t>(pool.size()));
    for (int32_t i = 0; i < pool.size(); ++i) std::memcpy(&bytes[sizeof(Record) * static_cast<size_t>(i)], &pool[i], sizeof(Record));
    return bytes;
}

TEST(InvalidIds, ChangeNothingOnAnyPool) {
    Warfield w;
    for (int i = 0; i < 3; ++i) {
        test::add_projectile(w);
        test::add_character(w);
        test::add_target(w);
        test::add_ground_item(w);
    }
    // Release one slot of each so the free lists are in play too.
    w.unregister_projectile(1);
    w.unregister_character(1);
    w.unregister_target(1);
    w.unregister_ground_item(1);
    test::FakeHost host;  // an empty scene
    _physics_process(w, host, 0.0);
    ASSERT_FALSE(test::Inspect::target_index_dirty(w));

    const auto projectiles = snapshot(w.projectiles());
    const auto characters = snapshot(w.characters());
    const auto targets = snapshot(w.targets());
    const auto ground_items = snapshot(w.ground_items());

    for (int32_t bad : {-1, 3, 4, 1 << 20, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()}) {
        test::call_every_setter(w, bad);
    }

    EXPECT_EQ(snapshot(w.projectiles()), projectiles);
    EXPECT_EQ(snapshot(w.characters()), characters);
    EXPECT_EQ(snapshot(w.targets()), targets);
    EXPECT_EQ(snapshot(w.ground_items()), ground_items);
    EXPECT_FALSE(test::Inspect::target_index_dirty(w));
    EXPECT_EQ(test::Inspect::free_list(w.projectiles()), std::vector<int32_t>{1});
    EXPECT_EQ(test::Inspect::free_list(w.targets()), std::vector<int32_t>{1});
    // The released slot is still the one handed out next.
    EXPECT_EQ(test::add_target(w), 1);
    EXPECT_EQ(test::add_target(w), 3);
}

TEST(InvalidIds, EmptyPoolsIgnoreIdZero) {
    Warfield w;
    test::call_every_setter(w, 0);
    EXPECT_EQ(w.projectiles().size(), 0);
    EXPECT_EQ(w.get_active_projectile_count(), 0);
    EXPECT_EQ(w.get_active_target_count(), 0);
    EXPECT_FALSE(test::Inspect::target_index_dirty(w));
}

}  // namespace
}  // namespace warfield
