// Rebuilding an index whose tables have grown allocates nothing. Global
// allocation is counted in this binary alone.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdlib>
#include <new>

#include "query_support.h"

namespace {
std::size_t g_allocations = 0;
}

void* operator new(std::size_t size) {
    ++g_allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace warfield {
namespace {

using test::add;

std::size_t allocations_during_rebuild(TargetIndex& index, const Warfield& w) {
    const std::size_t before = g_allocations;
    index.rebuild(w.targets());
    return g_allocations - before;
}

TEST(TargetIndexAllocation, RebuildsAfterGrowthAllocateNothing) {
    Warfield w;
    for (int i = 0; i < 500; ++i) add(w, {.camp = i % 5, .grid_y = i % 40});
    TargetIndex index;
    EXPECT_GT(allocations_during_rebuild(index, w), 0u);

    EXPECT_EQ(allocations_during_rebuild(index, w), 0u);

    // Other keys, as many or fewer, still fit the storage already held.
    for (int32_t id = 0; id < 500; ++id) {
        w.set<&TargetState::grid_y>(id, 1000 + id % 40);
        w.set<&TargetState::camp>(id, -7 - id % 5);
    }
    EXPECT_EQ(allocations_during_rebuild(index, w), 0u);
    ASSERT_NE(index.targets_by_grid_y.find(1039), nullptr);
    EXPECT_EQ(index.targets_by_grid_y.find(1039)->size(), 12u);
    EXPECT_EQ(index.targets_by_grid_y.find(39), nullptr);

    for (int32_t id = 0; id < 500; id += 2) w.unregister_target(id);
    EXPECT_EQ(allocations_during_rebuild(index, w), 0u);
    EXPECT_EQ(index.targets_by_camp.find(-7)->size(), 50u);
}

}  // namespace
}  // namespace warfield
