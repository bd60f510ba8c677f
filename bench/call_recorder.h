// Records the host calls a frame makes, so that the same sequence can be
// replayed against the host without any of our code around it. The ratio of
// the two times is what our code adds on top of the engine work.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "simulation/host.h"

namespace warfield::bench {

enum class Op : uint8_t {
    is_editor_hint,
    get_viewport,
    get_visible_rect,
    object_from_instance_id,
    cast_to_node2d,
    is_inside_tree,
    get_node_or_null,
    get_instance_id,
    get_parent,
    has_name,
    get_global_position,
    set_global_position,
    get_position,
    set_position,
    get_rotation,
    set_rotation,
    set_scale,
    call,
    call_bool,
    count
};

const char* op_name(Op op);

struct RecordedCall {
    union {
        ObjectHandle object;
        uint64_t instance_id;
    };
    float x;
    float y;
    Op op;
    uint8_t arg;  // the ChildPath or ScriptMethod
};

// Forwards every call to the inner host and appends it to `out`.
class RecordingHost final : public Host {
public:
    RecordingHost(Host& inner, std::vector<RecordedCall>& out) : inner_(inner), out_(out) {}

    bool is_editor_hint() override;
    ObjectHandle get_viewport() override;
    Rect2 get_visible_rect(ObjectHandle viewport) override;
    ObjectHandle object_from_instance_id(uint64_t instance_id) override;
    ObjectHandle cast_to_node2d(ObjectHandle object) override;
    bool is_inside_tree(ObjectHandle node) override;
    ObjectHandle get_node_or_null(ObjectHandle node, ChildPath path) override;
    uint64_t get_instance_id(ObjectHandle object) override;
    ObjectHandle get_parent(ObjectHandle node) override;
    bool has_name(ObjectHandle node, ChildPath path) override;
    Vector2 get_global_position(ObjectHandle node2d) override;
    void set_global_position(ObjectHandle node2d, Vector2 p) override;
    Vector2 get_position(ObjectHandle node2d) override;
    void set_position(ObjectHandle node2d, Vector2 p) override;
    float get_rotation(ObjectHandle node2d) override;
    void set_rotation(ObjectHandle node2d, float radians) override;
    void set_scale(ObjectHandle node2d, Vector2 s) override;
    void call(ObjectHandle object, ScriptMethod method) override;
    bool call_bool(ObjectHandle object, ScriptMethod method) override;

private:
    void add(Op op, ObjectHandle object, float x = 0.0f, float y = 0.0f, uint8_t arg = 0);

    Host& inner_;
    std::vector<RecordedCall>& out_;
};

// Makes the recorded calls, in order, with their recorded arguments. Results
// are folded into the return value so that none can be optimised away.
uint64_t replay(Host& host, std::span<const RecordedCall> calls);

// Calls of each Op in the sequence.
std::vector<uint64_t> count_by_op(std::span<const RecordedCall> calls);

}  // namespace warfield::bench
