// What a registration writes: every argument exactly as given, and the fixed
// initial values, whatever a reused slot held before.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

#include "registrations.h"

namespace warfield {
namespace {

uint32_t bits(float f) { return std::bit_cast<uint32_t>(f); }

TEST(RecordDefaults, ReusedCharacterSlotStartsWithTheFixedFlags) {
    Warfield w;
    const int32_t id = test::add_character(w);
    w.set_character_die(id, true);
    w.set_character_near_die(id, true);
    w.set_character_invisible(id, true);
    w.set_character_in_game(id, false);
    w.set_character_ice_speed_down(id, true);
    w.set_character_blow_back(id, true, 2.5f);
    w.set_character_has_buffs(id, true);
    w.unregister_character(id);
    ASSERT_EQ(test::add_character(w, 9), id);

    const CharacterState& c = w.characters()[id];
    EXPECT_TRUE(c.active);
    EXPECT_TRUE(c.in_game);
    EXPECT_FALSE(c.die);
    EXPECT_FALSE(c.near_die);
    EXPECT_FALSE(c.invisible);
    EXPECT_FALSE(c.ice_speed_down);
    EXPECT_FALSE(c.blow_back);
    EXPECT_FALSE(c.has_buffs);
    EXPECT_EQ(c.blow_back_num, 0.0f);
    EXPECT_EQ(c.node_instance_id, 9u);
}

TEST(RecordDefaults, ReusedProjectileSlotStartsFlyingWithHitOverClear) {
    Warfield w;
    const int32_t id = test::add_projectile(w);
    w.set_projectile_hit_over(id, true);
    w.unregister_projectile(id);
    ASSERT_EQ(test::add_projectile(w), id);
    EXPECT_TRUE(w.projectiles()[id].active);
    EXPECT_FALSE(w.projectiles()[id].hit_over);
}

TEST(RecordDefaults, ProjectileArgumentsLandInTheirFields) {
    Warfield w;
    const int32_t id = w.register_projectile(
        0xFFFFFFFFFFFFFFFFull, 7, {1.5f, -2.5f}, 3, -4, 5, 6, true, 7, 8, true, 9, 10, {11, 12}, 13, 14, -1, 15,
        16, 17, 18, 1ull << 63, 20, {21, 22}, {23, 24}, true, 25, true);
    const ProjectileState& p = w.projectiles()[id];
    EXPECT_EQ(p.node_instance_id, 0xFFFFFFFFFFFFFFFFull);
    EXPECT_EQ(p.type, 7);
    EXPECT_EQ(p.velocity.x, 1.5f);
    EXPECT_EQ(p.velocity.y, -2.5f);
    EXPECT_EQ(p.speed, 3.0f);
    EXPECT_EQ(p.collision_flags, -4);
    EXPECT_EQ(p.camp, 5);
    EXPECT_EQ(p.grid_y, 6);
    EXPECT_TRUE(p.check_all);
    EXPECT_EQ(p.proj_height, 7.0f);
    EXPECT_EQ(p.projectile_height_enum, 8);
    EXPECT_TRUE(p.check_height);
    EXPECT_EQ(p.fire_length, 9.0f);
    EXPECT_EQ(p.check_distance, 10.0f);
    EXPECT_EQ(p.save_pos.x, 11.0f);
    EXPECT_EQ(p.save_pos.y, 12.0f);
    EXPECT_EQ(p.height, 13.0f);
    EXPECT_EQ(p.ground_height, 14.0f);
    EXPECT_EQ(p.fire_dir_x, -1);
    EXPECT_EQ(p.y_speed, 15.0f);
    EXPECT_EQ(p.z_val, 16.0f);
    EXPECT_EQ(p.gravity_val, 17.0f);
    EXPECT_EQ(p.gravity_scale_val, 18.0f);
    EXPECT_EQ(p.target_instance_id, 1ull << 63);
    EXPECT_EQ(p.catapult_time, 20.0f);
    EXPECT_EQ(p.catapult_target_pos.y, 22.0f);
    EXPECT_EQ(p.catapult_control_point.x, 23.0f);
    EXPECT_TRUE(p.rotate_follow_velocity);
    EXPECT_EQ(p.rotate_scale, 25.0f);
    EXPECT_TRUE(p.config_use_range);
}

TEST(RecordDefaults, OddFloatsAndIntsAreStoredBitForBit) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const float denormal = std::numeric_limits<float>::denorm_min();
    const int32_t min_int = std::numeric_limits<int32_t>::min();

    Warfield w;
    const int32_t t = w.register_target(0, min_int, min_int, min_int, -1, true, true, true, true, true, min_int, nan,
                                        -inf, true, true, true, true, true, true, true);
    EXPECT_EQ(w.targets()[t].camp, min_int);
    EXPECT_EQ(bits(w.targets()[t].global_position_x), bits(nan));
    EXPECT_EQ(bits(w.targets()[t].global_position_y), bits(-inf));
    w.set_target_position(t, denormal, -0.0f);
    EXPECT_EQ(bits(w.targets()[t].global_position_x), bits(denormal));
    EXPECT_EQ(bits(w.targets()[t].global_position_y), bits(-0.0f));

    const int32_t g = w.register_ground_item(0, nan, inf, denormal, -inf, 1e38f, false, false);
    EXPECT_EQ(bits(w.ground_items()[g].z_val), bits(nan));
    w.set_ground_item_y_speed(g, -denormal);
    EXPECT_EQ(bits(w.ground_items()[g].y_speed), bits(-denormal));

    const int32_t c = test::add_character(w);
    w.set_character_grid_pos(c, {min_int, std::numeric_limits<int32_t>::max()});
    w.set_character_blow_back(c, true, nan);
    EXPECT_EQ(w.characters()[c].grid_pos.x, min_int);
    EXPECT_EQ(bits(w.characters()[c].blow_back_num), bits(nan));
    w.set_grid_size({nan, inf});
    EXPECT_EQ(bits(w.get_grid_size().x), bits(nan));
}

TEST(RecordDefaults, CharacterSettersWriteTheirOwnField) {
    Warfield w;
    const int32_t id = test::add_character(w);
    w.set_character_z(id, 4.5f);
    w.set_character_ground_height(id, -1.0f);
    w.set_character_shadow_follow_height(id, false);
    w.set_character_should_update_grid_pos(id, false);
    w.set_character_blow_back(id, true, 2.5f);
    const CharacterState& c = w.characters()[id];
    EXPECT_EQ(c.z_val, 4.5f);
    EXPECT_EQ(c.ground_height, -1.0f);
    EXPECT_FALSE(c.shadow_follow_height);
    EXPECT_FALSE(c.should_update_grid_pos);
    EXPECT_TRUE(c.blow_back);
    EXPECT_EQ(c.blow_back_num, 2.5f);
    // Untouched fields keep their registration values.
    EXPECT_EQ(c.ground_right, 11.0f);
    EXPECT_EQ(c.grid_pos.y, 13);
}

}  // namespace
}  // namespace warfield
