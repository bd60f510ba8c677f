#include "call_budget.h"

#include <cmath>
#include <cstdio>

#include "call_recorder.h"

namespace warfield::bench {

const char* engine_op_name(int op) {
#define WARFIELD_BIND_OP_NAME(member, cls, method, hash) #cls "." #method,
    static constexpr std::array<const char*, kEngineOps> kNames{
        "object_get_instance_from_id", "object_cast_to", "object_get_instance_id",
        WARFIELD_ENGINE_METHODS(WARFIELD_SKIP_ENGINE_METHOD, WARFIELD_BIND_OP_NAME, WARFIELD_SKIP_ENGINE_METHOD)
        "object_call_script_method"};
#undef WARFIELD_BIND_OP_NAME
    return op >= 0 && op < kEngineOps ? kNames[static_cast<std::size_t>(op)] : "";
}

BindName bind_of(int op) {
#define WARFIELD_BIND_OP_CASE(member, cls, method, hash) \
    case member: return {#cls, #method};
    switch (op) {
        WARFIELD_ENGINE_METHODS(WARFIELD_SKIP_ENGINE_METHOD, WARFIELD_BIND_OP_CASE, WARFIELD_SKIP_ENGINE_METHOD)
        default: return {"", ""};
    }
#undef WARFIELD_BIND_OP_CASE
}

namespace {

// Checking that `n` remembered children are still alive (each once between
// script calls): nothing else is asked of a node the engine has said
// nothing about.
void prove(OpCounts& c, double n) { c[lookup] += n; }

// Counts without the root's refinding, and the script calls a frame makes.
// The root is resolved each frame (lookup and is_inside_tree; its class is
// known). No write-back follows a move made after the last script call.
OpCounts by_rules(int kind, double& calls) {
    OpCounts c{};
    calls = 0.0;
    switch (kind) {
        case 0:  // straight, turned along its velocity, with a range
            prove(c, 1);  // the body, turned, then tested against the play area
            c[get_global] = 2;  // advance, body position (the range test knows the root's)
            c[set_global] = 1;  // advance
            c[set_turn] = 1;
            calls = 1.0 + 1.0 / 5.0;  // check_shooter_height; update_grid_pos every 5th frame
            break;
        case 1:  // lob, gliding, with a spinning sprite
            prove(c, 3);  // sprite (and the body on its path), shadow
            c[get_turn] = c[set_turn] = 1;
            c[get_global] = c[set_global] = 1;  // advance
            c[get_local] = c[set_local] = 1;    // body lifted
            c[set_scale] = 1;
            break;
        case 2:  // arc, gliding above its hit window, turned along its path
            prove(c, 1);
            c[get_global] = c[set_global] = 2;  // advance; write-back after disable_monitoring
            c[get_local] = c[set_local] = 1;
            c[set_turn] = 1;
            calls = 1.0;  // disable_monitoring
            break;
        case 3:  // tracking, homing on a far target
            c[lookup] = 1;  // the target (known to be in the tree)
            prove(c, 1);
            // target, root; the advance reads the root again only after update_grid_pos
            c[get_global] = 2.0 + 1.0 / 30.0;
            c[set_global] = 1;
            c[get_turn] = c[set_turn] = 1;
            calls = 1.0 / 30.0;  // update_grid_pos every 30th frame
            break;
        case 4:  // catapult, rising, turned along its path
            prove(c, 3);  // body, shadow, hit box
            c[get_global] = 2;  // advance, body against the play area
            c[set_global] = 1;
            c[get_local] = c[set_local] = 2;  // body and hit box lifted
            c[set_scale] = 1;
            c[set_turn] = 1;
            break;
        default: break;
    }
    c[lookup] += 1.0;  // the root (known to be in the tree)
    c[script] = calls;
    return c;
}

}  // namespace

// After every script call the step finds its root again by id: the script
// may have freed the node, and the step must then not touch it.
OpCounts prescribed(int kind) {
    double calls = 0.0;
    OpCounts c = by_rules(kind, calls);
    c[lookup] += calls;
    return c;
}

double total(const OpCounts& c) {
    double t = 0.0;
    for (const double v : c) t += v;
    return t;
}

std::string differences(const OpCounts& want, const OpCounts& got) {
    std::string out;
    for (int op = 0; op < kEngineOps; ++op) {
        const double w = want[static_cast<std::size_t>(op)];
        const double g = got[static_cast<std::size_t>(op)];
        if (std::abs(w - g) > 1e-9) {
            char line[160];
            std::snprintf(line, sizeof line, "%s: prescribed %.4f, made %.4f\n", engine_op_name(op), w, g);
            out += line;
        }
    }
    return out;
}

OpCounts from_recording(std::span<const uint64_t> by_op, double projectile_frames, uint64_t* per_frame_calls) {
    const auto n = [&](Op op) { return static_cast<double>(by_op[static_cast<std::size_t>(op)]) / projectile_frames; };
    OpCounts c{};
    c[lookup] = n(Op::object_from_instance_id);
    c[cast] = n(Op::cast_to_node2d);
    c[instance] = n(Op::get_instance_id);
#define WARFIELD_COUNT_BIND_OP(member, cls, method, hash) c[member] = n(Op::method);
    WARFIELD_ENGINE_METHODS(WARFIELD_SKIP_ENGINE_METHOD, WARFIELD_COUNT_BIND_OP, WARFIELD_SKIP_ENGINE_METHOD)
#undef WARFIELD_COUNT_BIND_OP
    c[script] = n(Op::call) + n(Op::call_bool);
    if (per_frame_calls != nullptr) {
        *per_frame_calls = 0;
#define WARFIELD_COUNT_FIXED(member, cls, method, hash) *per_frame_calls += by_op[static_cast<std::size_t>(Op::method)];
        WARFIELD_ENGINE_METHODS(WARFIELD_COUNT_FIXED, WARFIELD_SKIP_ENGINE_METHOD, WARFIELD_SKIP_ENGINE_METHOD)
#undef WARFIELD_COUNT_FIXED
    }
    return c;
}

}  // namespace warfield::bench
