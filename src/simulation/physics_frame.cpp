// The shipped frame: nodes remembered while the engine reports what changes
// them.
#include "simulation/frame_loop.h"

namespace warfield {

template void ready_with<NodeLookup::remembered>(Warfield&, Host&);
template void physics_process_with<NodeLookup::remembered>(Warfield&, Host&, double);
template void step_projectiles_with<NodeLookup::remembered>(Warfield&, Host&, float);

}  // namespace warfield
