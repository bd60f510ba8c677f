#include "session.h"

#include <cstring>

#include "invariants.h"

namespace warfield::fuzz {
namespace {

bool same_bits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool finishes(ScriptMethod m) {
    return m == ScriptMethod::over_from_extension || m == ScriptMethod::land_from_extension ||
           m == ScriptMethod::hit_target_from_extension;
}

}  // namespace

Session::Session(Limits limits, NodeLookup lookup) : limits_(limits), lookup_(lookup) {
    scene_.on_any([this](SceneNode& node, ScriptMethod method) { return on_script_call(node, method); });
    scene_.fence_writes(true);
    scene_.logging = false;
    scene_.limit_calls(limits_.runaway_host_calls);
}

std::vector<uint64_t> Session::trace() const {
    std::vector<uint64_t> t = script_calls_;
    const auto bits = [](float f) {
        uint32_t u = 0;
        std::memcpy(&u, &f, sizeof u);
        return uint64_t{u};
    };
    for (const auto& n : scene_.nodes()) {
        t.push_back(n->id);
        t.push_back(n->freed ? 1 : 0);
        t.push_back(bits(n->position.x) << 32 | bits(n->position.y));
        t.push_back(bits(n->rotation));
        t.push_back(bits(n->scale.x) << 32 | bits(n->scale.y));
    }
    const auto& pool = w_.projectiles();
    for (int32_t id = 0; id < pool.size(); ++id) {
        const ProjectileState& r = pool[id];
        t.push_back(r.node_instance_id);
        t.push_back(uint64_t{r.active} << 1 | uint64_t{r.hit_over});
        t.push_back(bits(r.velocity.x) << 32 | bits(r.velocity.y));
        t.push_back(bits(r.z_val) << 32 | bits(r.y_speed));
        t.push_back(r.target_instance_id);
    }
    return t;
}

void Session::fail(const std::string& what) {
    if (violation_.empty()) violation_ = what;
}

bool Session::reject(const std::string& what) {
    fail(what);
    return false;
}

std::string Session::run(const uint8_t* data, std::size_t size) {
    ByteReader reader(data, size);
    in_ = &reader;
    while (!reader.exhausted() && ops_ < limits_.max_ops && !failed() &&
           input_host_calls_ < limits_.max_host_calls) {
        scene_.clear_log();
        run_op();
        input_host_calls_ += scene_.total_calls();
    }
    in_ = nullptr;
    return !violation_.empty() ? violation_ : scene_.first_violation();
}

void Session::check_state() {
    if (failed()) return;
    for (const std::string& e : {check_projectile_pool(w_, projectiles_), check_character_pool(w_, characters_),
                                 check_target_pool(w_, targets_), check_ground_item_pool(w_, ground_items_)}) {
        if (!e.empty()) return fail(e);
    }
    if (w_.frame().frame_count < last_frame_count_) return fail("frame_count went down");
    if (!silenced_) {
        if (const std::string e = check_node_memory(w_, scene_); !e.empty()) return fail(e);
    }
    last_frame_count_ = w_.frame().frame_count;
    const Vector2 g = w_.get_grid_size();
    if (!same_bits(g.x, grid_size_.x) || !same_bits(g.y, grid_size_.y)) fail("grid_size is not what was set");
}

int32_t Session::i32() {
    const uint8_t s = u8();
    if (s < kIntCount) return kInts[s];
    if (s == raw_selector) return static_cast<int32_t>(in_->u32());
    return static_cast<int32_t>(s) - kIntCount - 100;
}

float Session::f32() {
    const uint8_t s = u8();
    if (s < kFloatCount) return kFloats[s];
    if (s >= 224) return in_->raw_f32();
    return static_cast<float>(static_cast<int32_t>(s) - 124) * 16.0f;
}

double Session::delta() {
    const uint8_t s = u8();
    if (s < kDeltaCount) return kDeltas[s];
    if (s >= 240) return in_->raw_f64();
    return static_cast<double>(s - kDeltaCount) / 2240.0;
}

Vector2 Session::vec2() {
    const float x = f32();
    const float y = f32();
    return {x, y};
}

Vector2i Session::vec2i() {
    const int32_t x = i32();
    const int32_t y = i32();
    return {x, y};
}

int32_t Session::slot(const PoolModel& model) {
    switch (static_cast<SlotPick>(u8() % 8)) {
        case SlotPick::held:
        case SlotPick::held2:
        case SlotPick::held3: {
            const int32_t id = model.nth_held(u8());
            return id >= 0 ? id : model.size();
        }
        case SlotPick::released: {
            const int32_t id = model.nth_released(u8());
            return id >= 0 ? id : model.size();
        }
        case SlotPick::past_end: return model.size();
        case SlotPick::minus_one: return -1;
        case SlotPick::edge: {
            const int32_t edges[] = {INT32_MIN, INT32_MAX, model.size() + 1, -2, 1 << 30};
            return edges[u8() % 5];
        }
        case SlotPick::small: return u8() % 16;
    }
    return 0;
}

SceneNode* Session::any_node() {
    const auto& nodes = scene_.nodes();
    const uint8_t k = u8();
    return nodes.empty() ? nullptr : nodes[k % nodes.size()];
}

uint64_t Session::instance_id() {
    const auto& nodes = scene_.nodes();
    // The k-th node (counting from the last one created) that is, or is not,
    // freed; 0x100 when there is none.
    auto pick = [&](bool freed) -> uint64_t {
        const uint8_t k = u8();
        std::size_t matching = 0;
        for (const SceneNode* n : nodes) matching += n->freed == freed ? 1 : 0;
        if (matching == 0) return 0x100;
        std::size_t skip = k % matching;
        for (auto it = nodes.rbegin(); it != nodes.rend(); ++it) {
            if ((*it)->freed == freed && skip-- == 0) return (*it)->id;
        }
        return 0x100;
    };
    switch (static_cast<IdPick>(u8() % 8)) {
        case IdPick::zero: return 0;
        case IdPick::live:
        case IdPick::live2:
        case IdPick::live3: return pick(false);
        case IdPick::freed: return pick(true);
        case IdPick::raw: return in_->u64();
        case IdPick::edge: {
            const uint64_t edges[] = {UINT64_MAX, uint64_t{1} << 63, 1, 0x100};
            return edges[u8() % 4];
        }
        case IdPick::current: {
            SceneNode* n = current_node();
            return n != nullptr ? n->id : pick(false);
        }
    }
    return 0;
}

SceneNode* Session::current_node() { return callback_nodes_.empty() ? last_spawned_ : callback_nodes_.back(); }

int32_t Session::current_projectile() {
    const uint8_t k = u8();
    SceneNode* node = current_node();
    if (node == nullptr) return -1;
    std::vector<int32_t> mine;
    const auto& pool = w_.projectiles();
    for (int32_t id = 0; id < pool.size(); ++id) {
        if (projectiles_.holds(id) && pool[id].node_instance_id == node->id) mine.push_back(id);
    }
    return mine.empty() ? -1 : mine[k % mine.size()];
}

void Session::registered(PoolModel& model, const char* pool, int32_t id) {
    const int32_t expected = model.expected_next();
    if (id != expected) {
        return fail(std::string(pool) + " registration returned slot " + std::to_string(id) + ", expected " +
                    std::to_string(expected));
    }
    model.acquired(id);
    // A projectile registered during a frame may be stepped in it.
    if (&model == &projectiles_ && in_frame()) scene_.allow_writes_below(w_.projectiles()[id].node_instance_id);
}

bool Session::in_frame() const {
    for (const ContextEntry& c : contexts_) {
        if (c.kind == Context::frame) return true;
    }
    return false;
}

bool Session::on_script_call(SceneNode& node, ScriptMethod method) {
    if (failed()) return false;
    script_calls_.push_back(node.id);
    script_calls_.push_back(static_cast<uint64_t>(method));
    const std::size_t here = contexts_.size();
    const Context top = here == 0 ? Context::script : contexts_.back().kind;
    const char* name = script_method_name(method);
    if (method == ScriptMethod::has_metallic_armor) {
        if (top != Context::metallic) return reject("has_metallic_armor called outside its query");
        const int32_t camp = contexts_.back().camp;
        bool candidate = false;
        const auto& pool = w_.targets();
        for (int32_t id = 0; id < pool.size() && !candidate; ++id) {
            const TargetState& t = pool[id];
            candidate = t.node_instance_id == node.id && t.active && t.camp != camp && !t.die;
        }
        if (!candidate) return reject("has_metallic_armor asked of a node with no active enemy target");
    } else {
        if (top != Context::frame) return reject(std::string(name) + " called outside the physics frame");
        if (!node.node2d) return reject(std::string(name) + " called on a node that is not a Node2D");
        if (finishes(method)) {
            bool finished = false;
            const auto& pool = w_.projectiles();
            for (int32_t id = 0; id < pool.size() && !finished; ++id) {
                finished = pool[id].node_instance_id == node.id && pool[id].hit_over && !pool[id].active;
            }
            if (!finished) return reject(std::string(name) + " called before the projectile was finished");
        }
    }

    bool answer = false;
    if (depth_ < limits_.max_depth && ops_ < limits_.max_ops && !in_->exhausted()) {
        const uint8_t b = u8();
        answer = (b & 0x80) != 0;
        contexts_.push_back({Context::script, 0, {}});
        callback_nodes_.push_back(&node);
        ++depth_;
        for (int i = 0; i < (b & 3) && ops_ < limits_.max_ops && !failed(); ++i) run_op();
        --depth_;
        callback_nodes_.pop_back();
        contexts_.pop_back();
    }
    if (answer && method == ScriptMethod::has_metallic_armor) contexts_[here - 1].answered_true.push_back(node.id);
    return answer;
}

}  // namespace warfield::fuzz
