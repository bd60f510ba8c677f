// The node's two engine callbacks and the frame's loop over the projectiles.
#pragma once

#include "server/warfield.h"
#include "simulation/host.h"

namespace warfield {

// Captures the play area once the node is in the tree (not in the editor).
void _ready(Warfield& warfield, Host& host);
// Steps every flying projectile, then rebuilds the target index if a target
// changed (not in the editor).
void _physics_process(Warfield& warfield, Host& host, double delta);
// The projectile loop alone, as _physics_process runs it.
void step_projectiles(Warfield& warfield, Host& host, float delta);

}  // namespace warfield
