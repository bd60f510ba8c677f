// Placeholder until the physics frame lands.
#include "server/warfield.h"
#include "simulation/host.h"

namespace warfield {

void Warfield::_ready(Host&) {}
void Warfield::_physics_process(Host&, double) {
    ++frame_count_;
    if (index_.target_index_dirty) index_.rebuild(targets_);
}
void Warfield::step_projectiles(Host&, float) {}

}  // namespace warfield
