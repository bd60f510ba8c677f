// A throw under a fixed gravity, its body and hit area raised by the
// height; lands snapped to the ground or ends when its body leaves play.
#include <cmath>

#include "simulation/kind_steps.h"

namespace warfield {

StepOutcome step_catapult(StepContext& s) {
    {
        ProjectileState& r = s.record();
        r.y_speed = s.delta * tuning::kCatapultGravity + r.y_speed;
        r.z_val = r.z_val - r.y_speed * s.delta;
    }

    advance_node(s);
    if (const ObjectHandle body = find_child(s, ChildPath::projectile_body)) lift_child(s, body);
    scale_shadow(s);
    if (const ObjectHandle hit_box = find_child(s, ChildPath::hit_box)) lift_child(s, hit_box);

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

    {
        ProjectileState& r = s.record();
        if (r.ground_height >= r.z_val && r.y_speed >= 0.0f) {
            r.z_val = r.ground_height;
            r.y_speed = 0.0f;
            return finish_projectile(s, ScriptMethod::land_from_extension);
        }
    }

    // Looked up afresh: the script call above may have changed the tree.
    if (const ObjectHandle b = find_child(s, ChildPath::projectile_body)) {
        if (!inside_rect(s.frame.visible_rect, s.host.get_global_position(b))) {
            return finish_projectile(s, ScriptMethod::over_from_extension);
        }
    }
    return StepOutcome::done;
}

}  // namespace warfield
