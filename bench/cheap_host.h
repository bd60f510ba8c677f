// A host whose every operation is a field read or write, so that a frame's
// time is our own work plus the unavoidable cost of making the calls.
//
// Nodes live in one array and an instance id is the node's index plus one.
// Global and local positions are stored apart and never composed: a child's
// global position is whatever was last set on it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "simulation/host.h"

namespace warfield::bench {

struct CheapNode {
    Vector2 global_position{};
    Vector2 position{};
    Vector2 scale{1.0f, 1.0f};
    float rotation = 0.0f;
    bool alive = true;
    bool node2d = true;
    bool in_tree = true;
    bool armored = false;
    uint32_t script_calls = 0;
    std::array<CheapNode*, static_cast<std::size_t>(ChildPath::count)> children{};
    CheapNode* parent = nullptr;
    uint64_t id = 0;
    ChildPath name = ChildPath::count;  // the path's last name it bears; count for none
};

class CheapHost final : public Host {
public:
    // Handles are pointers into the node array, so it is sized once.
    explicit CheapHost(std::size_t capacity) { nodes_.reserve(capacity); }

    uint64_t add_node();
    // A root with all four children; returns the root's id.
    uint64_t add_projectile_scene();
    CheapNode& node(uint64_t id) { return nodes_[static_cast<std::size_t>(id - 1)]; }
    std::size_t node_count() const { return nodes_.size(); }
    uint64_t script_calls() const;

    Rect2 viewport_rect{{0.0f, 0.0f}, {1280.0f, 720.0f}};

    bool is_editor_hint() override { return false; }
    ObjectHandle get_viewport() override { return this; }
    Rect2 get_visible_rect(ObjectHandle) override { return viewport_rect; }

    ObjectHandle object_from_instance_id(uint64_t id) override {
        if (id - 1 >= nodes_.size()) return nullptr;  // 0 wraps round to the top
        CheapNode& n = nodes_[static_cast<std::size_t>(id - 1)];
        return n.alive ? &n : nullptr;
    }
    ObjectHandle cast_to_node2d(ObjectHandle o) override { return as(o)->node2d ? o : nullptr; }
    bool is_inside_tree(ObjectHandle o) override { return as(o)->in_tree; }
    ObjectHandle get_node_or_null(ObjectHandle o, ChildPath p) override {
        return as(o)->children[static_cast<std::size_t>(p)];
    }
    uint64_t get_instance_id(ObjectHandle o) override { return as(o)->id; }
    ObjectHandle get_parent(ObjectHandle o) override { return as(o)->parent; }
    bool has_name(ObjectHandle o, ChildPath p) override { return as(o)->name == p; }

    Vector2 get_global_position(ObjectHandle o) override { return as(o)->global_position; }
    void set_global_position(ObjectHandle o, Vector2 p) override { as(o)->global_position = p; }
    Vector2 get_position(ObjectHandle o) override { return as(o)->position; }
    void set_position(ObjectHandle o, Vector2 p) override { as(o)->position = p; }
    float get_rotation(ObjectHandle o) override { return as(o)->rotation; }
    void set_rotation(ObjectHandle o, float r) override { as(o)->rotation = r; }
    void set_scale(ObjectHandle o, Vector2 s) override { as(o)->scale = s; }

    void call(ObjectHandle o, ScriptMethod) override { ++as(o)->script_calls; }
    bool call_bool(ObjectHandle o, ScriptMethod) override {
        ++as(o)->script_calls;
        return as(o)->armored;
    }

private:
    static CheapNode* as(ObjectHandle o) { return static_cast<CheapNode*>(o); }

    std::vector<CheapNode> nodes_;
};

}  // namespace warfield::bench
