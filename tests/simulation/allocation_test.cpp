// The physics frame allocates nothing once the pools have their size.
//
// This file replaces the global allocation functions for the whole test
// binary; they only count while `counting` is set.
#include <atomic>
#include <cstdlib>
#include <new>

#include "sim_fixture.h"
#include "simulation/physics_frame.h"

namespace {

std::atomic<bool> counting{false};
std::atomic<std::size_t> allocations{0};

void* allocate(std::size_t n) {
    if (counting.load(std::memory_order_relaxed)) allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(n == 0 ? 1 : n)) return p;
    throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t n) { return allocate(n); }
void* operator new[](std::size_t n) { return allocate(n); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace warfield::test {
namespace {

using M = ScriptMethod;

TEST(Allocation, SteadyFramesAllocateNothing) {
    FakeHost host;
    Warfield w;
    host.logging = false;
    host.viewport_rect = {{0, -1e6f}, {1280, 2e6f}};
    _ready(w, host);
    const uint64_t target = host.add_node();
    host.place(target, {1e5f, 300});
    w.register_target({target, 1, 2, 1, 1, false, false, false, false, false, 0, 0, 0, false, false, false, false,
                      true, true, false});
    int callbacks = 0;
    for (int i = 0; i < 200; ++i) {
        const ProjectileScene s = host.add_projectile_scene();
        host.place(s.root, {static_cast<float>(i), 300});
        for (int m = 0; m < static_cast<int>(M::count); ++m) host.on(s.root, static_cast<M>(m), [&] { ++callbacks; });
        ProjectileDef a{.node_instance_id = s.root, .type = i % 6, .velocity = {3, 1}, .speed = 40, .ground_height = 0,
                         .z_val = 50, .target_instance_id = i % 12 == 3 ? target : 0, .rotate_scale = 2};
        if (a.type == 4) {
            a.y_speed = -20000;
            a.rotate_follow_velocity = true;
        }
        w.register_projectile(a);
    }
    _physics_process(w, host, kFrame);
    _physics_process(w, host, kFrame);

    counting = true;
    for (int f = 0; f < 120; ++f) _physics_process(w, host, kFrame);
    counting = false;

    EXPECT_EQ(allocations.load(), 0u);
    EXPECT_GT(callbacks, 120 * 60);  // straight and arc call every frame
    EXPECT_EQ(w.get_active_projectile_count(), 200);
    EXPECT_TRUE(host.violations().empty());
}

}  // namespace
}  // namespace warfield::test
