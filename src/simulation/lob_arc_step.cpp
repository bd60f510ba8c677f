// The two kinds with a height under their own gravity. A lob arms its hit
// area on touchdown and lands a frame later where it is; an arc arms it only
// low in its fall and lands at once, snapped to the ground.
#include <cmath>

#include "simulation/kind_steps.h"

namespace warfield {
namespace {

void apply_gravity(ProjectileState& r, float delta) {
    r.y_speed = (r.gravity_scale_val * r.gravity_val) * delta + r.y_speed;
    r.z_val = r.z_val - r.y_speed * delta;
}

bool down_and_falling(const ProjectileState& r) { return r.ground_height >= r.z_val && r.y_speed >= 0.0f; }

}  // namespace

StepOutcome step_lob(StepContext& s) {
    advance_node(s);

    if (s.record().rotate_follow_velocity) {
        if (const ObjectHandle body = find_child(s, ChildPath::projectile_body)) {
            const Vector2 v = s.record().velocity;
            s.host.set_rotation(body, std::atan2(v.y, v.x));
        }
    }

    // Tested on the previous frame's values, so the lob lands one frame after
    // touchdown, without snapping. Written as negations: a NaN height lands.
    {
        const ProjectileState& r = s.record();
        if (!(r.z_val > r.ground_height) && !(r.y_speed < 0.0f)) {
            return finish_projectile(s, ScriptMethod::land_from_extension);
        }
    }

    apply_gravity(s.record(), s.delta);
    if (const ObjectHandle body = find_child(s, ChildPath::projectile_body)) lift_child(s, body);
    scale_shadow(s);

    if (down_and_falling(s.record()) && !call_script(s, ScriptMethod::enable_monitoring)) {
        return StepOutcome::abandoned;
    }
    return StepOutcome::done;
}

StepOutcome step_arc(StepContext& s) {
    bool lands = true;
    {
        ProjectileState& r = s.record();
        if (r.z_val > r.ground_height || r.y_speed < 0.0f) {
            apply_gravity(r, s.delta);
            lands = down_and_falling(r);
        }
        if (lands) {
            r.z_val = r.ground_height;
            r.y_speed = 0.0f;
        }
    }
    if (lands) return finish_projectile(s, ScriptMethod::land_from_extension);

    advance_node(s);
    if (const ObjectHandle body = find_child(s, ChildPath::projectile_body)) {
        lift_child(s, body);
        const ProjectileState& r = s.record();
        if (r.rotate_follow_velocity) {
            const float y_speed = r.y_speed;
            const float vx = r.velocity.x;
            s.host.set_rotation(body, std::atan2(y_speed, vx));
        }
    }

    const ProjectileState& r = s.record();
    const bool low_and_falling = r.y_speed > 0.0f && r.z_val < tuning::kArcMonitoringHeight;
    const ScriptMethod monitoring =
        low_and_falling ? ScriptMethod::enable_monitoring : ScriptMethod::disable_monitoring;
    return call_script(s, monitoring) ? StepOutcome::done : StepOutcome::abandoned;
}

}  // namespace warfield
