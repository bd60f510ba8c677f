// What a registration writes: every argument exactly as given, and the fixed
// initial values, whatever a reused slot held before.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <tuple>

#include "busy_records.h"

namespace warfield {
namespace {

uint32_t bits(float f) { return std::bit_cast<uint32_t>(f); }

TEST(RecordDefaults, ReusedCharacterSlotStartsWithTheFixedFlags) {
    Warfield w;
    const int32_t id = test::add_character(w);
    w.set<&CharacterState::die>(id, true);
    w.set<&CharacterState::near_die>(id, true);
    w.set<&CharacterState::invisible>(id, true);
    w.set<&CharacterState::in_game>(id, false);
    w.set<&CharacterState::ice_speed_down>(id, true);
    w.set<&CharacterState::blow_back, &CharacterState::blow_back_num>(id, true, 2.5f);
    w.set<&CharacterState::has_buffs>(id, true);
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
    w.set<&ProjectileState::hit_over>(id, true);
    w.unregister_projectile(id);
    ASSERT_EQ(test::add_projectile(w), id);
    EXPECT_TRUE(w.projectiles()[id].active);
    EXPECT_FALSE(w.projectiles()[id].hit_over);
}

// A definition whose every field holds a value of its own: n-th field, n.
void distinct(bool& v, int n) { v = n % 2 == 1; }
void distinct(int32_t& v, int n) { v = -n; }
void distinct(uint64_t& v, int n) { v = (1ull << 63) | static_cast<uint64_t>(n); }
void distinct(float& v, int n) { v = static_cast<float>(n) + 0.5f; }
void distinct(Vector2& v, int n) { v = {static_cast<float>(n) + 0.25f, -static_cast<float>(n)}; }
void distinct(Vector2i& v, int n) { v = {n, -n}; }

template <class Def>
Def distinct_def(int first) {
    Def d;
    int n = first;
    std::apply([&](auto... member) { (distinct(d.*member, n++), ...); }, Schema<Def>::members);
    return d;
}

// Registers a definition after another, then compares every field of its
// record with it, bit for bit.
template <class Def, class Register, class Read>
void expect_lands_whole(Register reg, Read read) {
    const Def first = distinct_def<Def>(1);
    const Def second = distinct_def<Def>(100);
    reg(first);
    const int32_t id = reg(second);
    const auto& record = read(id);
    std::size_t i = 0;
    auto check = [&](auto member) {
        EXPECT_EQ(std::memcmp(&(record.*member), &(second.*member), sizeof(second.*member)), 0)
            << Schema<Def>::names[i];
        ++i;
    };
    std::apply([&](auto... member) { (check(member), ...); }, Schema<Def>::members);
}

TEST(RecordDefaults, EveryDefinitionFieldLandsInItsRecord) {
    Warfield w;
    expect_lands_whole<ProjectileDef>([&](const ProjectileDef& d) { return w.register_projectile(d); },
                                      [&](int32_t id) -> const ProjectileState& { return w.projectiles()[id]; });
    expect_lands_whole<CharacterDef>([&](const CharacterDef& d) { return w.register_character(d); },
                                     [&](int32_t id) -> const CharacterState& { return w.characters()[id]; });
    expect_lands_whole<TargetDef>([&](const TargetDef& d) { return w.register_target(d); },
                                  [&](int32_t id) -> const TargetState& { return w.targets()[id]; });
    expect_lands_whole<GroundItemDef>([&](const GroundItemDef& d) { return w.register_ground_item(d); },
                                      [&](int32_t id) -> const GroundItemState& { return w.ground_items()[id]; });
}

TEST(RecordDefaults, OddFloatsAndIntsAreStoredBitForBit) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const float denormal = std::numeric_limits<float>::denorm_min();
    const int32_t min_int = std::numeric_limits<int32_t>::min();

    Warfield w;
    const int32_t t = w.register_target({0, min_int, min_int, min_int, -1, true, true, true, true, true, min_int, nan,
                                        -inf, true, true, true, true, true, true, true});
    EXPECT_EQ(w.targets()[t].camp, min_int);
    EXPECT_EQ(bits(w.targets()[t].global_position_x), bits(nan));
    EXPECT_EQ(bits(w.targets()[t].global_position_y), bits(-inf));
    w.set<&TargetState::global_position_x, &TargetState::global_position_y>(t, denormal, -0.0f);
    EXPECT_EQ(bits(w.targets()[t].global_position_x), bits(denormal));
    EXPECT_EQ(bits(w.targets()[t].global_position_y), bits(-0.0f));

    const int32_t g = w.register_ground_item({0, nan, inf, denormal, -inf, 1e38f, false, false});
    EXPECT_EQ(bits(w.ground_items()[g].z_val), bits(nan));
    w.set<&GroundItemState::y_speed>(g, -denormal);
    EXPECT_EQ(bits(w.ground_items()[g].y_speed), bits(-denormal));

    const int32_t c = test::add_character(w);
    w.set<&CharacterState::grid_pos>(c, {min_int, std::numeric_limits<int32_t>::max()});
    w.set<&CharacterState::blow_back, &CharacterState::blow_back_num>(c, true, nan);
    EXPECT_EQ(w.characters()[c].grid_pos.x, min_int);
    EXPECT_EQ(bits(w.characters()[c].blow_back_num), bits(nan));
    w.set_grid_size({nan, inf});
    EXPECT_EQ(bits(w.get_grid_size().x), bits(nan));
}

TEST(RecordDefaults, CharacterSettersWriteTheirOwnField) {
    Warfield w;
    const int32_t id = test::add_character(w);
    w.set<&CharacterState::z_val>(id, 4.5f);
    w.set<&CharacterState::ground_height>(id, -1.0f);
    w.set<&CharacterState::shadow_follow_height>(id, false);
    w.set<&CharacterState::should_update_grid_pos>(id, false);
    w.set<&CharacterState::blow_back, &CharacterState::blow_back_num>(id, true, 2.5f);
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
