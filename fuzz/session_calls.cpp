// The operations that take many arguments or reach the engine side: the four
// registrations, the queries, the two engine callbacks and the spawn
// shortcuts.
#include <cmath>
#include <cstring>

#include "invariants.h"
#include "session.h"

namespace warfield::fuzz {
namespace {

bool same_float(float a, float b) { return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

void Session::op_register_projectile() {
    const uint64_t node = instance_id();
    const int32_t type = i32();
    const Vector2 velocity = vec2();
    const float speed = f32();
    const int32_t collision_flags = i32();
    const int32_t camp = i32();
    const int32_t grid_y = i32();
    const bool check_all = flag();
    const float proj_height = f32();
    const int32_t height_enum = i32();
    const bool check_height = flag();
    const float fire_length = f32();
    const float check_distance = f32();
    const Vector2 save_pos = vec2();
    const float height = f32();
    const float ground_height = f32();
    const int32_t fire_dir_x = i32();
    const float y_speed = f32();
    const float z_val = f32();
    const float gravity = f32();
    const float gravity_scale = f32();
    const uint64_t target = instance_id();
    const float catapult_time = f32();
    const Vector2 catapult_target = vec2();
    const Vector2 catapult_control = vec2();
    const bool rotate_follow = flag();
    const float rotate_scale = f32();
    const bool use_range = flag();
    const int32_t id = w_.register_projectile(node, type, velocity, speed, collision_flags, camp, grid_y, check_all,
                                              proj_height, height_enum, check_height, fire_length, check_distance,
                                              save_pos, height, ground_height, fire_dir_x, y_speed, z_val, gravity,
                                              gravity_scale, target, catapult_time, catapult_target,
                                              catapult_control, rotate_follow, rotate_scale, use_range);
    registered(projectiles_, "projectile", id);
    if (failed()) return;
    const ProjectileState& r = w_.projectiles()[id];
    if (r.node_instance_id != node || r.target_instance_id != target || r.type != type || r.hit_over ||
        !r.active || std::memcmp(&r.z_val, &z_val, sizeof z_val) != 0) {
        fail("register_projectile did not store its arguments as given");
    }
}

void Session::op_register_character() {
    const uint64_t node = instance_id();
    const uint64_t sprite_group = instance_id();
    const uint64_t shadow_sprite = instance_id();
    const uint64_t transform_point = instance_id();
    const uint64_t hitbox = instance_id();
    const Vector2 shadow_scale = vec2();
    const Vector2 shadow_position = vec2();
    const bool shadow_follow = flag();
    const float ground_height = f32();
    const float ground_right = f32();
    const Vector2i grid_pos = vec2i();
    const int32_t rand_fresh = i32();
    const bool should_update = flag();
    const float z_val = f32();
    const float time_scale = f32();
    const float near_death = f32();
    const float config_near_death = f32();
    const int32_t id = w_.register_character(node, sprite_group, shadow_sprite, transform_point, hitbox, shadow_scale,
                                             shadow_position, shadow_follow, ground_height, ground_right, grid_pos,
                                             rand_fresh, should_update, z_val, time_scale, near_death,
                                             config_near_death);
    registered(characters_, "character", id);
    if (failed()) return;
    const CharacterState& r = w_.characters()[id];
    if (r.node_instance_id != node || r.hitbox_id != hitbox || !r.in_game || r.die || r.blow_back ||
        r.blow_back_num != 0.0f) {
        fail("register_character did not store its record as specified");
    }
}

void Session::op_register_target() {
    const uint64_t node = instance_id();
    const int32_t camp = i32();
    const int32_t grid_y = i32();
    const int32_t collision_flags = i32();
    const int32_t mask_flags = i32();
    const uint8_t bits = u8();
    const int32_t height = i32();
    const float x = f32();
    const float y = f32();
    const uint8_t kinds = u8();
    auto bit = [](uint8_t b, int i) { return (b & (1u << i)) != 0; };
    const int32_t id = w_.register_target(node, camp, grid_y, collision_flags, mask_flags, bit(bits, 0), bit(bits, 1),
                                          bit(bits, 2), bit(bits, 3), bit(bits, 4), height, x, y, bit(kinds, 0),
                                          bit(kinds, 1), bit(kinds, 2), bit(kinds, 3), bit(kinds, 4), bit(kinds, 5),
                                          bit(kinds, 6));
    registered(targets_, "target", id);
    if (failed()) return;
    if (!w_.target_index_dirty()) fail("register_target left the index clean");
    const TargetState& r = w_.targets()[id];
    if (r.node_instance_id != node || r.camp != camp || r.grid_y != grid_y || r.mask_flags != mask_flags ||
        std::memcmp(&r.global_position_x, &x, sizeof x) != 0) {
        fail("register_target did not store its arguments as given");
    }
}

void Session::op_register_ground_item() {
    const uint64_t node = instance_id();
    const float z_val = f32();
    const float ground_height = f32();
    const float y_speed = f32();
    const float gravity = f32();
    const float gravity_scale = f32();
    const bool is_ground = flag();
    const bool gravity_use = flag();
    const int32_t id =
        w_.register_ground_item(node, z_val, ground_height, y_speed, gravity, gravity_scale, is_ground, gravity_use);
    registered(ground_items_, "ground item", id);
    if (failed()) return;
    if (std::memcmp(&w_.ground_items()[id].y_speed, &y_speed, sizeof y_speed) != 0) {
        fail("register_ground_item did not store its arguments as given");
    }
}

void Session::op_query(Op op) {
    InstanceIdList out;
    if (op == Op::query_metallic_armor_targets) {
        const int32_t camp = i32();
        const std::size_t here = contexts_.size();
        contexts_.push_back({Context::metallic, camp, {}});
        w_.query_metallic_armor_targets(scene_, camp, out);
        const std::vector<uint64_t> answered = std::move(contexts_[here].answered_true);
        contexts_.pop_back();
        if (!failed() && out != answered) {
            fail("query_metallic_armor_targets result differs from the targets that answered true");
        }
        return;
    }
    // The other three call no script and change nothing.
    const StoreSnapshot before = snapshot_store(w_);
    contexts_.push_back({Context::query, 0, {}});
    std::string problem;
    switch (op) {
        case Op::query_targets_in_line: {
            const int32_t camp = i32();
            const int32_t grid_y = i32();
            const int32_t flags = i32();
            const bool all = flag();
            const int32_t self_y = i32();
            w_.query_targets_in_line(camp, grid_y, flags, all, self_y, out);
            problem = check_line_result(w_, out, camp, flags);
            break;
        }
        case Op::query_targets_in_range: {
            const int32_t camp = i32();
            const int32_t flags = i32();
            const float cx = f32();
            const float cy = f32();
            const float rx = f32();
            const float ry = f32();
            w_.query_targets_in_range(camp, flags, cx, cy, rx, ry, out);
            problem = check_range_result(w_, out, camp, flags, cx, cy, rx, ry);
            break;
        }
        default: {
            const int32_t camp = i32();
            const int32_t flags = i32();
            w_.query_targets_all(camp, flags, out);
            problem = check_all_result(w_, out, flags);
            break;
        }
    }
    contexts_.pop_back();
    if (!problem.empty()) return fail(problem);
    if (!(snapshot_store(w_) == before)) fail("a const query changed the node");
}

void Session::op_frame() {
    const double d = delta();
    // Frames run only from the top: scripts have no way to run one inside
    // another.
    if (depth_ > 0 || frames_ >= limits_.max_frames) return;
    ++frames_;
    const bool editor = scene_.is_editor_hint();
    const StoreSnapshot before = snapshot_store(w_);
    const auto& pool = w_.projectiles();
    for (int32_t id = 0; id < pool.size(); ++id) {
        if (pool[id].active && !pool[id].hit_over) scene_.allow_writes_below(pool[id].node_instance_id);
    }
    contexts_.push_back({Context::frame, 0, {}});
    w_._physics_process(scene_, d);
    contexts_.pop_back();
    scene_.forbid_all_writes();
    if (failed()) return;
    if (editor) {
        if (!(snapshot_store(w_) == before)) fail("a frame in the editor changed the node");
        return;
    }
    if (w_.frame_count() != before.frame_count + 1) return fail("frame_count did not advance by one");
    const std::string e = check_index_matches_rebuild(w_);
    if (!e.empty()) fail(e);
}

void Session::op_ready() {
    const Rect2 old = w_.visible_rect();
    const StoreSnapshot before = snapshot_store(w_);
    contexts_.push_back({Context::query, 0, {}});  // no script may run from _ready
    w_._ready(scene_);
    contexts_.pop_back();
    if (failed()) return;
    if (!(snapshot_store(w_) == before)) return fail("_ready changed a pool");
    const Rect2 now = w_.visible_rect();
    const ObjectHandle viewport = scene_.is_editor_hint() ? nullptr : scene_.get_viewport();
    if (viewport == nullptr) {
        if (std::memcmp(&old, &now, sizeof now) != 0) fail("_ready changed visible_rect without a viewport");
        return;
    }
    const Rect2 r = scene_.get_visible_rect(viewport);
    if (now.position.x != -100.0f || !same_float(now.position.y, r.position.y) ||
        !same_float(now.size.x, r.size.x + 200.0f) || !same_float(now.size.y, r.size.y)) {
        fail("_ready captured the wrong play area");
    }
}

void Session::op_spawn_projectile() {
    const int32_t type = i32();
    const Vector2 position = vec2();
    const Vector2 velocity = vec2();
    const float speed = f32();
    const float z_val = f32();
    const float y_speed = f32();
    const float ground = f32();
    const float check_distance = f32();
    const float rotate_scale = f32();
    const bool rotate_follow = flag();
    const uint64_t target = instance_id();
    SceneNode* node = scene_.spawn(true, true, 0x0F, 0);
    if (node == nullptr) return;
    last_spawned_ = node;
    node->position = position;
    const int32_t id = w_.register_projectile(node->instance_id, type, velocity, speed, 1, 0, 0, false, 0.0f, 0,
                                              false, 1.0f, check_distance, position, 0.0f, ground, 1, y_speed, z_val,
                                              2000.0f, 1.0f, target, 0.0f, {}, {}, rotate_follow, rotate_scale, false);
    registered(projectiles_, "projectile", id);
}

void Session::op_spawn_target() {
    const int32_t camp = i32();
    const int32_t grid_y = i32();
    const int32_t mask = i32();
    const uint8_t bits = u8();
    const Vector2 position = vec2();
    SceneNode* node = scene_.spawn(true, true, 0, 0);
    if (node == nullptr) return;
    node->position = position;
    auto bit = [&](int i) { return (bits & (1u << i)) != 0; };
    // A zero byte gives a plain hittable target.
    const int32_t id = w_.register_target(node->instance_id, camp, grid_y, 1, mask, bit(0), !bit(1), bit(2), bit(3),
                                          bit(4), 0, position.x, position.y, false, bit(5), false, false, true, true,
                                          false);
    registered(targets_, "target", id);
}

}  // namespace warfield::fuzz
