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

#include "gdextension/engine_methods.h"

namespace warfield::bench {

enum EngineOp : int {
    lookup,    // object_get_instance_from_id
    cast,      // object_cast_to (to Node2D)
    instance,  // object_get_instance_id
    // The engine methods called on the projectiles' nodes, by their member
    // names in engine_methods.h (inside: Node.is_inside_tree, ...).
#define WARFIELD_BUDGET_OP(member, cls, method, hash) member,
    WARFIELD_ENGINE_METHODS(WARFIELD_SKIP_ENGINE_METHOD, WARFIELD_BUDGET_OP, WARFIELD_SKIP_ENGINE_METHOD)
#undef WARFIELD_BUDGET_OP
    script,    // object_call_script_method (Object::callp, as Object.call makes)
    kEngineOps
};
// The ops made through a bind: those from here to `script`.
inline constexpr int kFirstBindOp = instance + 1;
using OpCounts = std::array<double, kEngineOps>;

const char* engine_op_name(int op);

// The engine class and method behind each bind op; empty names for the others.
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
// `projectile_frames`, in these terms. The calls made whatever the
// projectiles (is_editor_hint each frame; FIXED in engine_methods.h) are left
// out; `per_frame_calls` receives them.
OpCounts from_recording(std::span<const uint64_t> by_op, double projectile_frames, uint64_t* per_frame_calls);

}  // namespace warfield::bench
