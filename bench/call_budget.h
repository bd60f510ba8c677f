// The engine calls one projectile's step may make, per kind, as the movement
// rules prescribe them for the flights of the benchmarks (scenes.cpp and
// library_scene.cpp fly the same configurations), in the steady state: every
// node was found on an earlier frame, the engine has reported no change to
// any of them since, and each is only checked to be still alive.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace warfield::bench {

enum EngineOp : int {
    lookup,      // object_get_instance_from_id
    cast,        // object_cast_to (to Node2D)
    instance,    // object_get_instance_id
    inside,      // Node.is_inside_tree
    child,       // Node.get_node_or_null
    get_global,  // Node2D.get_global_position
    set_global,  // Node2D.set_global_position
    get_local,   // Node2D.get_position
    set_local,   // Node2D.set_position
    get_turn,    // Node2D.get_rotation
    set_turn,    // Node2D.set_rotation
    set_scale,   // Node2D.set_scale
    script,      // object_call_script_method (Object::callp, as Object.call makes)
    kEngineOps
};
using OpCounts = std::array<double, kEngineOps>;

const char* engine_op_name(int op);

// The engine class and method behind each op from `inside` on.
struct BindName {
    const char* cls;
    const char* name;
};
BindName bind_of(int op);

// Per projectile-frame, averaged over a period of 30 frames (the straight
// kind refreshes every 5th frame, tracking every 30th).
OpCounts prescribed(int kind);

double total(const OpCounts& c);

// "" when got equals want; otherwise a line per differing op.
std::string differences(const OpCounts& want, const OpCounts& got);

// Host calls of a recording (HostOp order, fake_host.h) divided by
// `projectile_frames`, in these terms. Per-frame calls (is_editor_hint) are
// left out; `per_frame_calls` receives them.
OpCounts from_recording(std::span<const uint64_t> by_op, double projectile_frames, uint64_t* per_frame_calls);

}  // namespace warfield::bench
