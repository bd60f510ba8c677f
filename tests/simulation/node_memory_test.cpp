// The frame remembers each projectile's nodes between uses and proves them
// before each use. It must behave exactly as the plain frame that looks every
// node up by path every time and always writes back: same script calls in the
// same order, same transforms bit for bit, same records, whatever scripts do
// to the nodes between frames and inside callbacks.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "fake_host.h"
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
// roots out of the tree, release and reuse slots and retarget, both between
// frames and from inside callbacks.
class World {
public:
    World(NodeLookup lookup, uint32_t seed) : rng_(seed) {
        w_.set_node_lookup(lookup);
        _ready(w_, host_);
        for (int i = 0; i < 10; ++i) spawn(i % 6);
        for (int i = 0; i < 3; ++i) spare_parents_.push_back(host_.add_node());
    }

    void run(int frames) {
        for (int f = 0; f < frames; ++f) {
            if (pick(3) == 0) mutate();
            _physics_process(w_, host_, 1.0 / 60.0);
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

    // One change to some projectile's nodes, or to `near`'s when given.
    void mutate(uint64_t near = 0) {
        const uint64_t root = near != 0 && pick(2) == 0 ? near : roots_[pick(static_cast<uint32_t>(roots_.size()))];
        if (!host_.exists(root)) return;
        FakeHost::Node& r = host_.node(root);
        static const char* const kNames[] = {"ProjectileBodyNode", "ShadowSprite", "HitBox", "Elsewhere"};
        // A child of the root, or the sprite below the body.
        std::vector<uint64_t> candidates;
        for (FakeHost::Node* c : host_.children(r)) {
            candidates.push_back(c->id);
            for (FakeHost::Node* g : host_.children(*c)) candidates.push_back(g->id);
        }
        const uint64_t child = candidates.empty() ? 0 : candidates[pick(static_cast<uint32_t>(candidates.size()))];
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
            case 4:  // the root leaves the tree, or comes back
                if (host_.node(root).parent == nullptr) host_.node(root).in_tree = !host_.node(root).in_tree;
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
