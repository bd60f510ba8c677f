// Flies along its velocity; ends off-screen or beyond its range.
#include "simulation/kind_steps.h"

namespace warfield {

StepOutcome step_straight(StepContext& s) {
    if (s.frame.frame_count % tuning::kGridUpdateInterval == 0 && !call_script(s, ScriptMethod::update_grid_pos)) {
        return StepOutcome::abandoned;
    }
    if (!call_script(s, ScriptMethod::check_shooter_height)) return StepOutcome::abandoned;
    // Only hit_over is consulted: a record released during the calls flies on.
    if (s.record().hit_over) return StepOutcome::done;

    advance_node(s);
    turn_body_along_velocity(s);
    if (body_left_play_area(s)) return finish_projectile(s, ScriptMethod::over_from_extension);

    const ProjectileState& r = s.record();
    if (r.fire_length > 0.0f) {
        const Vector2 from = r.save_pos;
        const float range = r.check_distance;
        const Vector2 p = root_global_position(s);
        const float dx = from.x - p.x;
        const float dy = from.y - p.y;
        if (dx * dx + dy * dy > range * range) return finish_projectile(s, ScriptMethod::over_from_extension);
    }
    return StepOutcome::done;
}

}  // namespace warfield
