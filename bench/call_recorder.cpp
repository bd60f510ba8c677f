#include "call_recorder.h"

#include <bit>

namespace warfield::bench {

const char* op_name(Op op) {
    switch (op) {
        case Op::is_editor_hint: return "is_editor_hint";
        case Op::get_viewport: return "get_viewport";
        case Op::get_visible_rect: return "get_visible_rect";
        case Op::object_from_instance_id: return "object_from_instance_id";
        case Op::cast_to_node2d: return "cast_to_node2d";
        case Op::is_inside_tree: return "is_inside_tree";
        case Op::get_node_or_null: return "get_node_or_null";
        case Op::get_instance_id: return "get_instance_id";
        case Op::get_parent: return "get_parent";
        case Op::has_name: return "has_name";
        case Op::get_global_position: return "get_global_position";
        case Op::set_global_position: return "set_global_position";
        case Op::get_position: return "get_position";
        case Op::set_position: return "set_position";
        case Op::get_rotation: return "get_rotation";
        case Op::set_rotation: return "set_rotation";
        case Op::set_scale: return "set_scale";
        case Op::call: return "call";
        case Op::call_bool: return "call_bool";
        case Op::count: break;
    }
    return "";
}

void RecordingHost::add(Op op, ObjectHandle object, float x, float y, uint8_t arg) {
    RecordedCall c;
    c.object = object;
    c.x = x;
    c.y = y;
    c.op = op;
    c.arg = arg;
    out_.push_back(c);
}

bool RecordingHost::is_editor_hint() {
    add(Op::is_editor_hint, nullptr);
    return inner_.is_editor_hint();
}

ObjectHandle RecordingHost::get_viewport() {
    add(Op::get_viewport, nullptr);
    return inner_.get_viewport();
}

Rect2 RecordingHost::get_visible_rect(ObjectHandle viewport) {
    add(Op::get_visible_rect, viewport);
    return inner_.get_visible_rect(viewport);
}

ObjectHandle RecordingHost::object_from_instance_id(uint64_t instance_id) {
    RecordedCall c;
    c.instance_id = instance_id;
    c.x = c.y = 0.0f;
    c.op = Op::object_from_instance_id;
    c.arg = 0;
    out_.push_back(c);
    return inner_.object_from_instance_id(instance_id);
}

ObjectHandle RecordingHost::cast_to_node2d(ObjectHandle object) {
    add(Op::cast_to_node2d, object);
    return inner_.cast_to_node2d(object);
}

bool RecordingHost::is_inside_tree(ObjectHandle node) {
    add(Op::is_inside_tree, node);
    return inner_.is_inside_tree(node);
}

ObjectHandle RecordingHost::get_node_or_null(ObjectHandle node, ChildPath path) {
    add(Op::get_node_or_null, node, 0.0f, 0.0f, static_cast<uint8_t>(path));
    return inner_.get_node_or_null(node, path);
}

uint64_t RecordingHost::get_instance_id(ObjectHandle object) {
    add(Op::get_instance_id, object);
    return inner_.get_instance_id(object);
}

ObjectHandle RecordingHost::get_parent(ObjectHandle node) {
    add(Op::get_parent, node);
    return inner_.get_parent(node);
}

bool RecordingHost::has_name(ObjectHandle node, ChildPath path) {
    add(Op::has_name, node, 0.0f, 0.0f, static_cast<uint8_t>(path));
    return inner_.has_name(node, path);
}

Vector2 RecordingHost::get_global_position(ObjectHandle node2d) {
    add(Op::get_global_position, node2d);
    return inner_.get_global_position(node2d);
}

void RecordingHost::set_global_position(ObjectHandle node2d, Vector2 p) {
    add(Op::set_global_position, node2d, p.x, p.y);
    inner_.set_global_position(node2d, p);
}

Vector2 RecordingHost::get_position(ObjectHandle node2d) {
    add(Op::get_position, node2d);
    return inner_.get_position(node2d);
}

void RecordingHost::set_position(ObjectHandle node2d, Vector2 p) {
    add(Op::set_position, node2d, p.x, p.y);
    inner_.set_position(node2d, p);
}

float RecordingHost::get_rotation(ObjectHandle node2d) {
    add(Op::get_rotation, node2d);
    return inner_.get_rotation(node2d);
}

void RecordingHost::set_rotation(ObjectHandle node2d, float radians) {
    add(Op::set_rotation, node2d, radians);
    inner_.set_rotation(node2d, radians);
}

void RecordingHost::set_scale(ObjectHandle node2d, Vector2 s) {
    add(Op::set_scale, node2d, s.x, s.y);
    inner_.set_scale(node2d, s);
}

void RecordingHost::call(ObjectHandle object, ScriptMethod method) {
    add(Op::call, object, 0.0f, 0.0f, static_cast<uint8_t>(method));
    inner_.call(object, method);
}

bool RecordingHost::call_bool(ObjectHandle object, ScriptMethod method) {
    add(Op::call_bool, object, 0.0f, 0.0f, static_cast<uint8_t>(method));
    return inner_.call_bool(object, method);
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
            case Op::get_parent: sink ^= bits(host.get_parent(c.object)); break;
            case Op::has_name: sink += host.has_name(c.object, static_cast<ChildPath>(c.arg)) ? 1 : 0; break;
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
