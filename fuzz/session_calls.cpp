// The operations that take many arguments or reach the engine side: the four
// registrations, the queries, the two engine callbacks and the spawn
// shortcuts.
#include <cmath>
#include <cstring>

#include "invariants.h"
#include "session.h"
#include "simulation/physics_frame.h"
#include "query/target_queries.h"
#include "inspect.h"
#include "reference_frame.h"

namespace warfield::fuzz {
namespace {

bool same_float(float a, float b) { return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

// What only the node sets at registration, beyond the definition.
bool Session::fresh(const ProjectileState& r) const { return r.active && !r.hit_over; }
bool Session::fresh(const CharacterState& r) const {
    return r.active && r.in_game && !r.die && !r.near_die && !r.invisible && !r.ice_speed_down && !r.blow_back &&
           r.blow_back_num == 0.0f && !r.has_buffs;
}
bool Session::fresh(const TargetState& r) const { return r.active && test::Inspect::target_index_dirty(w_); }
bool Session::fresh(const GroundItemState& r) const { return r.active; }

void Session::op_query(Op op) {
    InstanceIdList out;
    if (op == Op::query_metallic_armor_targets) {
        const int32_t camp = i32();
        const std::size_t here = contexts_.size();
        contexts_.push_back({Context::metallic, camp, {}});
        query_metallic_armor_targets(w_, scene_, camp, out);
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
            query_targets_in_line(w_, camp, grid_y, flags, all, self_y, out);
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
            query_targets_in_range(w_, camp, flags, cx, cy, rx, ry, out);
            problem = check_range_result(w_, out, camp, flags, cx, cy, rx, ry);
            break;
        }
        default: {
            const int32_t camp = i32();
            const int32_t flags = i32();
            query_targets_all(w_, camp, flags, out);
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
    test::physics_process(w_, scene_, d, lookup_);
    contexts_.pop_back();
    scene_.forbid_all_writes();
    if (failed()) return;
    if (editor) {
        if (!(snapshot_store(w_) == before)) fail("a frame in the editor changed the node");
        return;
    }
    if (w_.frame().frame_count != before.frame_count + 1) return fail("frame_count did not advance by one");
    const std::string e = check_index_matches_rebuild(w_);
    if (!e.empty()) fail(e);
}

void Session::op_ready() {
    const Rect2 old = w_.frame().visible_rect;
    const StoreSnapshot before = snapshot_store(w_);
    contexts_.push_back({Context::query, 0, {}});  // no script may run from _ready
    test::ready(w_, scene_, lookup_);
    contexts_.pop_back();
    if (failed()) return;
    if (!(snapshot_store(w_) == before)) return fail("_ready changed a pool");
    const Rect2 now = w_.frame().visible_rect;
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
    SceneNode* node = spawn(scene_, true, true, 0x0F, 0);
    if (node == nullptr) return;
    last_spawned_ = node;
    node->position = position;
    const int32_t id = w_.register_projectile({.node_instance_id = node->id,
                                               .type = type,
                                               .velocity = velocity,
                                               .speed = speed,
                                               .collision_flags = 1,
                                               .fire_length = 1.0f,
                                               .check_distance = check_distance,
                                               .save_pos = position,
                                               .ground_height = ground,
                                               .y_speed = y_speed,
                                               .z_val = z_val,
                                               .gravity_val = 2000.0f,
                                               .gravity_scale_val = 1.0f,
                                               .target_instance_id = target,
                                               .rotate_follow_velocity = rotate_follow,
                                               .rotate_scale = rotate_scale});
    registered(projectiles_, "projectile", id);
}

void Session::op_spawn_target() {
    const int32_t camp = i32();
    const int32_t grid_y = i32();
    const int32_t mask = i32();
    const uint8_t bits = u8();
    const Vector2 position = vec2();
    SceneNode* node = spawn(scene_, true, true, 0, 0);
    if (node == nullptr) return;
    node->position = position;
    auto bit = [&](int i) { return (bits & (1u << i)) != 0; };
    // A zero byte gives a plain hittable target.
    const int32_t id = w_.register_target({.node_instance_id = node->id,
                                           .camp = camp,
                                           .grid_y = grid_y,
                                           .collision_flags = 1,
                                           .mask_flags = mask,
                                           .invincible = bit(0),
                                           .can_be_collection = !bit(1),
                                           .die = bit(2),
                                           .near_die = bit(3),
                                           .all_line_check = bit(4),
                                           .global_position_x = position.x,
                                           .global_position_y = position.y,
                                           .is_crater = bit(5),
                                           .can_check = true,
                                           .can_projectile_check = true});
    registered(targets_, "target", id);
}

}  // namespace warfield::fuzz
