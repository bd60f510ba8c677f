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
#include <vector>

#include "byte_reader.h"
#include "fuzz_scene.h"
#include "invariants.h"
#include "ops.h"
#include "pool_model.h"
#include "server/warfield.h"

namespace warfield::fuzz {

struct Limits {
    int max_ops = 2048;   // top level and nested together
    int max_depth = 4;    // script calls inside script calls
    int max_frames = 256;
    uint64_t max_host_calls = 4'000'000;     // per input; later ops are skipped
    uint64_t runaway_host_calls = 8'000'000;  // per operation; the process aborts
};

class Session final : public ScriptHandler {
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
    // Whether a position the frame set could read back changed (see FuzzScene).
    bool inexact_positions() const { return scene_.moved_under_offset_parent(); }

    Warfield& warfield() { return w_; }
    FuzzScene& scene() { return scene_; }
    const PoolModel& projectile_model() const { return projectiles_; }
    int ops_run() const { return ops_; }

    bool on_script_call(SceneNode& node, ScriptMethod method) override;

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
    bool failed() const { return !violation_.empty() || !scene_.violation().empty(); }

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
    template <class Record, class Field, class Call>
    void setter(const SlotPool<Record>& pool, int32_t id, Field Record::*field, Field value, Call call);

    void op_register_projectile();
    void op_register_character();
    void op_register_target();
    void op_register_ground_item();
    void op_query(Op op);
    void op_frame();
    void op_ready();
    void op_spawn_projectile();
    void op_spawn_target();
    void op_current(Op op);

    Limits limits_;
    Warfield w_;
    FuzzScene scene_;
    PoolModel projectiles_, characters_, targets_, ground_items_;
    ByteReader* in_ = nullptr;
    std::vector<ContextEntry> contexts_;
    std::vector<SceneNode*> callback_nodes_;
    SceneNode* last_spawned_ = nullptr;
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
    const bool dirty = w_.target_index_dirty();
    call();
    if (snapshot(pool) != before || w_.target_index_dirty() != dirty) {
        fail("unregister with invalid id " + std::to_string(id) + " changed the node");
    }
}

template <class Record, class Field, class Call>
inline void Session::setter(const SlotPool<Record>& pool, int32_t id, Field Record::*field, Field value, Call call) {
    if (!pool.valid(id)) {
        const auto before = snapshot(pool);
        const bool dirty = w_.target_index_dirty();
        call();
        if (snapshot(pool) != before || w_.target_index_dirty() != dirty) {
            fail("setter with invalid id " + std::to_string(id) + " changed the node");
        }
        return;
    }
    call();
    if (std::memcmp(&(pool[id].*field), &value, sizeof value) != 0) {
        fail("setter did not store its value as given in slot " + std::to_string(id));
    }
}

}  // namespace warfield::fuzz
