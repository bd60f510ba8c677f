// Scripts that pull the ground from under the step that called them: from
// the first call of each script method a projectile kind makes, the script
// frees the projectile's node or its body, releases or reuses its slot, grows
// the pool until it moves, or takes the node out of the tree. The scene
// reports any later touch of a freed node; ASan reports any record reached
// through storage the pool has since moved.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "fake_host.h"
#include "scene_edits.h"
#include "server/warfield.h"
#include "simulation/physics_frame.h"

namespace warfield {
namespace {

using fuzz::SceneNode;
using test::FakeHost;

struct Script {
    std::function<bool(SceneNode&, ScriptMethod)> on_call;
    std::vector<std::pair<uint64_t, ScriptMethod>> calls;
    bool operator()(SceneNode& node, ScriptMethod method) {
        calls.emplace_back(node.id, method);
        return on_call ? on_call(node, method) : false;
    }
};

// A flight that reaches the method under test within kFrames frames.
struct Flight {
    const char* name;
    ScriptMethod method;
    int32_t type;
    bool play_area;       // run _ready with a 1280x720 viewport
    bool live_target;     // tracking: a target node 200 units ahead
    uint64_t dead_target;  // tracking: an id that names no node
    Vector2 velocity;
    float speed, z_val, y_speed, ground, check_distance;
};

constexpr int kFrames = 60;

const Flight kFlights[] = {
    {"straight_check_shooter_height", ScriptMethod::check_shooter_height, 0, true, false, 0, {100, 0}, 0, 0, 0, 0, 10},
    {"straight_update_grid_pos", ScriptMethod::update_grid_pos, 0, true, false, 0, {100, 0}, 0, 0, 0, 0, 1000},
    {"straight_over", ScriptMethod::over_from_extension, 0, true, false, 0, {100, 0}, 0, 0, 0, 0, 5},
    {"lob_enable_monitoring", ScriptMethod::enable_monitoring, 1, true, false, 0, {50, 0}, 0, 20, 0, 0, 0},
    {"lob_land", ScriptMethod::land_from_extension, 1, true, false, 0, {50, 0}, 0, 20, 0, 0, 0},
    {"arc_disable_monitoring", ScriptMethod::disable_monitoring, 2, true, false, 0, {50, 0}, 0, 100, -100, 0, 0},
    {"arc_enable_monitoring", ScriptMethod::enable_monitoring, 2, true, false, 0, {50, 0}, 0, 100, -100, 0, 0},
    {"arc_land", ScriptMethod::land_from_extension, 2, true, false, 0, {50, 0}, 0, 100, -100, 0, 0},
    {"tracking_hit", ScriptMethod::hit_target_from_extension, 3, true, true, 0, {0, 0}, 600, 0, 0, 0, 0},
    {"tracking_target_died", ScriptMethod::target_died_from_extension, 3, true, false, 77777, {10, 0}, 600, 0, 0, 0, 0},
    {"tracking_update_grid_pos", ScriptMethod::update_grid_pos, 3, true, false, 77777, {10, 0}, 600, 0, 0, 0, 0},
    {"tracking_find_target", ScriptMethod::find_track_target, 3, true, false, 0, {10, 0}, 600, 0, 0, 0, 0},
    {"catapult_enable_monitoring", ScriptMethod::enable_monitoring, 4, true, false, 0, {50, 0}, 0, 0, -400, 0, 0},
    {"catapult_land", ScriptMethod::land_from_extension, 4, true, false, 0, {50, 0}, 0, 0, -400, 0, 0},
    {"catapult_over", ScriptMethod::over_from_extension, 4, false, false, 0, {50, 0}, 0, 0, -400, 0, 0},
};

enum class Action {
    free_root,
    free_body,
    free_every_child,
    leave_tree,
    unregister_self,
    reuse_own_slot,  // release, then register another node's projectile into the slot
    grow_pool,       // 300 registrations: the pool's storage moves
    finish_self,
    retarget_to_self,
};

// Short names in test listings instead of the bytes of each parameter.
void PrintTo(const Flight& f, std::ostream* os) { *os << f.name; }

const char* action_name(Action a) {
    switch (a) {
        case Action::free_root: return "free_root";
        case Action::free_body: return "free_body";
        case Action::free_every_child: return "free_every_child";
        case Action::leave_tree: return "leave_tree";
        case Action::unregister_self: return "unregister_self";
        case Action::reuse_own_slot: return "reuse_own_slot";
        case Action::grow_pool: return "grow_pool";
        case Action::finish_self: return "finish_self";
        case Action::retarget_to_self: return "retarget_to_self";
    }
    return "";
}

class HostileScript : public testing::TestWithParam<std::tuple<Flight, Action>> {
protected:
    void SetUp() override { scene.on_any(std::ref(script)); }

    int32_t register_on(SceneNode& node, const Flight& s, uint64_t target) {
        ProjectileDef a;
        a.node_instance_id = node.id;
        a.type = s.type;
        a.velocity = s.velocity;
        a.speed = s.speed;
        a.fire_length = 1.0f;
        a.check_distance = s.check_distance;
        a.save_pos = node.position;
        a.z_val = s.z_val;
        a.y_speed = s.y_speed;
        a.ground_height = s.ground;
        a.gravity_val = 2000.0f;
        a.gravity_scale_val = 1.0f;
        a.target_instance_id = target;
        a.rotate_follow_velocity = true;
        return w.register_projectile(a);
    }

    SceneNode& spawn_at(Vector2 p) {
        SceneNode* n = fuzz::spawn(scene, true, true, 0x0F, 0);
        n->position = p;
        return *n;
    }

    Warfield w;
    FakeHost scene{{.engine_ids = true}};
    Script script;
};

TEST_P(HostileScript, NeverTouchesWhatTheScriptTookAway) {
    const Flight& setup = std::get<0>(GetParam());
    const Action action = std::get<1>(GetParam());
    if (setup.play_area) {
        _ready(w, scene);
    }
    SceneNode& root = spawn_at({100, 300});
    uint64_t target = setup.dead_target;
    if (setup.live_target) target = spawn_at({300, 300}).id;
    const int32_t slot = register_on(root, setup, target);
    // A bystander after it, so the loop has to carry on past the victim.
    SceneNode& other = spawn_at({100, 400});
    const int32_t bystander = register_on(other, setup, target);

    bool acted = false;
    script.on_call = [&](SceneNode& node, ScriptMethod m) {
        if (acted || m != setup.method || node.id != root.id) return false;
        acted = true;
        switch (action) {
            case Action::free_root: scene.free_node(root.id); break;
            case Action::free_body: scene.free_node(scene.child_at(root, ChildPath::projectile_body)->id); break;
            case Action::free_every_child:
                for (const SceneNode* c : std::vector<SceneNode*>(scene.children(root))) scene.free_node(c->id);
                break;
            case Action::leave_tree: scene.set_in_tree(root.id, false); break;
            case Action::unregister_self: w.unregister_projectile(slot); break;
            case Action::reuse_own_slot:
                w.unregister_projectile(slot);
                EXPECT_EQ(register_on(spawn_at({500, 500}), setup, target), slot);
                break;
            case Action::grow_pool:
                for (int i = 0; i < 300; ++i) register_on(other, setup, target);
                break;
            case Action::finish_self: w.set<&ProjectileState::hit_over>(slot, true); break;
            case Action::retarget_to_self: w.set<&ProjectileState::target_instance_id>(slot, root.id); break;
        }
        return false;
    };

    for (int f = 0; f < kFrames && scene.violations().empty(); ++f) _physics_process(w, scene, 1.0 / 60.0);

    ASSERT_TRUE(acted) << "the flight never called " << script_method_name(setup.method);
    EXPECT_EQ(scene.first_violation(), "");
    if (action == Action::free_root || action == Action::leave_tree) {
        EXPECT_FALSE(w.projectiles()[slot].active) << "a projectile whose node is gone stays active";
    }
    // The loop went on past the victim: the bystander's scripts were called.
    bool bystander_stepped = false;
    for (const auto& [node, method] : script.calls) bystander_stepped = bystander_stepped || node == other.id;
    EXPECT_TRUE(bystander_stepped);
    EXPECT_TRUE(w.projectiles().valid(bystander));
}

void PrintTo(Action a, std::ostream* os) { *os << action_name(a); }

std::string case_name(const testing::TestParamInfo<std::tuple<Flight, Action>>& info) {
    return std::string(std::get<0>(info.param).name) + "_" + action_name(std::get<1>(info.param));
}

INSTANTIATE_TEST_SUITE_P(EveryCallbackEveryAction, HostileScript,
                         testing::Combine(testing::ValuesIn(kFlights),
                                          testing::Values(Action::free_root, Action::free_body,
                                                          Action::free_every_child, Action::leave_tree,
                                                          Action::unregister_self, Action::reuse_own_slot,
                                                          Action::grow_pool, Action::finish_self,
                                                          Action::retarget_to_self)),
                         case_name);

}  // namespace
}  // namespace warfield
