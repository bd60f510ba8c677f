#include "reference_frame.h"

#include "simulation/frame_loop.h"

namespace warfield {

template void ready_with<NodeLookup::by_path>(Warfield&, Host&);
template void physics_process_with<NodeLookup::by_path>(Warfield&, Host&, double);
template void step_projectiles_with<NodeLookup::by_path>(Warfield&, Host&, float);

namespace test {

void ready(Warfield& warfield, Host& host, NodeLookup lookup) {
    if (lookup == NodeLookup::by_path) return ready_with<NodeLookup::by_path>(warfield, host);
    _ready(warfield, host);
}

void physics_process(Warfield& warfield, Host& host, double delta, NodeLookup lookup) {
    if (lookup == NodeLookup::by_path) return physics_process_with<NodeLookup::by_path>(warfield, host, delta);
    _physics_process(warfield, host, delta);
}

}  // namespace test
}  // namespace warfield
