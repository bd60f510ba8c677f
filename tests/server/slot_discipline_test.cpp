// Slot ids, reuse order, slot counts and active counts, the same on all four
// pools.
#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "busy_records.h"

namespace warfield {
namespace {

struct PoolOps {
    const char* name;
    std::function<int32_t(Warfield&, uint64_t)> add;
    std::function<void(Warfield&, int32_t)> remove;
    std::function<int32_t(const Warfield&)> active;
    std::function<int32_t(const Warfield&)> slots;
};

std::vector<PoolOps> all_pools() {
    return {
        {"projectile", [](Warfield& w, uint64_t n) { return test::add_projectile(w, n); },
         [](Warfield& w, int32_t id) { w.unregister_projectile(id); },
         [](const Warfield& w) { return w.get_active_projectile_count(); },
         [](const Warfield& w) { return w.projectiles().size(); }},
        {"character", [](Warfield& w, uint64_t n) { return test::add_character(w, n); },
         [](Warfield& w, int32_t id) { w.unregister_character(id); },
         [](const Warfield& w) { return w.get_active_character_count(); },
         [](const Warfield& w) { return w.characters().size(); }},
        {"target", [](Warfield& w, uint64_t n) { return test::add_target(w, n); },
         [](Warfield& w, int32_t id) { w.unregister_target(id); },
         [](const Warfield& w) { return w.get_active_target_count(); },
         [](const Warfield& w) { return w.targets().size(); }},
        {"ground item", [](Warfield& w, uint64_t n) { return test::add_ground_item(w, n); },
         [](Warfield& w, int32_t id) { w.unregister_ground_item(id); },
         [](const Warfield& w) { return w.get_active_ground_item_count(); },
         [](const Warfield& w) { return w.ground_items().size(); }},
    };
}

TEST(SlotDiscipline, IdsStartAtZeroAndTheMostRecentlyReleasedIsReusedFirst) {
    for (const PoolOps& pool : all_pools()) {
        SCOPED_TRACE(pool.name);
        Warfield w;
        EXPECT_EQ(pool.active(w), 0);
        for (int32_t i = 0; i < 6; ++i) EXPECT_EQ(pool.add(w, 100 + i), i);
        pool.remove(w, 3);
        pool.remove(w, 5);
        EXPECT_EQ(pool.add(w, 200), 5);
        EXPECT_EQ(pool.add(w, 201), 3);
        EXPECT_EQ(pool.add(w, 202), 6);
        EXPECT_EQ(pool.slots(w), 7);
        EXPECT_EQ(pool.active(w), 7);
    }
}

TEST(SlotDiscipline, ReleasingEverySlotKeepsTheSlotCount) {
    for (const PoolOps& pool : all_pools()) {
        SCOPED_TRACE(pool.name);
        Warfield w;
        for (int32_t i = 0; i < 4; ++i) pool.add(w, 1);
        for (int32_t i = 0; i < 4; ++i) pool.remove(w, i);
        EXPECT_EQ(pool.slots(w), 4);
        EXPECT_EQ(pool.active(w), 0);
        pool.add(w, 1);
        EXPECT_EQ(pool.active(w), 1);
        EXPECT_EQ(pool.slots(w), 4);
    }
}

TEST(SlotDiscipline, ASecondUnregisterNeverHandsOutOneSlotTwice) {
    for (const PoolOps& pool : all_pools()) {
        SCOPED_TRACE(pool.name);
        Warfield w;
        pool.add(w, 1);
        pool.add(w, 2);
        pool.remove(w, 0);
        pool.remove(w, 0);
        pool.remove(w, 1);
        pool.remove(w, 0);
        std::set<int32_t> ids{pool.add(w, 3), pool.add(w, 4), pool.add(w, 5)};
        EXPECT_EQ(ids, (std::set<int32_t>{0, 1, 2}));
        EXPECT_EQ(pool.active(w), 3);
    }
}

TEST(SlotDiscipline, AFinishedProjectileIsStillReleasedByUnregister) {
    Warfield w;
    const int32_t a = test::add_projectile(w);
    test::add_projectile(w);
    w.set<&ProjectileState::hit_over>(a, true);
    EXPECT_EQ(w.get_active_projectile_count(), 1);
    // Not released yet: the next registration appends.
    EXPECT_EQ(test::add_projectile(w), 2);
    w.unregister_projectile(a);
    EXPECT_EQ(test::add_projectile(w), a);
    EXPECT_TRUE(w.projectiles()[a].active);
    EXPECT_FALSE(w.projectiles()[a].hit_over);
}

TEST(SlotDiscipline, HitOverFalseDoesNotReviveAProjectile) {
    Warfield w;
    const int32_t id = test::add_projectile(w);
    w.set<&ProjectileState::hit_over>(id, true);
    w.set<&ProjectileState::hit_over>(id, false);
    EXPECT_FALSE(w.projectiles()[id].active);
    EXPECT_FALSE(w.projectiles()[id].hit_over);
    EXPECT_EQ(w.get_active_projectile_count(), 0);
    // A flying projectile stays flying.
    const int32_t b = test::add_projectile(w);
    w.set<&ProjectileState::hit_over>(b, false);
    EXPECT_TRUE(w.projectiles()[b].active);
}

TEST(SlotDiscipline, SettersDoNotChangeActiveCounts) {
    Warfield w;
    const int32_t c = test::add_character(w);
    w.set<&CharacterState::die>(c, true);
    w.set<&CharacterState::in_game>(c, false);
    EXPECT_EQ(w.get_active_character_count(), 1);
    const int32_t t = test::add_target(w);
    w.set<&TargetState::die>(t, true);
    EXPECT_EQ(w.get_active_target_count(), 1);
}

TEST(SlotDiscipline, ReleasedSlotsStillAcceptSetters) {
    Warfield w;
    const int32_t id = test::add_projectile(w);
    w.unregister_projectile(id);
    w.set<&ProjectileState::velocity>(id, {7, 8});
    EXPECT_EQ(w.projectiles()[id].velocity.x, 7.0f);
    EXPECT_FALSE(w.projectiles()[id].active);
}

// Test builds check the pools' invariants: reaching past the slots through
// the unchecked access stops at once instead of reading another record.
TEST(SlotDisciplineDeathTest, UncheckedAccessPastTheSlotsStopsATestBuild) {
    Warfield w;
    test::add_character(w, 1);
    EXPECT_DEATH(static_cast<void>(w.characters()[1]), "invariant broken: valid\\(id\\)");
    EXPECT_DEATH(static_cast<void>(w.characters()[-1]), "hold an id the pool handed out");
}

TEST(GridSize, DefaultsAndStoresAnyValue) {
    Warfield w;
    EXPECT_EQ(w.get_grid_size().x, 80.0f);
    EXPECT_EQ(w.get_grid_size().y, 98.0f);
    w.set_grid_size({-3.5f, 0.0f});
    EXPECT_EQ(w.get_grid_size().x, -3.5f);
    EXPECT_EQ(w.get_grid_size().y, 0.0f);
}

}  // namespace
}  // namespace warfield
