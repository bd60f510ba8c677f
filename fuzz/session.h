// Decodes fuzz input into operations on one Warfield node and its scene, and
// checks the node after each of them.
//
// Script callbacks read their actions from the same input, so a program can
// re-enter the node from any callback: register (growing the pools), release
// the running projectile, free its node or children, retarget it, query.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

#include "byte_reader.h"
#include "invariants.h"
#include "ops.h"
#include "pool_model.h"
#include "scene_edits.h"
#include "server/warfield.h"
#include "simulation/node_cache.h"
#include "inspect.h"

namespace warfield::fuzz {

struct Limits {
    int max_ops = 2048;   // top level and nested together
    int max_depth = 4;    // script calls inside script calls
    int max_frames = 256;
    uint64_t max_host_calls = 4'000'000;     // per input; later ops are skipped
    uint64_t runaway_host_calls = 8'000'000;  // per operation; the process aborts
};

class Session final {
public:
    explicit Session(Limits limits = {}, NodeLookup lookup = NodeLookup::remembered);

    // Runs a whole program; returns the first violation, or an empty string.
    std::string run(const uint8_t* data, std::size_t size);
    // What a program did that scripts and players can see: every script call
    // (node and method, in order), then every node's transform and the
    // projectile records as they ended. Two runs of one program that behave
    // alike give the same trace.
    std::vector<uint64_t> trace() const;
    // Whether the run stopped early on its host-call budget (the two ways of
    // finding nodes make different numbers of calls, so such runs differ).
    bool out_of_budget() const { return input_host_calls_ >= limits_.max_host_calls; }
    // Whether a position the frame set could read back changed (see FakeHost).
    bool inexact_positions() const { return scene_.moved_under_offset_parent(); }
    // Whether the tree's reports were ever blocked: a frame that remembers
    // nodes may then use stale (never freed) ones, so such runs differ.
    bool silenced() const { return silenced_; }

    Warfield& warfield() { return w_; }
    FakeHost& scene() { return scene_; }
    const PoolModel& projectile_model() const { return projectiles_; }
    int ops_run() const { return ops_; }

private:
    enum class Context : uint8_t { script, frame, query, metallic };
    struct ContextEntry {
        Context kind;
        int32_t camp = 0;
        std::vector<uint64_t> answered_true;
    };

    void run_op();
    bool in_frame() const;
    void check_state();
    void fail(const std::string& what);
    bool reject(const std::string& what);  // fail, answering false
    bool failed() const { return !violation_.empty() || !scene_.violations().empty(); }

    // Argument decoding, always in argument order.
    uint8_t u8() { return in_->u8(); }
    bool flag() { return (u8() & 1) != 0; }
    int32_t i32();
    float f32();
    double delta();
    Vector2 vec2();
    Vector2i vec2i();
    int32_t slot(const PoolModel& model);
    uint64_t instance_id();
    SceneNode* any_node();
    SceneNode* current_node();
    int32_t current_projectile();

    // Register and unregister with the model kept in step.
    void registered(PoolModel& model, const char* pool, int32_t id);
    template <class Record, class Call>
    void unregister(PoolModel& model, const SlotPool<Record>& pool, int32_t id, Call call);
    // A setter: with an invalid id nothing of the pool may change; with a
    // valid one the field holds exactly the bytes passed.
    template <auto Member, class Record, class Call>
    void setter(const SlotPool<Record>& pool, int32_t id, FieldValue<Member> value, Call call);

    // One decoder per field type, so a definition decodes field by field.
    template <class T>
    T decode();
    template <class Def>
    Def decode_def();
    // The model of the pool that holds a record's fields.
    template <class Record>
    PoolModel& model_of();
    // A register method: the definition's fields decoded in order, then
    // stored exactly as given and the node's own fields at their start.
    template <class Def, class Register>
    void op_register(const char* pool, Register call);
    bool fresh(const ProjectileState& r) const;
    bool fresh(const CharacterState& r) const;
    bool fresh(const TargetState& r) const;
    bool fresh(const GroundItemState& r) const;
    // A setter of one or more fields, with its field's effect checked.
    template <auto Member, auto... More>
    void op_set();
    void op_query(Op op);
    void op_frame();
    void op_ready();
    void op_spawn_projectile();
    void op_spawn_target();
    void op_current(Op op);
    // What a script reacting inside an engine setter does here: it changes
    // the tree only (the node's methods are called from callbacks, not from
    // inside its own writes; see docs/robustness.md).
    static bool changes_tree_only(Op op);
    // A write the frame made to a child that reacts to writes.
    void on_write(uint64_t written, uint64_t root, test::HostOp op);
    // False for the node a running setter writes and its ancestors: a script
    // cannot free those from inside the setter.
    bool may_free(const SceneNode& n) const;
    // Every script method the core calls on a scene node runs here.
    bool on_script_call(SceneNode& node, ScriptMethod method);

    Limits limits_;
    NodeLookup lookup_;  // how this session's frames find nodes
    Warfield w_;
    FakeHost scene_{{.observed = true, .engine_ids = true}};
    PoolModel projectiles_, characters_, targets_, ground_items_;
    ByteReader* in_ = nullptr;
    std::vector<ContextEntry> contexts_;
    std::vector<SceneNode*> callback_nodes_;
    SceneNode* last_spawned_ = nullptr;
    std::vector<uint64_t> writing_;  // nodes whose setters are running
    bool silenced_ = false;
    int depth_ = 0;
    int ops_ = 0;
    int frames_ = 0;
    uint64_t input_host_calls_ = 0;
    uint64_t last_frame_count_ = 0;
    Vector2 grid_size_{80.0f, 98.0f};
    std::string violation_;
    std::vector<uint64_t> script_calls_;
};

template <class Record, class Call>
inline void Session::unregister(PoolModel& model, const SlotPool<Record>& pool, int32_t id, Call call) {
    if (model.valid(id)) {
        call();
        model.released(id);
        return;
    }
    const auto before = snapshot(pool);
    const bool dirty = test::Inspect::target_index_dirty(w_);
    call();
    if (snapshot(pool) != before || test::Inspect::target_index_dirty(w_) != dirty) {
        fail("unregister with invalid id " + std::to_string(id) + " changed the node");
    }
}

template <auto Member, class Record, class Call>
inline void Session::setter(const SlotPool<Record>& pool, int32_t id, FieldValue<Member> value, Call call) {
    if (!pool.valid(id)) {
        const auto before = snapshot(pool);
        const bool dirty = test::Inspect::target_index_dirty(w_);
        call();
        if (snapshot(pool) != before || test::Inspect::target_index_dirty(w_) != dirty) {
            fail("setter with invalid id " + std::to_string(id) + " changed the node");
        }
        return;
    }
    call();
    if (!same_bytes(pool[id].*Member, value)) {
        fail("setter did not store its value as given in slot " + std::to_string(id));
    }
}

template <>
inline bool Session::decode<bool>() { return flag(); }
template <>
inline int32_t Session::decode<int32_t>() { return i32(); }
template <>
inline uint64_t Session::decode<uint64_t>() { return instance_id(); }
template <>
inline float Session::decode<float>() { return f32(); }
template <>
inline Vector2 Session::decode<Vector2>() { return vec2(); }
template <>
inline Vector2i Session::decode<Vector2i>() { return vec2i(); }

template <class Def>
inline Def Session::decode_def() {
    Def def;
    // A fold over the comma operator runs left to right: argument order.
    std::apply([&](auto... member) { ((def.*member = decode<typename MemberOf<decltype(member)>::Value>()), ...); },
               Schema<Def>::members);
    return def;
}

template <class Record>
inline PoolModel& Session::model_of() {
    if constexpr (std::is_base_of_v<Record, ProjectileState>) return projectiles_;
    else if constexpr (std::is_base_of_v<Record, CharacterState>) return characters_;
    else if constexpr (std::is_base_of_v<Record, TargetState>) return targets_;
    else return ground_items_;
}

template <class Def, class Register>
inline void Session::op_register(const char* pool, Register call) {
    const Def def = decode_def<Def>();
    const int32_t id = call(def);
    registered(model_of<Def>(), pool, id);
    if (failed()) return;
    const auto& r = test::Inspect::pool_of<Def>(w_)[id];
    bool as_given = true;
    std::apply([&](auto... member) { as_given = (same_bytes(r.*member, def.*member) && ...); },
               Schema<Def>::members);
    if (!as_given || !fresh(r)) fail(std::string("register_") + pool + " did not store its record as specified");
}

template <auto Member, auto... More>
inline void Session::op_set() {
    using Record = FieldRecord<Member>;
    const auto& pool = test::Inspect::pool_of<Record>(w_);
    const int32_t id = slot(model_of<Record>());
    const FieldValue<Member> value = decode<FieldValue<Member>>();
    const std::tuple<FieldValue<More>...> more{decode<FieldValue<More>>()...};  // braces: in order
    const bool changes = pool.valid(id) && !same_bytes(pool[id].*Member, value);
    setter<Member>(pool, id, value, [&] {
        std::apply([&](auto... rest) { w_.set<Member, More...>(id, value, rest...); }, more);
    });
    if (failed() || !pool.valid(id)) return;
    bool rest_stored = true;
    std::apply([&](auto... rest) { rest_stored = (same_bytes(pool[id].*More, rest) && ...); }, more);
    if (!rest_stored) fail("setter did not store its second value as given");
    if constexpr (kOnSet<Member> == OnSet::reindex_if_changed) {
        if (changes && !test::Inspect::target_index_dirty(w_)) fail("a changed index key left the index clean");
    }
    if constexpr (kOnSet<Member> == OnSet::finish_if_true) {
        if (value && pool[id].active) fail("finishing left the record active");
    }
}

}  // namespace warfield::fuzz
