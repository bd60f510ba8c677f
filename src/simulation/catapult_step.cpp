// A throw under a fixed gravity, its body and hit area raised by the
// height; lands snapped to the ground or ends when its body leaves play.
#include <cmath>

#include "simulation/fall_and_land.h"
#include "simulation/kind_steps.h"

namespace warfield {

StepOutcome step_catapult(StepContext& s) {
    fall(s.record(), s.delta * tuning::kCatapultGravity, s.delta);

    advance_node(s);
    lift_child(s, ChildPath::projectile_body);
    scale_shadow(s);
    lift_child(s, ChildPath::hit_box);

    // Found again (free when nothing changed): a script reacting to the
    // writes above may have freed or replaced the body.
    if (s.record().rotate_follow_velocity) {
        if (const ObjectHandle body = find_child(s, ChildPath::projectile_body)) {
            const float up = -s.record().y_speed;
            const float vx = s.record().velocity.x;
            if (std::sqrt(vx * vx + up * up) > tuning::kCatapultMinTurnSpeed) {
                s.host.set_rotation(body, std::atan2(up, vx));
            }
        }
    }

    {
        const ProjectileState& r = s.record();
        if (r.y_speed > 0.0f && r.z_val - r.ground_height < tuning::kCatapultMonitoringHeight &&
            !call_script(s, ScriptMethod::enable_monitoring)) {
            return StepOutcome::abandoned;
        }
    }

    if (down_and_falling(s.record())) return land(s, Landing::snapped);

    // Looked up afresh: the script call above may have changed the tree.
    if (body_left_play_area(s)) return finish_projectile(s, ScriptMethod::over_from_extension);
    return StepOutcome::done;
}

}  // namespace warfield
