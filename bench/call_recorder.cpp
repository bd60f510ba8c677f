#include "call_recorder.h"

#include <bit>

namespace warfield::bench {

void start_recording(FakeHost& host) {
    host.clear_log();
    host.logging = true;
    host.set_observed(true);
}

void finish_recording(FakeHost& host, std::vector<RecordedCall>& out) {
    host.set_observed(false);
    for (const test::HostCall& c : host.log()) {
        RecordedCall r;
        if (c.op == Op::object_from_instance_id) {
            r.instance_id = c.asked;
        } else if (c.op == Op::get_visible_rect) {
            r.object = host.viewport_handle();
        } else {
            r.object = c.node != 0 ? &host.node(c.node) : nullptr;
        }
        const bool scripted = c.op == Op::call || c.op == Op::call_bool;
        r.x = c.value.x;
        r.y = c.value.y;
        r.op = c.op;
        r.arg = scripted ? static_cast<uint8_t>(c.method) : static_cast<uint8_t>(c.path);
        out.push_back(r);
    }
    host.clear_log();
}

namespace {

uint64_t bits(Vector2 v) {
    return (static_cast<uint64_t>(std::bit_cast<uint32_t>(v.x)) << 32) ^ std::bit_cast<uint32_t>(v.y);
}

uint64_t bits(ObjectHandle p) { return reinterpret_cast<uintptr_t>(p); }

}  // namespace

// Kept out of line so that the calls go through the vtable, as the core's do.
[[gnu::noinline]] uint64_t replay(Host& host, std::span<const RecordedCall> calls) {
    uint64_t sink = 0;
    for (const RecordedCall& c : calls) {
        switch (c.op) {
            case Op::is_editor_hint: sink += host.is_editor_hint() ? 1 : 0; break;
            case Op::get_viewport: sink ^= bits(host.get_viewport()); break;
            case Op::get_visible_rect: sink ^= bits(host.get_visible_rect(c.object).size); break;
            case Op::object_from_instance_id: sink ^= bits(host.object_from_instance_id(c.instance_id)); break;
            case Op::cast_to_node2d: sink ^= bits(host.cast_to_node2d(c.object)); break;
            case Op::is_inside_tree: sink += host.is_inside_tree(c.object) ? 1 : 0; break;
            case Op::get_node_or_null:
                sink ^= bits(host.get_node_or_null(c.object, static_cast<ChildPath>(c.arg)));
                break;
            case Op::get_instance_id: sink ^= host.get_instance_id(c.object); break;
            case Op::get_global_position: sink ^= bits(host.get_global_position(c.object)); break;
            case Op::set_global_position: host.set_global_position(c.object, {c.x, c.y}); break;
            case Op::get_position: sink ^= bits(host.get_position(c.object)); break;
            case Op::set_position: host.set_position(c.object, {c.x, c.y}); break;
            case Op::get_rotation: sink ^= std::bit_cast<uint32_t>(host.get_rotation(c.object)); break;
            case Op::set_rotation: host.set_rotation(c.object, c.x); break;
            case Op::set_scale: host.set_scale(c.object, {c.x, c.y}); break;
            case Op::call: host.call(c.object, static_cast<ScriptMethod>(c.arg)); break;
            case Op::call_bool: sink += host.call_bool(c.object, static_cast<ScriptMethod>(c.arg)) ? 1 : 0; break;
            case Op::count: break;
        }
    }
    return sink;
}

std::vector<uint64_t> count_by_op(std::span<const RecordedCall> calls) {
    std::vector<uint64_t> n(static_cast<std::size_t>(Op::count), 0);
    for (const RecordedCall& c : calls) ++n[static_cast<std::size_t>(c.op)];
    return n;
}

}  // namespace warfield::bench
