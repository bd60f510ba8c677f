// One step per projectile kind, run once per frame for a flying record after
// its sprite has spun.
#pragma once

#include "simulation/step_ops.h"
#include "simulation/tuning.h"

namespace warfield {

StepOutcome step_straight(StepContext& s);
StepOutcome step_lob(StepContext& s);
StepOutcome step_arc(StepContext& s);
StepOutcome step_tracking(StepContext& s);
StepOutcome step_catapult(StepContext& s);

}  // namespace warfield
