// A scripted scene standing in for the engine.
//
// Nodes have instance ids, a class (Node2D or not), an in-tree flag, named
// children, a local transform and per-node script methods. Any node can be
// freed at any time, also from inside a script method: lookups then find
// nothing, and any later host operation on it is recorded as a violation
// rather than touching freed memory. Every host operation is logged (unless
// logging is off) and counted, so tests can assert exact call sequences.
//
// Global positions compose translations only: a node's global position is
// its parent's plus its own position. Rotation and scale are stored, not
// composed.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "simulation/host.h"

namespace warfield::test {

enum class HostOp : uint8_t {
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

const char* host_op_name(HostOp op);

struct HostCall {
    HostOp op;
    uint64_t node = 0;  // instance id of the node operated on; 0 for none
    ScriptMethod method = ScriptMethod::count;
    ChildPath path = ChildPath::count;
    // For the setters: the value passed (x, y; rotation in x).
    Vector2 value{};
};

// The instance ids of a projectile scene built by add_projectile_scene; 0 for
// a child that was left out.
struct ProjectileScene {
    uint64_t root = 0;
    uint64_t body = 0;
    uint64_t sprite = 0;
    uint64_t shadow = 0;
    uint64_t hit_box = 0;
};

class FakeHost final : public Host {
public:
    struct Node {
        uint64_t id = 0;
        std::string name;
        bool node2d = true;
        bool in_tree = true;  // own flag; also needs every ancestor in the tree
        bool freed = false;
        Node* parent = nullptr;
        std::vector<Node*> children;
        Vector2 position{};
        float rotation = 0.0f;
        Vector2 scale{1.0f, 1.0f};
        // Shared, so a call can hold the method it runs without copying it.
        std::array<std::shared_ptr<const std::function<bool()>>, static_cast<std::size_t>(ScriptMethod::count)>
            methods{};
    };

    struct ChildParts {
        bool body = true;
        bool sprite = true;
        bool shadow = true;
        bool hit_box = true;
    };

    FakeHost();

    // Scene building. Ids start at 1; 0 never names a node.
    uint64_t add_node(bool node2d = true);
    uint64_t add_child(uint64_t parent, const char* name, bool node2d = true);
    ProjectileScene add_projectile_scene(ChildParts parts);
    ProjectileScene add_projectile_scene() { return add_projectile_scene(ChildParts{}); }
    // Frees the node and everything below it.
    void free_node(uint64_t id);
    // Renames the node; as in the engine, a name a sibling already bears gets
    // a number appended.
    void rename(uint64_t id, const char* name);
    // Moves the node (keeping its subtree) below another parent; 0 detaches it
    // from any parent, leaving it outside the tree.
    void reparent(uint64_t id, uint64_t new_parent);
    // The node's record; stays valid (and inspectable) after it is freed.
    Node& node(uint64_t id);
    bool exists(uint64_t id) const;
    Vector2 global_position_of(uint64_t id) const;
    void place(uint64_t id, Vector2 global_position);

    // A script method on the node; replaces any earlier one. Callbacks may do
    // anything, including freeing this node or defining new methods.
    void on(uint64_t id, ScriptMethod method, std::function<void()> fn);
    void on_bool(uint64_t id, ScriptMethod method, std::function<bool()> fn);

    // Engine state.
    bool editor_hint = false;
    bool has_viewport = true;
    Rect2 viewport_rect{{0.0f, 0.0f}, {1280.0f, 720.0f}};
    bool logging = true;

    // Observations.
    const std::vector<HostCall>& log() const { return log_; }
    void clear_log();
    // Operations counted since the last clear_log, logged or not.
    std::size_t count(HostOp op) const { return counts_[static_cast<std::size_t>(op)]; }
    std::size_t total_calls() const;
    // Script methods called, in order, on the node (or on any node for 0).
    std::vector<ScriptMethod> script_calls(uint64_t id = 0) const;
    std::size_t script_call_count(uint64_t id, ScriptMethod method) const;
    // Operations made on freed nodes or foreign handles; empty when sound.
    const std::vector<std::string>& violations() const { return violations_; }

    // Host.
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
    // The live node behind a handle, or null after recording a violation.
    Node* touch(ObjectHandle handle, HostOp op);
    Node* lookup(uint64_t id);
    const Node* lookup(uint64_t id) const;
    void record(HostOp op, const Node* n, ScriptMethod method = ScriptMethod::count,
                ChildPath path = ChildPath::count, Vector2 value = {});
    bool in_tree(const Node& n) const;
    static Vector2 global_of(const Node& n);
    void free_tree(Node& n);
    // Takes n out of its parent's children (n keeps its parent pointer).
    void unlink_from_parent(Node& n);
    bool run(ObjectHandle object, ScriptMethod method, HostOp op);

    std::deque<Node> nodes_;  // a deque keeps every node's address for the test's life
    std::unordered_set<const void*> handles_;  // every node ever made, freed or not
    int viewport_ = 0;        // the viewport's handle is this member's address
    std::vector<HostCall> log_;
    std::array<std::size_t, static_cast<std::size_t>(HostOp::count)> counts_{};
    std::vector<std::string> violations_;
};

}  // namespace warfield::test
