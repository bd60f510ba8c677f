// The node's two engine callbacks and the frame's loop over the projectiles.
#pragma once

#include "server/warfield.h"
#include "port/host.h"
#include "simulation/node_cache.h"

namespace warfield {

// The frame for one way of finding nodes (frame_loop.h); the library ships
// the remembered one.
template <NodeLookup Lookup>
void ready_with(Warfield& warfield, Host& host);
template <NodeLookup Lookup>
void physics_process_with(Warfield& warfield, Host& host, double delta);
template <NodeLookup Lookup>
void step_projectiles_with(Warfield& warfield, Host& host, float delta);

extern template void ready_with<NodeLookup::remembered>(Warfield&, Host&);
extern template void physics_process_with<NodeLookup::remembered>(Warfield&, Host&, double);
extern template void step_projectiles_with<NodeLookup::remembered>(Warfield&, Host&, float);

// Captures the play area once the node is in the tree, and starts hearing of
// changes to it (not in the editor).
inline void _ready(Warfield& warfield, Host& host) { ready_with<NodeLookup::remembered>(warfield, host); }
// Steps every flying projectile, then rebuilds the target index if a target
// changed (not in the editor).
inline void _physics_process(Warfield& warfield, Host& host, double delta) {
    physics_process_with<NodeLookup::remembered>(warfield, host, delta);
}
// The projectile loop alone, as _physics_process runs it.
inline void step_projectiles(Warfield& warfield, Host& host, float delta) {
    step_projectiles_with<NodeLookup::remembered>(warfield, host, delta);
}

}  // namespace warfield
