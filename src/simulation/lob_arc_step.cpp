// The two kinds with a height under their own gravity. A lob arms its hit
// area on touchdown and lands a frame later where it is; an arc arms it only
// low in its fall and lands at once, snapped to the ground.
#include <cmath>

#include "simulation/fall_and_land.h"
#include "simulation/kind_steps.h"

namespace warfield {
namespace {

void fall_under_own_gravity(ProjectileState& r, float delta) {
    fall(r, (r.gravity_scale_val * r.gravity_val) * delta, delta);
}

}  // namespace

StepOutcome step_lob(StepContext& s) {
    advance_node(s);
    turn_body_along_velocity(s);

    // Tested on the previous frame's values, so the lob lands one frame after
    // touchdown, without snapping. Written as a negation: a NaN height lands.
    if (!above_or_rising(s.record())) return land(s, Landing::in_place);

    fall_under_own_gravity(s.record(), s.delta);
    lift_child(s, ChildPath::projectile_body);
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
        if (above_or_rising(r)) {
            fall_under_own_gravity(r, s.delta);
            lands = down_and_falling(r);
        }
    }
    if (lands) return land(s, Landing::snapped);

    advance_node(s);
    if (const ObjectHandle body = lift_child(s, ChildPath::projectile_body)) {
        // Along the flight curve on screen, where a positive y_speed points down.
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
