// A small scene of nodes behind the core's Host interface, for the fuzzer and
// the robustness tests.
//
// Nodes are never deallocated while the scene lives: a freed node keeps its
// storage and is only marked, so a handle the core kept across a script call
// is reported as a touch of a freed node instead of crashing the harness.
// Script methods are forwarded to a ScriptHandler, which may re-enter the
// Warfield node.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "simulation/host.h"

namespace warfield::fuzz {

struct SceneNode {
    uint64_t instance_id = 0;
    bool freed = false;
    bool is_node2d = true;
    bool in_tree = true;
    bool is_viewport = false;
    SceneNode* parent = nullptr;
    ChildPath name = ChildPath::count;  // the path whose last name it bears; count for none
    // Children at the four paths of ChildPath; projectile_sprite hangs below
    // projectile_body, so it is reachable only while the body is there.
    std::array<SceneNode*, static_cast<std::size_t>(ChildPath::count)> children{};
    Vector2 position;  // local to the parent
    float rotation = 0.0f;
    Vector2 scale{1.0f, 1.0f};
};

class ScriptHandler {
public:
    virtual ~ScriptHandler() = default;
    // A script method runs on node; the result is its answer (for call_bool).
    virtual bool on_script_call(SceneNode& node, ScriptMethod method) = 0;
};

class FuzzScene final : public Host {
public:
    FuzzScene();

    void set_handler(ScriptHandler* handler) { handler_ = handler; }
    void set_editor_hint(bool editor) { editor_ = editor; }
    void set_viewport(bool present, Rect2 rect) {
        has_viewport_ = present;
        visible_rect_ = rect;
    }

    // Adds a root node with the children named in child_mask (bit i for
    // ChildPath i). Returns null when the scene is full.
    SceneNode* spawn(bool is_node2d, bool in_tree, uint8_t child_mask, uint8_t odd_children_mask);
    // Frees node and everything below it, detaching it from its parent.
    void free_node(SceneNode& node);
    // The child of root at path, kept alive: renamed (so no path finds it),
    // moved below another root (at the same path there, when that is free),
    // or freed and replaced by a new node of the same name.
    void rename_child(SceneNode& root, ChildPath path);
    void reparent_child(SceneNode& root, ChildPath path, SceneNode& new_root);
    void replace_child(SceneNode& root, ChildPath path);
    // As in the engine, only a node without a parent enters or leaves the tree
    // by itself; a child leaves it by being removed from its parent, and is
    // in the tree exactly when its topmost ancestor is.
    void set_in_tree(SceneNode& node, bool in_tree);
    bool in_tree(const SceneNode& node) const;

    SceneNode* find_live(uint64_t instance_id) const;

    // Roots whose subtree the core may write (move, turn, scale). With the
    // check on, anything else written is reported: outside a frame nothing
    // may be written, and in a frame only the nodes of projectiles that flew
    // in it.
    void check_writes(bool on) { check_writes_ = on; }
    void allow_writes_below(uint64_t root_id) { movable_roots_.insert(root_id); }
    void forbid_all_writes() { movable_roots_.clear(); }
    // Every node ever created, freed ones included, in creation order.
    const std::vector<std::unique_ptr<SceneNode>>& nodes() const { return nodes_; }
    std::size_t node_limit() const { return 256; }

    Vector2 global_position_of(const SceneNode& node) const;

    // Whether a global position was ever set on a node whose parent stands
    // off the origin. Positions compose by float addition here, so reading
    // such a node back need not give exactly what was set; the engine makes
    // the same promise only under an identity parent.
    bool moved_under_offset_parent() const { return moved_under_offset_parent_; }
    // The first contract violation seen, empty while there is none.
    const std::string& violation() const { return violation_; }
    // Host calls since the last reset; past the limit the process aborts.
    uint64_t host_calls() const { return host_calls_; }
    void reset_host_calls(uint64_t limit) {
        host_calls_ = 0;
        call_limit_ = limit;
    }

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
    // The live object behind a handle, or null after reporting the misuse.
    SceneNode* object(ObjectHandle handle, const char* operation);
    SceneNode* node2d(ObjectHandle handle, const char* operation);
    SceneNode* writable(ObjectHandle handle, const char* operation);
    SceneNode* make_node(bool is_node2d, bool in_tree);
    // Forgets the child at path below root for path lookups (the child stays).
    void unlink(SceneNode& root, ChildPath path);
    void fail(const std::string& what);
    void tick();

    std::vector<std::unique_ptr<SceneNode>> nodes_;
    std::unordered_map<const SceneNode*, std::size_t> known_;
    std::unordered_map<uint64_t, SceneNode*> live_by_id_;
    std::unordered_set<uint64_t> movable_roots_;
    SceneNode viewport_;
    ScriptHandler* handler_ = nullptr;
    bool editor_ = false;
    bool check_writes_ = false;
    bool moved_under_offset_parent_ = false;
    bool has_viewport_ = true;
    Rect2 visible_rect_{{0.0f, 0.0f}, {1280.0f, 720.0f}};
    uint64_t next_serial_ = 0;
    uint64_t host_calls_ = 0;
    uint64_t call_limit_ = UINT64_MAX;
    std::string violation_;
};

}  // namespace warfield::fuzz
