#include "simulation/fall_and_land.h"

namespace warfield {

void fall(ProjectileState& r, float gain, float delta) {
    r.y_speed = gain + r.y_speed;
    r.z_val = r.z_val - r.y_speed * delta;
}

StepOutcome land(StepContext& s, Landing how) {
    if (how == Landing::snapped) {
        ProjectileState& r = s.record();
        r.z_val = r.ground_height;
        r.y_speed = 0.0f;
    }
    return finish_projectile(s, ScriptMethod::land_from_extension);
}

}  // namespace warfield
