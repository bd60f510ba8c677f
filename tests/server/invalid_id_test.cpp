// Ids below zero or at or beyond the slot count name no record: every setter
// and unregister ignores them and leaves every pool byte for byte as it was.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <vector>

#include "null_host.h"
#include "registrations.h"

namespace warfield {
namespace {

template <class Record>
std::vector<unsigned char> snapshot(const SlotPool<Record>& pool) {
    std::vector<unsigned char> bytes(sizeof(Record) * static_cast<size_t>(pool.size()));
    for (int32_t i = 0; i < pool.size(); ++i) std::memcpy(&bytes[sizeof(Record) * static_cast<size_t>(i)], &pool[i], sizeof(Record));
    return bytes;
}

void call_every_setter(Warfield& w, int32_t id) {
    w.unregister_projectile(id);
    w.set_projectile_hit_over(id, true);
    w.set_projectile_velocity(id, {9, 9});
    w.set_projectile_target(id, 9);
    w.set_projectile_grid_y(id, 9);

    w.unregister_character(id);
    w.set_character_blow_back(id, true, 9);
    w.set_character_die(id, true);
    w.set_character_near_die(id, true);
    w.set_character_invisible(id, true);
    w.set_character_in_game(id, false);
    w.set_character_ice_speed_down(id, true);
    w.set_character_ground_height(id, 9);
    w.set_character_z(id, 9);
    w.set_character_grid_pos(id, {9, 9});
    w.set_character_has_buffs(id, true);
    w.set_character_shadow_follow_height(id, false);
    w.set_character_should_update_grid_pos(id, false);

    w.unregister_target(id);
    w.set_target_camp(id, 9);
    w.set_target_grid_y(id, 9);
    w.set_target_collision_flags(id, 9);
    w.set_target_mask_flags(id, 9);
    w.set_target_invincible(id, true);
    w.set_target_can_be_collection(id, false);
    w.set_target_die(id, true);
    w.set_target_near_die(id, true);
    w.set_target_all_line_check(id, true);
    w.set_target_height(id, 9);
    w.set_target_position(id, 9, 9);
    w.set_target_is_item(id, true);
    w.set_target_is_crater(id, true);
    w.set_target_is_gravestone(id, true);
    w.set_target_is_vase(id, true);
    w.set_target_can_check(id, false);
    w.set_target_can_projectile_check(id, false);
    w.set_target_is_bowling_base(id, true);

    w.unregister_ground_item(id);
    w.set_ground_item_ground_height(id, 9);
    w.set_ground_item_y_speed(id, 9);
    w.set_ground_item_z(id, 9);
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
    test::NullHost host;
    w._physics_process(host, 0.0);
    ASSERT_FALSE(w.target_index_dirty());

    const auto projectiles = snapshot(w.projectiles());
    const auto characters = snapshot(w.characters());
    const auto targets = snapshot(w.targets());
    const auto ground_items = snapshot(w.ground_items());

    for (int32_t bad : {-1, 3, 4, 1 << 20, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()}) {
        call_every_setter(w, bad);
    }

    EXPECT_EQ(snapshot(w.projectiles()), projectiles);
    EXPECT_EQ(snapshot(w.characters()), characters);
    EXPECT_EQ(snapshot(w.targets()), targets);
    EXPECT_EQ(snapshot(w.ground_items()), ground_items);
    EXPECT_FALSE(w.target_index_dirty());
    EXPECT_EQ(w.projectiles().free_list(), std::vector<int32_t>{1});
    EXPECT_EQ(w.targets().free_list(), std::vector<int32_t>{1});
    // The released slot is still the one handed out next.
    EXPECT_EQ(test::add_target(w), 1);
    EXPECT_EQ(test::add_target(w), 3);
}

TEST(InvalidIds, EmptyPoolsIgnoreIdZero) {
    Warfield w;
    call_every_setter(w, 0);
    EXPECT_EQ(w.projectiles().size(), 0);
    EXPECT_EQ(w.get_active_projectile_count(), 0);
    EXPECT_EQ(w.get_active_target_count(), 0);
    EXPECT_FALSE(w.target_index_dirty());
}

}  // namespace
}  // namespace warfield
