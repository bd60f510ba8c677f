#include "scenes.h"

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

struct Flight {
    int32_t type = 0;
    Vector2 velocity{1.0f, 0.0f};
    float speed = 0.0f;
    float fire_length = 0.0f;
    float check_distance = 0.0f;
    float y_speed = 0.0f;
    float z_val = 0.0f;
    float gravity_val = 0.0f;
    float gravity_scale_val = 0.0f;
    uint64_t target = 0;
    bool rotate_follow_velocity = false;
    float rotate_scale = 0.0f;
};

// Each kind in a typical configuration that never ends on its own within a
// benchmark's run: no gravity for lob and arc (they glide at height 100), a
// throw rising for 300k frames for the catapult, a far-away target for
// tracking, a range that is never exceeded for straight.
Flight flight_of(Kind kind, uint64_t target) {
    Flight f;
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
            f.target = target;
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

int32_t register_flying(Warfield& w, CheapHost& host, Kind kind, uint64_t target) {
    const uint64_t node = host.add_projectile_scene();
    const Flight f = flight_of(kind, target);
    return w.register_projectile(node, f.type, f.velocity, f.speed, 1, 0, 0, false, 0.0f, 0, false, f.fire_length,
                                 f.check_distance, {0.0f, 0.0f}, 0.0f, 0.0f, 1, f.y_speed, f.z_val, f.gravity_val,
                                 f.gravity_scale_val, f.target, 0.0f, {}, {}, f.rotate_follow_velocity,
                                 f.rotate_scale, false);
}

FrameScene::FrameScene(Kind kind, int32_t live_count, bool half_released)
    : host(static_cast<std::size_t>(live_count) * (half_released ? 2 : 1) * 5 + 1), live(live_count) {
    host.viewport_rect = {{0.0f, 0.0f}, {1e9f, 1e9f}};
    target = host.add_node();
    host.node(target).global_position = {1e7f, 1e7f};
    warfield._ready(host);
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
    return w.register_target(node, camp, grid_y, 1, 1, false, true, false, false, false, 0, x, y, false, false,
                             false, false, true, true, false);
}

void register_targets(Warfield& w, int32_t count, int32_t rows) {
    for (int32_t i = 0; i < count; ++i) {
        const float x = static_cast<float>(i * 7919 % 1000);
        const float y = static_cast<float>(i * 104729 % 500);
        register_target_at(w, static_cast<uint64_t>(i) + 1000000, i % 2, i % rows, x, y);
    }
}

}  // namespace warfield::bench
