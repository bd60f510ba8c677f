#include "scenes.h"
#include "simulation/physics_frame.h"

namespace warfield::bench {

const char* kind_name(Kind kind) {
    switch (kind) {
        case Kind::straight: return "straight";
        case Kind::lob: return "lob";
        case Kind::arc: return "arc";
        case Kind::tracking: return "tracking";
        case Kind::catapult: return "catapult";
        case Kind::mixed: return "mixed";
    }
    return "";
}

namespace {

// Each kind in a typical configuration that never ends on its own within a
// benchmark's run: no gravity for lob and arc (they glide at height 100), a
// throw rising for 300k frames for the catapult, a far-away target for
// tracking, a range that is never exceeded for straight.
ProjectileDef flight_of(Kind kind, uint64_t target) {
    ProjectileDef f;
    f.collision_flags = 1;
    f.velocity = {1.0f, 0.0f};
    f.type = static_cast<int32_t>(kind);
    switch (kind) {
        case Kind::straight:
            f.fire_length = 1.0f;
            f.check_distance = 1e9f;
            f.rotate_follow_velocity = true;
            break;
        case Kind::lob:
            f.z_val = 100.0f;
            f.rotate_scale = 2.0f;
            break;
        case Kind::arc:
            f.z_val = 100.0f;
            f.rotate_follow_velocity = true;
            break;
        case Kind::tracking:
            f.speed = 1.0f;
            f.target_instance_id = target;
            break;
        case Kind::catapult:
            f.y_speed = -1e7f;
            f.rotate_follow_velocity = true;
            break;
        case Kind::mixed: break;
    }
    return f;
}

}  // namespace

int32_t register_flying(Warfield& w, test::FakeHost& host, Kind kind, uint64_t target) {
    const uint64_t node = host.add_projectile_scene().root;
    // Halfway down the play area, as in library_scene.cpp: a rising
    // catapult's body stays in play.
    host.place(node, {0.0f, 5e8f});
    ProjectileDef f = flight_of(kind, target);
    f.node_instance_id = node;
    return w.register_projectile(f);
}

FrameScene::FrameScene(Kind kind, int32_t live_count, bool half_released)
    : live(live_count) {
    host.viewport_rect = {{0.0f, 0.0f}, {1e9f, 1e9f}};
    target = host.add_node();
    host.place(target, {1e7f, 1e7f});
    _ready(warfield, host);
    const int32_t slots = half_released ? 2 * live_count : live_count;
    for (int32_t i = 0; i < slots; ++i) {
        const Kind k = kind == Kind::mixed ? static_cast<Kind>(i / (half_released ? 2 : 1) % kKindCount) : kind;
        register_flying(warfield, host, k, target);
    }
    if (half_released) {
        for (int32_t i = 0; i < slots; i += 2) warfield.unregister_projectile(i);
    }
}

int32_t register_target_at(Warfield& w, uint64_t node, int32_t camp, int32_t grid_y, float x, float y) {
    return w.register_target({node, camp, grid_y, 1, 1, false, true, false, false, false, 0, x, y, false, false,
                             false, false, true, true, false});
}

void register_targets(Warfield& w, int32_t count, int32_t rows) {
    for (int32_t i = 0; i < count; ++i) {
        const float x = static_cast<float>(i * 7919 % 1000);
        const float y = static_cast<float>(i * 104729 % 500);
        register_target_at(w, static_cast<uint64_t>(i) + 1000000, i % 2, i % rows, x, y);
    }
}

}  // namespace warfield::bench
