// The index as the physics frame leaves it: which keys exist, what each list
// holds, and that its storage is kept and bounded.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <optional>
#include <vector>

#include "query_support.h"
#include "inspect.h"

namespace warfield {
namespace {

using test::add;
using test::frame;
using test::list;
using V = std::vector<int32_t>;

TEST(TargetIndex, StartsEmptyAndIsFilledOnlyByAFrame) {
    Warfield w;
    EXPECT_EQ(test::Inspect::key_count(w.target_index().targets_by_grid_y), 0u);
    EXPECT_EQ(w.target_index().targets_by_grid_y.find(0), nullptr);
    EXPECT_EQ(w.target_index().targets_by_camp.find(0), nullptr);

    add(w, {.node = 10, .camp = 0, .grid_y = 1});
    add(w, {.node = 11, .camp = 0, .grid_y = 2});
    add(w, {.node = 12, .camp = 0, .grid_y = 1});
    EXPECT_EQ(w.target_index().targets_by_grid_y.find(1), nullptr);
    frame(w);
    const TargetIndex& index = w.target_index();
    EXPECT_FALSE(index.target_index_dirty);
    EXPECT_EQ(list(index.targets_by_grid_y.find(1)), (V{0, 2}));
    EXPECT_EQ(list(index.targets_by_grid_y.find(2)), (V{1}));
    EXPECT_EQ(list(index.targets_by_camp.find(0)), (V{0, 1, 2}));
    EXPECT_EQ(test::Inspect::key_count(index.targets_by_grid_y), 2u);
    EXPECT_EQ(test::Inspect::key_count(index.targets_by_camp), 1u);
    EXPECT_EQ(index.targets_by_grid_y.find(0), nullptr);
}

TEST(TargetIndex, KeysOfGoneTargetsDisappearAndReleasedSlotsAreSkipped) {
    Warfield w;
    add(w, {.camp = 0, .grid_y = 1});
    add(w, {.camp = 5, .grid_y = 2});
    add(w, {.camp = 0, .grid_y = 1});
    frame(w);
    w.unregister_target(1);
    // A released slot keeps taking setter values, but stays out of the index.
    w.set<&TargetState::grid_y>(1, 9);
    w.set<&TargetState::camp>(1, 9);
    frame(w);
    const TargetIndex& index = w.target_index();
    EXPECT_EQ(index.targets_by_grid_y.find(2), nullptr);
    EXPECT_EQ(index.targets_by_grid_y.find(9), nullptr);
    EXPECT_EQ(index.targets_by_camp.find(5), nullptr);
    EXPECT_EQ(index.targets_by_camp.find(9), nullptr);
    EXPECT_EQ(list(index.targets_by_grid_y.find(1)), (V{0, 2}));
    EXPECT_EQ(list(index.targets_by_camp.find(0)), (V{0, 2}));

    // The last target gone empties both tables.
    w.unregister_target(0);
    w.unregister_target(2);
    frame(w);
    EXPECT_EQ(test::Inspect::key_count(index.targets_by_grid_y), 0u);
    EXPECT_EQ(test::Inspect::key_count(index.targets_by_camp), 0u);
    EXPECT_EQ(index.targets_by_grid_y.find(1), nullptr);
}

TEST(TargetIndex, ListsAreInSlotOrderWhateverTheRegistrationOrder) {
    Warfield w;
    for (int i = 0; i < 6; ++i) add(w, {.camp = 2, .grid_y = 4});
    w.unregister_target(1);
    w.unregister_target(4);
    frame(w);
    // Released slots come back most recent first: 4, then 1.
    EXPECT_EQ(add(w, {.camp = 2, .grid_y = 4}), 4);
    EXPECT_EQ(add(w, {.camp = 2, .grid_y = 4}), 1);
    w.set<&TargetState::grid_y>(3, 7);
    w.set<&TargetState::grid_y>(0, 7);
    frame(w);
    EXPECT_EQ(list(w.target_index().targets_by_grid_y.find(4)), (V{1, 2, 4, 5}));
    EXPECT_EQ(list(w.target_index().targets_by_grid_y.find(7)), (V{0, 3}));
    EXPECT_EQ(list(w.target_index().targets_by_camp.find(2)), (V{0, 1, 2, 3, 4, 5}));
}

TEST(TargetIndex, ExtremeAndManyDistinctKeys) {
    Warfield w;
    const int32_t keys[] = {INT32_MIN, -1, 0, 1, INT32_MAX};
    for (const int32_t k : keys) add(w, {.camp = k, .grid_y = k});
    // Enough rows to make the table grow several times within one rebuild.
    for (int32_t row = 100; row < 1100; ++row) add(w, {.camp = row % 3, .grid_y = row * 7919});
    frame(w);
    const TargetIndex& index = w.target_index();
    for (int32_t i = 0; i < 5; ++i) {
        EXPECT_EQ(list(index.targets_by_grid_y.find(keys[i])), (V{i}));
        EXPECT_EQ(list(index.targets_by_camp.find(keys[i])).front(), i);
    }
    for (int32_t row = 100; row < 1100; ++row) {
        ASSERT_EQ(list(index.targets_by_grid_y.find(row * 7919)), (V{row - 100 + 5})) << row;
    }
    EXPECT_EQ(test::Inspect::key_count(index.targets_by_grid_y), 1005u);
    EXPECT_EQ(index.targets_by_grid_y.find(7919), nullptr);
    // Camps 0 and 1 also hold one of the extreme-key targets.
    EXPECT_EQ(list(index.targets_by_camp.find(2)).size(), 333u);
    EXPECT_EQ(list(index.targets_by_camp.find(0)).size(), 334u);
}

TEST(TargetIndex, StorageIsKeptAcrossRebuilds) {
    Warfield w;
    for (int i = 0; i < 200; ++i) add(w, {.camp = i % 4, .grid_y = i % 9});
    frame(w);
    const std::size_t grown = test::Inspect::reserved_bytes(w.target_index());
    w.unregister_target(7);
    add(w, {.camp = 1, .grid_y = 3});
    frame(w);
    EXPECT_EQ(test::Inspect::reserved_bytes(w.target_index()), grown);
    // Fewer targets under fewer keys keep the storage for later.
    for (int i = 0; i < 150; ++i) w.unregister_target(i);
    frame(w);
    EXPECT_EQ(test::Inspect::reserved_bytes(w.target_index()), grown);
    EXPECT_EQ(test::Inspect::key_count(w.target_index().targets_by_grid_y), 9u);
}

TEST(TargetIndex, EverNewKeysDoNotGrowMemory) {
    Warfield w;
    for (int i = 0; i < 8; ++i) add(w, {.camp = i, .grid_y = i});
    frame(w);
    const std::size_t start = test::Inspect::reserved_bytes(w.target_index());
    // Every frame the targets move to rows and camps never used before.
    for (int32_t round = 1; round <= 5000; ++round) {
        for (int32_t id = 0; id < 8; ++id) {
            w.set<&TargetState::grid_y>(id, round * 8 + id);
            w.set<&TargetState::camp>(id, -(round * 8 + id));
        }
        frame(w);
    }
    EXPECT_EQ(test::Inspect::reserved_bytes(w.target_index()), start);
    EXPECT_EQ(test::Inspect::key_count(w.target_index().targets_by_grid_y), 8u);
    EXPECT_EQ(list(w.target_index().targets_by_grid_y.find(5000 * 8 + 3)), (V{3}));
    EXPECT_EQ(w.target_index().targets_by_grid_y.find(4999 * 8 + 3), nullptr);
}

TEST(TargetIndex, ACopyViewsItsOwnStorage) {
    TargetIndex assigned;
    std::optional<TargetIndex> constructed;
    {
        Warfield w;
        add(w, {.camp = 3, .grid_y = 6});
        add(w, {.camp = 3, .grid_y = 6});
        frame(w);
        assigned = w.target_index();
        constructed.emplace(w.target_index());
    }
    // The original is gone; the copies' lists must not point into it.
    for (const TargetIndex* copy : {&assigned, &*constructed}) {
        EXPECT_EQ(list(copy->targets_by_grid_y.find(6)), (V{0, 1}));
        EXPECT_EQ(list(copy->targets_by_camp.find(3)), (V{0, 1}));
    }
}

}  // namespace
}  // namespace warfield
