// A scene of nodes standing in for the engine: the one Host the unit tests,
// the fuzzer and the benchmarks run the core against.
//
// Nodes have instance ids, a class (Node2D or not), named children, a local
// transform and script methods. A node is in the tree exactly when its
// topmost ancestor is (only a node without a parent enters or leaves the
// tree by itself). Any node can be freed at any time, also from inside a
// script method; its storage stays for the host's life, so lookups then find
// nothing and a later operation on it is caught rather than touching freed
// memory. Global positions compose translations only: a node's global
// position is its parent's plus its own. Rotation and scale are stored, not
// composed.
//
// Observed (the default), every operation is counted and, with logging on,
// logged; misuse (a freed node, a foreign handle, a Node2D operation on
// another object, a write outside the fenced subtrees) is recorded as a
// violation. Bare (set_observed(false)), nothing is checked or recorded, so
// an operation costs little more than its virtual call: the benchmarks'
// near-free engine.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "gdextension/engine_methods.h"
#include "port/host.h"

namespace warfield::test {

// The Host operations that are no engine method bind: interface functions and
// script calls.
#define WARFIELD_FAKE_HOST_CALLS(X) X(object_from_instance_id) X(cast_to_node2d) X(get_instance_id) X(call) X(call_bool)

// Every Host operation, named as its Host method: the engine methods'
// (gdextension/engine_methods.h), then the calls above.
enum class HostOp : uint8_t {
#define WARFIELD_HOST_METHOD_OP(member, cls, method, hash) method,
#define WARFIELD_HOST_CALL_OP(name) name,
    WARFIELD_ENGINE_METHODS(WARFIELD_HOST_METHOD_OP, WARFIELD_HOST_METHOD_OP, WARFIELD_SKIP_ENGINE_METHOD)
    WARFIELD_FAKE_HOST_CALLS(WARFIELD_HOST_CALL_OP)
#undef WARFIELD_HOST_CALL_OP
#undef WARFIELD_HOST_METHOD_OP
    count
};

const char* host_op_name(HostOp op);

struct HostCall {
    HostOp op = HostOp::count;
    uint64_t node = 0;  // instance id of the node operated on; 0 for none
    ScriptMethod method = ScriptMethod::count;
    ChildPath path = ChildPath::count;
    // For the setters: the value passed (x, y; rotation in x).
    Vector2 value{};
    uint64_t asked = 0;  // object_from_instance_id: the id asked for
};

// The instance ids of a projectile scene built by add_projectile_scene; 0 for
// a child that was left out.
struct ProjectileScene {
    uint64_t root = 0, body = 0, sprite = 0, shadow = 0, hit_box = 0;
};

class FakeHost final : public Host {
public:
    using Script = std::function<bool()>;
    using Methods = std::array<std::shared_ptr<const Script>, static_cast<std::size_t>(ScriptMethod::count)>;

    // What the operations read, in one cache line; names and children are
    // kept apart (see name() and children()).
    struct alignas(64) Node {
        Vector2 position{};
        Vector2 scale{1.0f, 1.0f};
        float rotation = 0.0f;
        uint32_t serial = 0;               // creation order
        ChildPath tag = ChildPath::count;  // the child name it bears, if any
        bool node2d = true;
        bool in_tree = true;  // decides for a node without a parent only
        bool freed = false;
        uint16_t answers = 0;  // fixed script answers, a bit per ScriptMethod
        Node* parent = nullptr;
        uint64_t id = 0;
        // Shared, so a call can hold the method it runs without copying it.
        std::unique_ptr<Methods> methods;
    };

    struct ChildParts {
        bool body = true;
        bool sprite = true;
        bool shadow = true;
        bool hit_box = true;
    };

    struct Options {
        bool observed = true;
        // Ids as the engine's look: from 0x100, every third with its top bit
        // set, so that the full 64 bits must survive every store. Otherwise
        // ids count from 1.
        bool engine_ids = false;
    };

    explicit FakeHost(Options options);
    FakeHost() : FakeHost(Options{}) {}
    // Tells its watchers it reports no more.
    ~FakeHost() override;
    FakeHost(const FakeHost&) = delete;
    FakeHost& operator=(const FakeHost&) = delete;

    // Scene building; 0 never names a node.
    uint64_t add_node(bool node2d = true);
    // A node with a chosen id, as a test that registers records by id needs.
    uint64_t add_node_with_id(uint64_t id, bool node2d = true);
    uint64_t add_child(uint64_t parent, const char* name, bool node2d = true);
    ProjectileScene add_projectile_scene(ChildParts parts);
    ProjectileScene add_projectile_scene() { return add_projectile_scene(ChildParts{}); }
    // Frees the node and everything below it.
    void free_node(uint64_t id);
    // Renames the node; as in the engine, a name a sibling already bears gets
    // a number appended.
    void rename(uint64_t id, const char* name);
    // Moves the node (keeping its subtree) below another parent; 0 detaches it
    // from any parent, leaving it outside the tree. Moving a node below
    // itself throws std::invalid_argument.
    void reparent(uint64_t id, uint64_t new_parent);
    // Puts a node without a parent into the tree or takes it out (with its
    // subtree); a child leaves the tree by being detached (reparent to 0).
    void set_in_tree(uint64_t id, bool in_tree);
    // The node's record, freed or not; throws std::out_of_range for an id
    // never given out.
    Node& node(uint64_t id);
    const Node& node(uint64_t id) const;
    bool exists(uint64_t id) const { return lookup(id) != nullptr; }
    const std::string& name(const Node& n) const { return family_[n.serial].name; }
    // Live children, in the order they were added.
    const std::vector<Node*>& children(const Node& n) const { return family_[n.serial].children; }
    // Every node ever made, freed ones included, in creation order.
    const std::vector<Node*>& nodes() const { return nodes_; }
    bool in_tree(const Node& n) const {
        const Node* top = &n;
        while (top->parent != nullptr) top = top->parent;
        return !n.freed && top->in_tree;
    }
    // The live child at the path, as get_node_or_null finds it, unrecorded.
    Node* child_at(const Node& n, ChildPath path) const;
    Vector2 global_position_of(uint64_t id) const { return global_of(node(id)); }
    void place(uint64_t id, Vector2 global_position);

    // A script method on the node; replaces any earlier one. Callbacks may do
    // anything, including freeing this node or defining new methods.
    void on(uint64_t id, ScriptMethod method, std::function<void()> fn);
    void on_bool(uint64_t id, ScriptMethod method, Script fn);
    // A method that only answers, costing no callback.
    void answer(uint64_t id, ScriptMethod method, bool value);
    // Runs for every script method a node has no method of its own for.
    void on_any(std::function<bool(Node&, ScriptMethod)> fn) { on_any_ = std::move(fn); }

    // Runs after every write (position, rotation, scale) to the node, told
    // which, as a script that asked for local transform notifications runs
    // inside the engine's setter. It may change the tree, but not free the
    // node written.
    using WriteHook = std::function<void(HostOp)>;
    void on_write(uint64_t id, WriteHook fn) { write_hooks_[id] = std::make_shared<const WriteHook>(std::move(fn)); }

    // The tree's reports, as the engine's SceneTree emits node_removed and
    // node_renamed: a node leaving the tree (freed, detached, moved, or its
    // topmost ancestor leaving), each node of its subtree, children before
    // their parent; a node renamed while in the tree. While blocked (as a
    // script blocks the tree's signals) nothing is reported.
    bool can_watch = true;  // false: watch_tree refuses, as an engine without the signals would
    void block_tree_signals(bool on) { signals_blocked_ = on; }

    // Engine state.
    bool editor_hint = false;
    bool has_viewport = true;
    Rect2 viewport_rect{{0.0f, 0.0f}, {1280.0f, 720.0f}};
    bool logging = true;  // while observed
    ObjectHandle viewport_handle() { return &viewport_; }

    // What is watched; see the top of this file.
    void set_observed(bool on) { observed_ = on; }
    // Writes (position, rotation, scale) only below the allowed roots while
    // fenced; anything else written is a violation.
    void fence_writes(bool on) { fenced_ = on; }
    void allow_writes_below(uint64_t root_id) { writable_roots_.insert(root_id); }
    void forbid_all_writes() { writable_roots_.clear(); }
    // Past this many operations since clear_log the process aborts: a frame
    // that keeps calling the host would otherwise never return.
    void limit_calls(uint64_t limit) { call_limit_ = limit; }

    // Observations.
    const std::vector<HostCall>& log() const { return log_; }
    void clear_log();
    // Operations counted since the last clear_log, logged or not.
    std::size_t count(HostOp op) const { return counts_[static_cast<std::size_t>(op)]; }
    std::size_t total_calls() const { return calls_; }
    // Script methods called, in order, on the node (or on any node for 0).
    std::vector<ScriptMethod> script_calls(uint64_t id = 0) const;
    std::size_t script_call_count(uint64_t id, ScriptMethod method) const;
    // The nodes the method was called on, in order.
    std::vector<uint64_t> called_nodes(ScriptMethod method) const;
    // Operations made on freed nodes or foreign handles; empty when sound.
    const std::vector<std::string>& violations() const { return violations_; }
    std::string first_violation() const { return violations_.empty() ? std::string() : violations_.front(); }
    // Whether a global position was ever set on a node whose parent stands
    // off the origin. Positions compose by float addition here, so reading
    // such a node back need not give exactly what was set; the engine makes
    // the same promise only under an identity parent.
    bool moved_under_offset_parent() const { return moved_under_offset_parent_; }

    // Host. The fields above answer the first three.
    bool is_editor_hint() override;
    ObjectHandle get_viewport() override;
    Rect2 get_visible_rect(ObjectHandle viewport) override;
    // Freed nodes are found by no id; any object may be asked its class.
    ObjectHandle object_from_instance_id(uint64_t instance_id) override;
    ObjectHandle cast_to_node2d(ObjectHandle object) override;
    bool is_inside_tree(ObjectHandle node) override;
    // Paths and names compare the children's tags, not their strings.
    ObjectHandle get_node_or_null(ObjectHandle node, ChildPath path) override;
    uint64_t get_instance_id(ObjectHandle object) override;
    bool watch_tree(TreeWatcher& watcher) override;
    void unwatch_tree(TreeWatcher& watcher) override;
    // Node2D only; global positions compose the ancestors' translations.
    Vector2 get_global_position(ObjectHandle node2d) override;
    void set_global_position(ObjectHandle node2d, Vector2 p) override;
    Vector2 get_position(ObjectHandle node2d) override;
    float get_rotation(ObjectHandle node2d) override;
    // Writes, fenced while fence_writes is on.
    void set_position(ObjectHandle node2d, Vector2 p) override;
    void set_rotation(ObjectHandle node2d, float radians) override;
    void set_scale(ObjectHandle node2d, Vector2 s) override;
    // The node's own method, else the catch-all, else its fixed answer.
    void call(ObjectHandle object, ScriptMethod method) override;
    bool call_bool(ObjectHandle object, ScriptMethod method) override;

private:
    // What an operation needs of its handle: nothing (it has none), any
    // object, a Node2D, or a Node2D it may write.
    enum class Need : uint8_t { none, object, node2d, write };

    // The node behind a handle. Observed, the call is counted and logged
    // first, and misuse gives null after recording a violation.
    Node* use(ObjectHandle h, HostOp op, Need need, ScriptMethod method = ScriptMethod::count,
              ChildPath path = ChildPath::count, Vector2 value = {}) {
        if (!observed_) return static_cast<Node*>(h);
        return observe(h, need, op, method, path, value);
    }
    // Out of line and with arguments in registers, so that the bare path
    // stays a few instructions.
    [[gnu::noinline]] Node* observe(ObjectHandle h, Need need, HostOp op, ScriptMethod method, ChildPath path,
                                    Vector2 value);
    [[gnu::noinline]] void observe_lookup(Node* found, uint64_t asked);
    void record(const HostCall& call);
    Node* check(ObjectHandle h, HostOp op, Need need);
    void violation(std::string what);
    bool writable(const Node& n) const;
    Node& make_node(uint64_t id, bool node2d);
    uint64_t next_id() const;
    // Any node with the id, freed or not.
    Node* find(uint64_t id) const {
        const uint64_t serial = engine_ids_ ? (id & ~kTopBit) - kFirstEngineId : id - 1;  // 0 wraps round
        if (serial < nodes_.size()) {
            Node& n = chunks_[serial / kChunk][serial % kChunk];
            if (n.id == id) return &n;
        }
        return chosen_ids_.empty() ? nullptr : find_chosen(id);
    }
    Node* find_chosen(uint64_t id) const;
    Node* lookup(uint64_t id) const {
        Node* n = find(id);
        return n != nullptr && !n->freed ? n : nullptr;
    }
    static Vector2 global_of(const Node& n) {
        const Node* p = n.parent;
        if (p == nullptr) return n.position;
        if (p->parent == nullptr) return {p->position.x + n.position.x, p->position.y + n.position.y};
        return composed(n);
    }
    static Vector2 composed(const Node& n);
    void free_tree(Node& n);
    // Takes n out of its parent's children (n keeps its parent pointer).
    void unlink_from_parent(Node& n);
    bool run(ObjectHandle object, ScriptMethod method, HostOp op);
    void wrote(Node* n, HostOp op);
    // The node's name, made unique among its siblings; reports nothing.
    void name_node(Node& n, const char* wanted);
    // Reports n and its subtree leaving the tree (call while n is in it).
    void report_exit(const Node& n);
    void report(uint64_t id);

    static constexpr uint64_t kTopBit = uint64_t{1} << 63;
    static constexpr uint64_t kFirstEngineId = 0x100;
    // Nodes live in fixed chunks, so that each keeps its address for the
    // host's life and a scene's nodes lie side by side in memory.
    static constexpr std::size_t kChunk = 256;
    std::vector<std::unique_ptr<Node[]>> chunks_;
    std::vector<Node*> nodes_;
    struct Family {
        std::vector<Node*> children;
        std::string name;
    };
    std::deque<Family> family_;  // by serial
    std::unordered_set<const void*> handles_;  // every node ever made, freed or not
    std::unordered_map<uint64_t, Node*> chosen_ids_;  // nodes made by add_node_with_id
    Node viewport_;
    bool observed_ = true;
    bool engine_ids_ = false;
    bool fenced_ = false;
    bool moved_under_offset_parent_ = false;
    std::unordered_set<uint64_t> writable_roots_;
    std::unordered_set<uint64_t> unheard_;  // changed while the tree's reports were blocked
    std::function<bool(Node&, ScriptMethod)> on_any_;
    std::vector<HostCall> log_;
    std::array<std::size_t, static_cast<std::size_t>(HostOp::count)> counts_{};
    std::size_t calls_ = 0;
    uint64_t call_limit_ = UINT64_MAX;
    std::vector<std::string> violations_;
    std::vector<TreeWatcher*> watchers_;
    bool signals_blocked_ = false;
    std::unordered_map<uint64_t, std::shared_ptr<const WriteHook>> write_hooks_;
};

}  // namespace warfield::test
