// Steers its velocity straight at a target node and eases its body round to
// face it; hits when close. Without a target it coasts and asks the script
// for one now and then.
#include <algorithm>
#include <cmath>

#include "simulation/angle_wrap.h"
#include "simulation/kind_steps.h"

namespace warfield {

namespace {

// Turns the velocity straight at the target and eases the body round to face
// it. True when the projectile is close enough to hit.
bool steer_at(StepContext& s, ObjectHandle target) {
    const Vector2 tp = s.host.get_global_position(target);
    const Vector2 pp = root_global_position(s);
    float dx = tp.x - pp.x;
    float dy = tp.y - pp.y;
    const float length_squared = dx * dx + dy * dy;
    if (length_squared != 0.0f) {
        const float length = std::sqrt(length_squared);
        dx = dx / length;
        dy = dy / length;
    }

    if (const ObjectHandle body = find_child(s, ChildPath::projectile_body)) {
        const float current = s.host.get_rotation(body);
        const float diff = wrap_angle(std::atan2(dy, dx) - current);
        s.host.set_rotation(body, current + std::min(s.delta * tuning::kTrackingTurnRate, 1.0f) * diff);
    }

    ProjectileState& r = s.record();
    r.velocity = {dx * r.speed, dy * r.speed};

    const float ex = pp.x - tp.x;
    const float ey = pp.y - tp.y;
    return ex * ex + ey * ey < tuning::kTrackingHitDistanceSquared;
}

}  // namespace

StepOutcome step_tracking(StepContext& s) {
    const uint64_t target_id = s.record().target_instance_id;
    ObjectHandle target = nullptr;
    if (target_id != 0) {
        ObjectHandle object = nullptr;
        target = resolve_node(s.host, target_id, s.cache, s.slot, Role::target, object);
    }

    if (target != nullptr) {
        if (steer_at(s, target)) return finish_projectile(s, ScriptMethod::hit_target_from_extension);
    } else {
        if (target_id != 0 && !call_script(s, ScriptMethod::target_died_from_extension)) {
            return StepOutcome::abandoned;
        }
        s.record().target_instance_id = 0;
    }

    if (s.frame.frame_count % tuning::kTrackingScriptInterval == 0) {
        if (!call_script(s, ScriptMethod::update_grid_pos)) return StepOutcome::abandoned;
        if (s.record().target_instance_id == 0 && !call_script(s, ScriptMethod::find_track_target)) {
            return StepOutcome::abandoned;
        }
    }

    advance_node(s);
    return StepOutcome::done;
}

}  // namespace warfield
