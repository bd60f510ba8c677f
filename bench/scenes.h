// Populations of projectiles and targets that keep flying for as long as a
// benchmark runs, so that every frame measured is a steady one.
#pragma once

#include <cstdint>
#include <memory>

#include "fake_host.h"
#include "server/warfield.h"

namespace warfield::bench {

inline constexpr double kDelta = 1.0 / 60.0;

// The five kinds, and a round-robin mix of them.
enum class Kind : int { straight, lob, arc, tracking, catapult, mixed };
inline constexpr int kKindCount = 5;

const char* kind_name(Kind kind);

struct FrameScene {
    // `live` flying projectiles of `kind`; with `half_released` they sit in
    // twice as many slots, every other one released.
    FrameScene(Kind kind, int32_t live, bool half_released);

    test::FakeHost host{{.observed = false}};  // near-free
    Warfield warfield;
    uint64_t target = 0;  // what the tracking projectiles fly at
    int32_t live;
};

// Registers one projectile of the kind on a new scene in `host`.
int32_t register_flying(Warfield& w, test::FakeHost& host, Kind kind, uint64_t target);

// `count` targets spread over `rows` rows and two camps, all hittable by
// collision flag 1, at positions spread over a 1000 x 500 field.
void register_targets(Warfield& w, int32_t count, int32_t rows);

int32_t register_target_at(Warfield& w, uint64_t node, int32_t camp, int32_t grid_y, float x, float y);

}  // namespace warfield::bench
