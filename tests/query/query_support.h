// Targets described by the fields the queries read, a host whose nodes answer
// "has_metallic_armor" from test code, and a physics frame to rebuild the index.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>
#include <unordered_map>
#include <vector>

#include "server/warfield.h"
#include "simulation/host.h"

namespace warfield::test {

// Defaults describe a hittable target of camp 1 in row 0 at the origin.
struct Target {
    uint64_t node = 1;
    int32_t camp = 1;
    int32_t grid_y = 0;
    int32_t mask_flags = 1;
    bool invincible = false;
    bool can_be_collection = true;
    bool die = false;
    bool near_die = false;
    bool all_line_check = false;
    float x = 0.0f;
    float y = 0.0f;
    bool is_crater = false;
};

inline int32_t add(Warfield& w, const Target& t) {
    return w.register_target(t.node, t.camp, t.grid_y, /*collision_flags=*/0, t.mask_flags, t.invincible,
                             t.can_be_collection, t.die, t.near_die, t.all_line_check, /*height=*/0, t.x, t.y,
                             /*is_item=*/false, t.is_crater, /*is_gravestone=*/false, /*is_vase=*/false,
                             /*can_check=*/true, /*can_projectile_check=*/true, /*is_bowling_base=*/false);
}

// Scene nodes by instance id. A node's answer may call back into the
// Warfield; a node without an answer has no such method (a nil result).
class ScriptedHost final : public Host {
public:
    using Answer = std::function<bool()>;

    void add_node(uint64_t id, Answer answer) { nodes_[id] = Node{id, std::move(answer), false}; }
    void add_armoured(uint64_t id) {
        add_node(id, [] { return true; });
    }
    // The node stays in the map so that an answer being run is never destroyed.
    void free_node(uint64_t id) {
        if (auto it = nodes_.find(id); it != nodes_.end()) it->second.freed = true;
    }

    // Instance ids of the nodes asked, in order.
    const std::vector<uint64_t>& asked() const { return asked_; }

    bool is_editor_hint() override { return false; }
    ObjectHandle get_viewport() override { return nullptr; }
    Rect2 get_visible_rect(ObjectHandle) override { return {}; }
    ObjectHandle object_from_instance_id(uint64_t id) override {
        const auto it = nodes_.find(id);
        return it == nodes_.end() || it->second.freed ? nullptr : &it->second;
    }
    ObjectHandle cast_to_node2d(ObjectHandle) override { return nullptr; }
    bool is_inside_tree(ObjectHandle) override { return false; }
    ObjectHandle get_node_or_null(ObjectHandle, ChildPath) override { return nullptr; }
    uint64_t get_instance_id(ObjectHandle) override { return 0; }
    ObjectHandle get_parent(ObjectHandle) override { return nullptr; }
    bool has_name(ObjectHandle, ChildPath) override { return false; }
    Vector2 get_global_position(ObjectHandle) override { return {}; }
    void set_global_position(ObjectHandle, Vector2) override {}
    Vector2 get_position(ObjectHandle) override { return {}; }
    void set_position(ObjectHandle, Vector2) override {}
    float get_rotation(ObjectHandle) override { return 0.0f; }
    void set_rotation(ObjectHandle, float) override {}
    void set_scale(ObjectHandle, Vector2) override {}
    void call(ObjectHandle, ScriptMethod) override {}
    bool call_bool(ObjectHandle object, ScriptMethod method) override {
        const Node& node = *static_cast<Node*>(object);
        asked_.push_back(node.id);
        if (method != ScriptMethod::has_metallic_armor || !node.answer) return false;
        return node.answer();
    }

private:
    struct Node {
        uint64_t id = 0;
        Answer answer;
        bool freed = false;
    };
    std::unordered_map<uint64_t, Node> nodes_;  // node-based: handles stay valid as nodes are added
    std::vector<uint64_t> asked_;
};

// One physics frame with no projectiles: rebuilds the index if it is dirty.
inline void frame(Warfield& w) {
    ScriptedHost host;
    w._physics_process(host, 1.0 / 60.0);
}

inline std::vector<int32_t> list(const SlotList* l) {
    return l == nullptr ? std::vector<int32_t>{} : std::vector<int32_t>(l->begin(), l->end());
}

inline InstanceIdList in_line(const Warfield& w, int32_t camp, int32_t grid_y, int32_t flags, bool check_all_line,
                              int32_t self_grid_y) {
    InstanceIdList out;
    w.query_targets_in_line(camp, grid_y, flags, check_all_line, self_grid_y, out);
    return out;
}

inline InstanceIdList in_range(const Warfield& w, int32_t camp, int32_t flags, float cx, float cy, float rx,
                               float ry) {
    InstanceIdList out;
    w.query_targets_in_range(camp, flags, cx, cy, rx, ry, out);
    return out;
}

inline InstanceIdList all_of(const Warfield& w, int32_t camp, int32_t flags) {
    InstanceIdList out;
    w.query_targets_all(camp, flags, out);
    return out;
}

inline InstanceIdList armoured(const Warfield& w, Host& host, int32_t camp) {
    InstanceIdList out;
    w.query_metallic_armor_targets(host, camp, out);
    return out;
}

}  // namespace warfield::test
