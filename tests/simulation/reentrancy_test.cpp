// Scripts acting on the node from inside the step's own calls: growing the
// pool, releasing and reusing the slot being stepped, freeing nodes,
// changing records and querying.
#include <memory>
#include <random>

#include "sim_fixture.h"
#include "simulation/physics_frame.h"
#include "query/target_queries.h"
#include "inspect.h"

namespace warfield::test {
namespace {

using M = ScriptMethod;

struct World {
    World() { _ready(w, host); }
    void frame() { _physics_process(w, host, kFrame); }
    FakeHost host;
    Warfield w;
};

// One projectile of each kind, set up so that its first frame calls `hook`
// before the step is over.
struct KindCase {
    const char* name;
    ProjectileDef args;
    M hook;
};

std::vector<KindCase> kind_cases() {
    return {
        {"straight", {.type = 0, .velocity = {60, 0}}, M::check_shooter_height},
        {"lob", {.type = 1, .velocity = {60, 0}, .ground_height = 0, .y_speed = 100, .z_val = 1},
         M::enable_monitoring},
        {"arc", {.type = 2, .velocity = {60, 0}, .z_val = 100}, M::disable_monitoring},
        {"tracking", {.type = 3, .velocity = {60, 0}, .speed = 10, .target_instance_id = 999999},
         M::target_died_from_extension},
        {"catapult", {.type = 4, .velocity = {60, 0}}, M::enable_monitoring},
    };
}

int32_t spawn_in(World& world, ProjectileDef a, const ProjectileScene& s) {
    world.host.place(s.root, {300, 300});
    a.node_instance_id = s.root;
    return world.w.register_projectile(a);
}

bool on_node(const HostCall& c, const ProjectileScene& s) {
    return c.node != 0 && (c.node == s.root || c.node == s.body || c.node == s.sprite || c.node == s.shadow ||
                           c.node == s.hit_box);
}

std::size_t first_call_index(const FakeHost& h, uint64_t node, M method) {
    for (std::size_t i = 0; i < h.log().size(); ++i) {
        const HostCall& c = h.log()[i];
        if (c.op == HostOp::call && c.node == node && c.method == method) return i;
    }
    return h.log().size();
}

// Hundreds of registrations inside the step move the pool's storage; the
// step must carry on exactly as it would have, and the newcomers are stepped
// in the same frame.
TEST(Reentrancy, GrowingThePoolMidStepChangesNothingForTheStep) {
    for (const KindCase& k : kind_cases()) {
        World control, grown;
        const ProjectileScene sc = control.host.add_projectile_scene();
        const ProjectileScene sg = grown.host.add_projectile_scene();
        const int32_t ic = spawn_in(control, k.args, sc);
        const int32_t ig = spawn_in(grown, k.args, sg);
        std::vector<uint64_t> newcomers;
        grown.host.on(sg.root, k.hook, [&] {
            if (!newcomers.empty()) return;
            for (int i = 0; i < 300; ++i) {
                const uint64_t n = grown.host.add_node();
                newcomers.push_back(n);
                grown.w.register_projectile({.node_instance_id = n, .type = 9});
            }
        });
        for (int f = 0; f < 3; ++f) {
            control.frame();
            grown.frame();
        }
        const ProjectileState& a = control.w.projectiles()[ic];
        const ProjectileState& b = grown.w.projectiles()[ig];
        EXPECT_EQ(control.host.script_calls(sc.root), grown.host.script_calls(sg.root)) << k.name;
        EXPECT_EQ(control.host.global_position_of(sc.root).x, grown.host.global_position_of(sg.root).x) << k.name;
        EXPECT_EQ(control.host.node(sc.body).position.y, grown.host.node(sg.body).position.y) << k.name;
        EXPECT_EQ(a.z_val, b.z_val) << k.name;
        EXPECT_EQ(a.y_speed, b.y_speed) << k.name;
        EXPECT_EQ(a.velocity.x, b.velocity.x) << k.name;
        EXPECT_EQ(a.target_instance_id, b.target_instance_id) << k.name;
        EXPECT_EQ(a.active, b.active) << k.name;
        EXPECT_EQ(a.hit_over, b.hit_over) << k.name;
        ASSERT_EQ(newcomers.size(), 300u) << k.name;
        EXPECT_EQ(grown.w.get_active_projectile_count(), 300 + (b.active ? 1 : 0));
        // Three frames, the first one included: each newcomer was written back three times.
        std::size_t write_backs = 0;
        for (const HostCall& c : grown.host.log()) {
            write_backs += c.op == HostOp::set_global_position && c.node >= newcomers.front() ? 1 : 0;
        }
        EXPECT_EQ(write_backs, 900u) << k.name;
        EXPECT_TRUE(grown.host.violations().empty()) << k.name;
    }
}

// The script releases the slot being stepped and a registration takes it at
// once for another node: the old step stops dead, the newcomer is neither
// moved nor ended by it, and waits for the next frame.
TEST(Reentrancy, ASlotReusedDuringItsStepBelongsToTheNewcomer) {
    for (const KindCase& k : kind_cases()) {
        World world;
        const ProjectileScene old_scene = world.host.add_projectile_scene();
        const ProjectileScene new_scene = world.host.add_projectile_scene();
        const int32_t id = spawn_in(world, k.args, old_scene);
        ProjectileDef fresh = k.args;
        fresh.node_instance_id = new_scene.root;
        fresh.z_val = 77;
        fresh.y_speed = 5;
        world.host.place(new_scene.root, {600, 300});
        int32_t reused = -1;
        world.host.on(old_scene.root, k.hook, [&] {
            if (reused >= 0) return;
            world.w.unregister_projectile(id);
            reused = world.w.register_projectile(fresh);
        });
        world.frame();
        ASSERT_EQ(reused, id) << k.name;
        const std::size_t hook_at = first_call_index(world.host, old_scene.root, k.hook);
        ASSERT_LT(hook_at, world.host.log().size()) << k.name;
        for (std::size_t i = hook_at + 1; i < world.host.log().size(); ++i) {
            EXPECT_FALSE(on_node(world.host.log()[i], old_scene))
                << k.name << ": " << host_op_name(world.host.log()[i].op) << " after the slot changed hands";
        }
        for (const HostCall& c : world.host.log()) EXPECT_FALSE(on_node(c, new_scene)) << k.name;
        const ProjectileState& r = world.w.projectiles()[id];
        EXPECT_EQ(r.node_instance_id, new_scene.root);
        EXPECT_TRUE(r.active) << k.name;
        EXPECT_FALSE(r.hit_over) << k.name;
        EXPECT_EQ(r.z_val, 77.0f) << k.name;
        EXPECT_EQ(r.y_speed, 5.0f) << k.name;
        EXPECT_EQ(world.host.global_position_of(new_scene.root).x, 600.0f);

        world.host.clear_log();
        world.frame();
        EXPECT_GT(world.host.count(HostOp::set_global_position), 0u) << k.name;
        EXPECT_TRUE(world.host.violations().empty()) << k.name;
    }
}

// A node freed at once by its own script is never touched again.
TEST(Reentrancy, FreeingTheRootInsideACallback) {
    for (const KindCase& k : kind_cases()) {
        World world;
        const ProjectileScene s = world.host.add_projectile_scene();
        const int32_t id = spawn_in(world, k.args, s);
        world.host.on(s.root, k.hook, [&] { world.host.free_node(s.root); });
        world.frame();
        const std::size_t hook_at = first_call_index(world.host, s.root, k.hook);
        for (std::size_t i = hook_at + 1; i < world.host.log().size(); ++i) {
            EXPECT_FALSE(on_node(world.host.log()[i], s)) << k.name << ": " << host_op_name(world.host.log()[i].op);
        }
        EXPECT_TRUE(world.host.violations().empty()) << k.name;
        world.frame();
        EXPECT_FALSE(world.w.projectiles()[id].active) << k.name;
        EXPECT_TRUE(world.host.violations().empty()) << k.name;
    }
}

TEST(Reentrancy, FreeingTheNodeFromItsEndingCall) {
    struct Case {
        ProjectileDef args;
        M ending;
    };
    World world;
    const uint64_t target = world.host.add_node();
    world.host.place(target, {300, 300});
    for (const Case& c : {Case{{.type = 0}, M::over_from_extension},
                          Case{{.type = 1}, M::land_from_extension},
                          Case{{.type = 2}, M::land_from_extension},
                          Case{{.type = 3, .target_instance_id = target}, M::hit_target_from_extension},
                          Case{{.type = 4, .velocity = {1, 1}}, M::land_from_extension}}) {
        const ProjectileScene s = world.host.add_projectile_scene();
        const int32_t id = spawn_in(world, c.args, s);
        world.host.place(s.root, c.args.type == 0 ? Vector2{5000, 0} : Vector2{300, 300});
        world.host.on(s.root, c.ending, [&world, s] { world.host.free_node(s.root); });
        world.frame();
        EXPECT_TRUE(world.w.projectiles()[id].hit_over) << c.args.type;
        EXPECT_FALSE(world.host.exists(s.root));
    }
    EXPECT_TRUE(world.host.violations().empty());
}

TEST(Reentrancy, BodyFreedByTheHitWindowCallIsLookedUpAgain) {
    World world;
    const ProjectileScene s = world.host.add_projectile_scene();
    // Far outside the play area, in the hit window, not landing.
    const int32_t id = spawn_in(world, {.type = 4, .ground_height = 0, .y_speed = 10, .z_val = 50}, s);
    world.host.place(s.root, {5000, 300});
    world.host.on(s.root, M::enable_monitoring, [&] { world.host.free_node(s.body); });
    world.frame();
    EXPECT_TRUE(world.w.projectiles()[id].active);  // no body, so no out-of-play end
    EXPECT_TRUE(world.host.violations().empty());
}

TEST(Reentrancy, ReleasedLowerSlotReusedDuringTheFrameWaitsForTheNextOne) {
    World world;
    const ProjectileScene first = world.host.add_projectile_scene();
    const ProjectileScene second = world.host.add_projectile_scene();
    const ProjectileScene late = world.host.add_projectile_scene();
    const int32_t a = spawn_in(world, {.type = 9}, first);
    spawn_in(world, {.type = 0}, second);
    int32_t reused = -1;
    world.host.on(second.root, M::check_shooter_height, [&] {
        if (reused >= 0) return;
        world.w.unregister_projectile(a);
        reused = world.w.register_projectile({.node_instance_id = late.root, .type = 9});
    });
    world.frame();
    ASSERT_EQ(reused, a);
    for (const HostCall& c : world.host.log()) EXPECT_FALSE(on_node(c, late));
    world.host.clear_log();
    world.frame();
    std::size_t late_write_backs = 0;
    for (const HostCall& c : world.host.log()) {
        late_write_backs += c.op == HostOp::set_global_position && c.node == late.root ? 1 : 0;
    }
    EXPECT_EQ(late_write_backs, 1u);
}

TEST(Reentrancy, RegisteredFromAnEndingCallIsSteppedTheSameFrame) {
    World world;
    const ProjectileScene s = world.host.add_projectile_scene();
    const ProjectileScene child = world.host.add_projectile_scene();
    spawn_in(world, {.type = 0}, s);
    world.host.place(s.root, {5000, 0});
    world.host.on(s.root, M::over_from_extension, [&] {
        world.w.register_projectile({.node_instance_id = child.root, .type = 0});
    });
    world.frame();
    EXPECT_EQ(world.host.script_calls(child.root), std::vector<M>{M::check_shooter_height});
}

TEST(Reentrancy, SettersAndQueriesInsideCallbacks) {
    World world;
    const ProjectileScene s = world.host.add_projectile_scene();
    const int32_t id = spawn_in(world, {.type = 0, .velocity = {60, 0}}, s);
    const uint64_t armoured = world.host.add_node();
    world.w.register_target({armoured, 2, 1, 1, 1, false, false, false, false, false, 0, 0, 0, false, false, false,
                            false, true, true, false});
    world.frame();  // index built
    world.host.on_bool(armoured, M::has_metallic_armor, [&] {
        // A target's script that fires back, from inside a query inside a step.
        world.w.register_projectile({.node_instance_id = world.host.add_node(), .type = 9});
        return true;
    });
    InstanceIdList found_all, found_metal;
    world.host.on(s.root, M::check_shooter_height, [&] {
        world.w.set<&ProjectileState::velocity>(id, {0, 120});
        world.w.set<&ProjectileState::grid_y>(id, 3);
        query_targets_all(world.w, 1, 1, found_all);
        query_metallic_armor_targets(world.w, world.host, 1, found_metal);
    });
    const Vector2 before = world.host.global_position_of(s.root);
    world.frame();
    // The velocity set during the call is the one moved with.
    EXPECT_EQ(world.host.global_position_of(s.root).x, before.x);
    EXPECT_EQ(world.host.global_position_of(s.root).y, narrow(kFrame) * 120.0f + before.y);
    EXPECT_EQ(found_metal, InstanceIdList{armoured});
    EXPECT_EQ(world.w.projectiles()[id].grid_y, 3);
    EXPECT_EQ(world.w.projectiles().size(), 2);
    EXPECT_TRUE(world.host.violations().empty());
}

// Every script method of every node does something random to the node or the
// scene. Whatever happens, no freed node is touched and the pool stays sound.
TEST(Reentrancy, RandomScriptsNeverBreakTheFrame) {
    World world;
    world.host.logging = false;
    std::mt19937 rng(2024);
    std::vector<uint64_t> nodes;
    auto rand_int = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    auto rand_float = [&](float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(rng); };

    std::function<void(uint64_t)> script;
    auto spawn_random = [&] {
        FakeHost::ChildParts parts{rand_int(0, 4) != 0, rand_int(0, 1) != 0, rand_int(0, 1) != 0,
                                   rand_int(0, 1) != 0};
        const ProjectileScene s = world.host.add_projectile_scene(parts);
        world.host.place(s.root, {rand_float(-200, 1500), rand_float(-50, 800)});
        nodes.push_back(s.root);
        for (int m = 0; m < static_cast<int>(M::count); ++m) {
            world.host.on(s.root, static_cast<M>(m), [&script, root = s.root] { script(root); });
        }
        ProjectileDef a;
        a.node_instance_id = rand_int(0, 20) == 0 ? uint64_t{123456789} : s.root;
        a.type = rand_int(0, 5);
        a.velocity = {rand_float(-600, 600), rand_float(-600, 600)};
        a.speed = rand_float(0, 600);
        a.fire_length = rand_float(-1, 1);
        a.check_distance = rand_float(0, 800);
        a.ground_height = rand_float(-20, 40);
        a.y_speed = rand_float(-900, 100);
        a.z_val = rand_float(0, 200);
        a.gravity_val = rand_float(0, 1000);
        a.gravity_scale_val = 1;
        a.target_instance_id = nodes.empty() ? 0 : nodes[static_cast<std::size_t>(rand_int(0, static_cast<int>(nodes.size()) - 1))];
        a.rotate_follow_velocity = rand_int(0, 1) != 0;
        a.rotate_scale = rand_float(-5, 5);
        world.w.register_projectile(a);
    };
    int depth = 0;
    script = [&](uint64_t self) {
        if (depth > 3) return;
        ++depth;
        const int32_t slots = world.w.projectiles().size();
        const int32_t any = rand_int(-2, slots + 2);
        switch (rand_int(0, 9)) {
            case 0: spawn_random(); break;
            case 1: world.w.unregister_projectile(any); break;
            case 2: world.host.free_node(self); break;
            case 3:
                world.host.free_node(nodes[static_cast<std::size_t>(rand_int(0, static_cast<int>(nodes.size()) - 1))]);
                break;
            case 4: world.w.set<&ProjectileState::hit_over>(any, rand_int(0, 1) != 0); break;
            case 5: world.w.set<&ProjectileState::target_instance_id>(any, rand_int(0, 1) != 0 ? self : 0); break;
            case 6: world.w.set<&ProjectileState::velocity>(any, {rand_float(-100, 100), rand_float(-100, 100)}); break;
            case 7: {
                InstanceIdList out;
                query_targets_all(world.w, 0, 1, out);
                break;
            }
            default: break;
        }
        --depth;
    };

    for (int i = 0; i < 60; ++i) spawn_random();
    for (int f = 0; f < 400; ++f) {
        world.frame();
        if (f % 20 == 0) spawn_random();
        ASSERT_TRUE(world.host.violations().empty()) << world.host.violations().front();
        const SlotPool<ProjectileState>& pool = world.w.projectiles();
        for (int32_t id = 0; id < pool.size(); ++id) {
            ASSERT_FALSE(pool[id].active && pool[id].hit_over) << id;
            ASSERT_FALSE(test::Inspect::is_released(pool, id) && pool[id].active) << id;
        }
    }
    EXPECT_GT(world.w.projectiles().size(), 60);
}

}  // namespace
}  // namespace warfield::test
