// The height of the kinds that fly above the ground (lob, arc, catapult): its
// fall under gravity, where it stands against the ground, and the landing.
#pragma once

#include <cstdint>

#include "server/projectile_state.h"
#include "simulation/step_ops.h"

namespace warfield {

// One frame of fall: y_speed gains `gain`, the kind's gravity times delta
// (each kind multiplies in its own order), then the height drops by
// y_speed * delta, with the y_speed just gained.
void fall(ProjectileState& r, float gain, float delta);

// Above the ground or rising. A NaN height, ground or speed is neither.
inline bool above_or_rising(const ProjectileState& r) { return r.z_val > r.ground_height || r.y_speed < 0.0f; }

// Down to the ground (or below it) and not rising. A NaN height, ground or
// speed is neither, so this is not the negation of above_or_rising.
inline bool down_and_falling(const ProjectileState& r) { return r.ground_height >= r.z_val && r.y_speed >= 0.0f; }

// How a shot comes to rest: where the last frame left it (possibly below the
// ground), or with its height set to the ground and its fall stopped.
enum class Landing : uint8_t { in_place, snapped };

// Ends the shot on the ground: places it as `how` says, then finishes it with
// "land_from_extension".
StepOutcome land(StepContext& s, Landing how);

}  // namespace warfield
