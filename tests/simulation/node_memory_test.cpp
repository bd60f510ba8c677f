// The frame remembers each projectile's nodes between uses and relies on them
// until the tree reports a change. It must behave exactly as the plain frame
// that looks every node up by path every time and always writes back: same
// script calls in the same order, same transforms bit for bit, same records,
// whatever scripts do to the nodes between frames, inside callbacks and
// inside the engine's setters (a script reacting to a transform change).
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "fake_host.h"
#include "reference_frame.h"
#include "server/warfield.h"
#include "simulation/physics_frame.h"

namespace warfield::test {
namespace {

constexpr ScriptMethod kFrameMethods[] = {
    ScriptMethod::update_grid_pos,           ScriptMethod::check_shooter_height, ScriptMethod::over_from_extension,
    ScriptMethod::land_from_extension,       ScriptMethod::enable_monitoring,    ScriptMethod::disable_monitoring,
    ScriptMethod::hit_target_from_extension, ScriptMethod::target_died_from_extension,
    ScriptMethod::find_track_target,
};

// A scene of projectiles of every kind and scripts that, driven by a seeded
// generator, rename, reparent, replace and free children and roots, take
// roots out of the tree, release and reuse slots and retarget, between
// frames, from inside callbacks, and from inside writes to children.
class World {
public:
    World(NodeLookup lookup, uint32_t seed) : lookup_(lookup), rng_(seed) {
        ready(w_, host_, lookup_);
        for (int i = 0; i < 10; ++i) spawn(i % 6);
        for (int i = 0; i < 3; ++i) spare_parents_.push_back(host_.add_node());
    }

    void run(int frames) {
        for (int f = 0; f < frames; ++f) {
            if (pick(3) == 0) mutate();
            physics_process(w_, host_, 1.0 / 60.0, lookup_);
            if (pick(10) == 0) spawn(pick(6));
        }
    }

    // Everything a script or a player could observe.
    std::vector<uint64_t> outcome() const {
        std::vector<uint64_t> o;
        for (const HostCall& c : host_.log()) {
            if (c.op == HostOp::call) o.insert(o.end(), {c.node, static_cast<uint64_t>(c.method)});
        }
        for (uint64_t id = 1; id <= node_count_; ++id) {
            const FakeHost::Node& n = const_cast<FakeHost&>(host_).node(id);
            o.insert(o.end(), {n.freed ? 1u : 0u, bits(n.position.x), bits(n.position.y), bits(n.rotation),
                               bits(n.scale.x), bits(n.scale.y), std::hash<std::string>{}(host_.name(n))});
        }
        const auto& pool = w_.projectiles();
        for (int32_t s = 0; s < pool.size(); ++s) {
            const ProjectileState& r = pool[s];
            o.insert(o.end(), {r.node_instance_id, r.active ? 1u : 0u, r.hit_over ? 1u : 0u, bits(r.velocity.x),
                               bits(r.z_val), bits(r.y_speed), r.target_instance_id});
        }
        return o;
    }

    const std::vector<std::string>& violations() const { return host_.violations(); }
    std::size_t script_calls() const { return host_.script_calls().size(); }

private:
    static uint64_t bits(float f) { return std::bit_cast<uint32_t>(f); }
    uint32_t pick(uint32_t n) { return static_cast<uint32_t>(rng_() % n); }

    uint64_t add(uint64_t parent, const char* name) {
        const uint64_t id = parent == 0 ? host_.add_node() : host_.add_child(parent, name);
        node_count_ = id;
        return id;
    }

    void spawn(uint32_t kind) {
        const uint64_t root = add(0, nullptr);
        const uint64_t body = add(root, "ProjectileBodyNode");
        add(body, "ProjectileSprite");
        add(root, "ShadowSprite");
        add(root, "HitBox");
        host_.place(root, {100.0f + 50.0f * static_cast<float>(pick(20)), 50.0f + 30.0f * static_cast<float>(pick(20))});
        // Children are written alike by both frames (the root is not: only
        // one writes its position back), so their reactions keep the worlds
        // in step.
        for (const uint64_t child : {node_count_ - 3, node_count_ - 2, node_count_ - 1, node_count_}) {
            if (pick(3) == 0) {
                host_.on_write(child, [this, root, child](HostOp) {
                    if (pick(3) == 0) react(root, child);
                });
            }
        }
        for (ScriptMethod m : kFrameMethods) {
            host_.on(root, m, [this, root] {
                if (pick(4) == 0) mutate(root);
            });
        }
        ProjectileDef a;
        a.node_instance_id = root;
        a.type = static_cast<int32_t>(kind);  // 5: stored, never moved
        a.velocity = {30.0f - 10.0f * static_cast<float>(pick(7)), 20.0f - 10.0f * static_cast<float>(pick(5))};
        a.speed = 40.0f;
        a.fire_length = pick(2) == 0 ? 1.0f : 0.0f;
        a.check_distance = 150.0f;
        a.save_pos = host_.global_position_of(root);
        a.y_speed = -200.0f;
        a.gravity_val = 400.0f;
        a.gravity_scale_val = 1.0f;
        a.target_instance_id = roots_.empty() ? 0 : roots_[pick(static_cast<uint32_t>(roots_.size()))];
        a.rotate_follow_velocity = pick(2) == 0;
        a.rotate_scale = 3.0f;
        a.fire_dir_x = pick(2) == 0 ? 1 : -1;
        roots_.push_back(root);
        slots_.push_back(w_.register_projectile(a));
    }

    std::vector<uint64_t> children_and_grandchildren(uint64_t root) const {
        std::vector<uint64_t> out;
        for (const FakeHost::Node* c : host_.children(host_.node(root))) {
            out.push_back(c->id);
            for (const FakeHost::Node* g : host_.children(*c)) out.push_back(g->id);
        }
        return out;
    }
    // One of ids, or 0 when there is none.
    uint64_t any_of(const std::vector<uint64_t>& ids) { return ids.empty() ? 0 : ids[pick(static_cast<uint32_t>(ids.size()))]; }

    // What a script reacting to a write to `written` (below root) may do to
    // the tree: anything but free the written node or what holds it.
    void react(uint64_t root, uint64_t written) {
        if (!host_.exists(root) || !host_.exists(written)) return;
        const auto holds_written = [&](uint64_t id) {
            for (const FakeHost::Node* up = &host_.node(written); up != nullptr; up = up->parent) {
                if (up->id == id) return true;
            }
            return false;
        };
        std::vector<uint64_t> others = children_and_grandchildren(root);
        std::erase_if(others, holds_written);
        const uint64_t other = any_of(others);
        static const char* const kNames[] = {"ProjectileBodyNode", "ShadowSprite", "HitBox", "ProjectileSprite", "Odd"};
        switch (pick(6)) {
            case 0: host_.rename(pick(2) == 0 ? written : root, kNames[pick(5)]); break;
            case 1:
                if (other != 0) host_.rename(other, kNames[pick(5)]);
                break;
            case 2:
                if (other != 0) host_.free_node(other);
                break;
            case 3:
                if (other != 0) host_.reparent(other, spare_parents_[pick(3)]);
                break;
            case 4:  // the written node itself moves below a spare node, out of the tree or back
                host_.reparent(written, pick(2) == 0 ? 0 : spare_parents_[pick(3)]);
                break;
            default: host_.set_in_tree(root, !host_.node(root).in_tree); break;
        }
    }

    // One change to some projectile's nodes, or to `near`'s when given.
    void mutate(uint64_t near = 0) {
        const uint64_t root = near != 0 && pick(2) == 0 ? near : roots_[pick(static_cast<uint32_t>(roots_.size()))];
        if (!host_.exists(root)) return;
        static const char* const kNames[] = {"ProjectileBodyNode", "ShadowSprite", "HitBox", "Elsewhere"};
        // A child of the root, or the sprite below the body.
        const uint64_t child = any_of(children_and_grandchildren(root));
        switch (pick(10)) {
            case 0:  // rename, possibly back to a proper name or to a sibling's
                if (child != 0) host_.rename(child, pick(3) == 0 ? "ProjectileSprite" : kNames[pick(4)]);
                break;
            case 1:  // move below another projectile's root, or a spare node
                if (child != 0) {
                    const uint64_t to = pick(2) == 0 ? roots_[pick(static_cast<uint32_t>(roots_.size()))]
                                                     : spare_parents_[pick(3)];
                    if (host_.exists(to) && to != child) host_.reparent(child, to);
                }
                break;
            case 2:  // replace by a new node of the same name
                if (child != 0) {
                    const std::string name = host_.name(host_.node(child));
                    const uint64_t parent = host_.node(child).parent->id;
                    host_.free_node(child);
                    add(parent, name.c_str());
                }
                break;
            case 3:
                if (child != 0) host_.free_node(child);
                break;
            case 4:  // the root leaves the tree, or comes back, or is renamed
                if (pick(3) == 0) {
                    host_.rename(root, "Root");
                } else {
                    host_.set_in_tree(root, !host_.node(root).in_tree);
                }
                break;
            case 5:
                if (pick(4) == 0) host_.free_node(root);
                break;
            case 6: {  // release a slot and register another projectile (often into it)
                const int32_t slot = slots_[pick(static_cast<uint32_t>(slots_.size()))];
                w_.unregister_projectile(slot);
                spawn(pick(6));
                break;
            }
            case 7: {
                const int32_t slot = slots_[pick(static_cast<uint32_t>(slots_.size()))];
                w_.set<&ProjectileState::target_instance_id>(slot, pick(3) == 0 ? 0 : roots_[pick(static_cast<uint32_t>(roots_.size()))]);
                break;
            }
            case 8:  // a child of another class takes a proper name
                if (child != 0 && pick(2) == 0) {
                    const uint64_t odd = host_.add_child(root, "HitBox", false);
                    node_count_ = odd;
                }
                break;
            default:
                host_.place(root, {host_.global_position_of(root).x + 5.0f, host_.global_position_of(root).y});
                break;
        }
    }

    NodeLookup lookup_;
    FakeHost host_;
    Warfield w_;
    std::mt19937 rng_;
    std::vector<uint64_t> roots_;
    std::vector<uint64_t> spare_parents_;
    std::vector<int32_t> slots_;
    uint64_t node_count_ = 0;
};

TEST(NodeMemory, BehavesExactlyAsLookingEveryNodeUpByPath) {
    std::size_t calls = 0;
    for (uint32_t seed = 1; seed <= 60; ++seed) {
        World remembered(NodeLookup::remembered, seed);
        World by_path(NodeLookup::by_path, seed);
        remembered.run(150);
        by_path.run(150);
        EXPECT_TRUE(remembered.violations().empty()) << "seed " << seed << ": " << remembered.violations().front();
        EXPECT_TRUE(by_path.violations().empty()) << "seed " << seed;
        ASSERT_EQ(remembered.outcome(), by_path.outcome()) << "seed " << seed;
        calls += remembered.script_calls();
    }
    EXPECT_GT(calls, 10000u);  // the scenes really flew and called their scripts
}

}  // namespace
}  // namespace warfield::test

namespace warfield::test {
namespace {

class Silenced : public ::testing::Test {
protected:
    void SetUp() override {
        _ready(w, host);
        s = host.add_projectile_scene();
        host.place(s.root, {200, 200});
        // A lob with a spinning sprite: body, sprite and shadow are written every frame.
        w.register_projectile({.node_instance_id = s.root, .type = 1, .velocity = {10, 0}, .fire_dir_x = 1,
                               .y_speed = -300, .gravity_val = 100, .gravity_scale_val = 1, .rotate_scale = 2});
        _physics_process(w, host, 1.0 / 60.0);
        host.clear_log();
    }
    std::size_t lookups_by_path() const { return host.count(HostOp::get_node_or_null); }

    FakeHost host;
    Warfield w;
    ProjectileScene s;
};

// The frame relies on what it found until the tree reports a change.
TEST_F(Silenced, NothingIsLookedUpAgainUntilTheTreeReportsAChange) {
    _physics_process(w, host, 1.0 / 60.0);
    EXPECT_EQ(lookups_by_path(), 0u);
    host.rename(s.shadow, "Elsewhere");
    const float scale = host.node(s.shadow).scale.x;
    host.clear_log();
    _physics_process(w, host, 1.0 / 60.0);
    EXPECT_EQ(lookups_by_path(), 1u) << "the shadow, looked for again (and now absent: looked for every frame)";
    EXPECT_EQ(host.node(s.shadow).scale.x, scale);
}

// A script that blocks the tree's signals may get a stale child, never a
// freed one: each remembered child's id is checked before it is used.
TEST_F(Silenced, BlockedReportsGiveStaleChildrenButNeverFreedOnes) {
    host.block_tree_signals(true);
    host.free_node(s.sprite);
    const uint64_t new_sprite = host.add_child(s.body, "ProjectileSprite");
    host.rename(s.shadow, "Elsewhere");  // unheard: the old shadow is still scaled
    const float before = host.node(s.shadow).scale.x;
    _physics_process(w, host, 1.0 / 60.0);
    EXPECT_TRUE(host.violations().empty()) << host.first_violation();
    EXPECT_NE(host.node(new_sprite).rotation, 0.0f) << "the freed sprite was found gone and looked up again";
    EXPECT_NE(host.node(s.shadow).scale.x, before) << "stale, as documented";
}

// Without the tree's reports the frame looks every node up by path every
// time, as the plain frame does.
TEST(NodeMemory, AHostThatCannotReportChangesGetsEveryNodeLookedUpEveryTime) {
    FakeHost host;
    host.can_watch = false;
    Warfield w;
    _ready(w, host);
    const ProjectileScene s = host.add_projectile_scene();
    w.register_projectile({.node_instance_id = s.root, .type = 0, .velocity = {10, 0}, .rotate_follow_velocity = true});
    for (int f = 0; f < 3; ++f) _physics_process(w, host, 1.0 / 60.0);
    EXPECT_EQ(host.count(HostOp::get_node_or_null), 6u);  // the body, twice a frame
    EXPECT_EQ(node_cache_of(w.frame()).watched(), 0u);
}

}  // namespace
}  // namespace warfield::test
