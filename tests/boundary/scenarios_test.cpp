// Projectiles flying through the real library and the stand-in engine: one
// scene per kind, with the callbacks the game's scripts receive, and scripts
// that free their node or fire more projectiles from inside a callback.
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "support.h"

namespace boundary {
namespace {

const char* const kCallbacks[] = {"update_grid_pos",          "check_shooter_height", "over_from_extension",
                                  "land_from_extension",      "enable_monitoring",    "disable_monitoring",
                                  "hit_target_from_extension", "target_died_from_extension", "find_track_target"};

class Scenarios : public BoundaryTest {
protected:
    void SetUp() override {
        BoundaryTest::SetUp();
        stand_in::set_script_call_log(true);
        w = add_warfield();  // visible rect (0,0,1280,720): play area x in [-100, 1380), y in [0, 720)
    }

    // A projectile scene whose root answers every callback (doing nothing).
    ProjectileScene scene(Vector2 at) {
        ProjectileScene s = add_projectile_scene(at);
        for (const char* m : kCallbacks) {
            engine->set_script_method(s.root, m, [](Object&) { return Variant(); });
        }
        return s;
    }

    int64_t fire(const ProjectileArgs& p) { return call_int(Path::dynamic, w, "register_projectile", p.values()); }
    // `p` moving the scene's root.
    int64_t fire(const ProjectileScene& s, ProjectileArgs p) {
        p.node_instance_id = s.id();
        return fire(p);
    }
    void frames(int n, double delta) {
        for (int i = 0; i < n; ++i) frame(delta);
    }

    // The callbacks received by one node, in order.
    static std::vector<std::string> calls_on(const Object* o) {
        std::vector<std::string> out;
        for (const stand_in::ScriptCall& c : stand_in::script_call_log()) {
            if (c.object_id == o->id) {
                out.push_back(c.method);
            }
        }
        return out;
    }
    static void forget_calls() { stand_in::script_call_log().clear(); }

    int64_t active() { return count(w, "get_active_projectile_count"); }

    Object* w = nullptr;
};

using Calls = std::vector<std::string>;

// A plain projectile at `velocity`: a straight shot unless its type is set.
ProjectileArgs moving(Vector2 velocity) {
    ProjectileArgs p;
    p.velocity = velocity;
    return p;
}

// A lob (1) or an arc (2), thrown up at 400 under a gravity of 1000 while
// drifting right at 50.
ProjectileArgs thrown_up(int64_t type) {
    ProjectileArgs p = moving({50, 0});
    p.type = type;
    p.y_speed = -400;
    p.gravity_val = 1000;
    return p;
}

// A tracking shot flying at `speed` towards `target`.
ProjectileArgs tracking(double speed, const Node2D* target) {
    ProjectileArgs p;
    p.type = 3;
    p.speed = speed;
    p.target_instance_id = static_cast<int64_t>(target->id);
    return p;
}

TEST_F(Scenarios, StraightFliesChecksItsShooterAndEndsOffScreen) {
    const ProjectileScene s = scene({1260, 300});
    ProjectileArgs p = moving({600, 0});
    p.type = 0;
    p.rotate_scale = 2.0;
    p.fire_dir_x = -1;
    fire(s, p);
    frame(0.1);
    EXPECT_EQ(s.root->position, (Vector2{1320, 300}));
    EXPECT_NEAR(s.sprite->rotation, -0.2f, 1e-6f);
    EXPECT_EQ(calls_on(s.root), (Calls{"check_shooter_height"}));
    frame(0.1);  // body at x 1380: the right edge is outside
    EXPECT_EQ(s.root->position, (Vector2{1380, 300}));
    EXPECT_EQ(calls_on(s.root), (Calls{"check_shooter_height", "check_shooter_height", "over_from_extension"}));
    EXPECT_EQ(active(), 0);
    frame(0.1);
    EXPECT_EQ(s.root->position, (Vector2{1380, 300}));
    EXPECT_EQ(calls_on(s.root).size(), 3u);
}

TEST_F(Scenarios, StraightRefreshesItsGridPositionOnEveryFifthFrameAndFollowsItsVelocity) {
    const ProjectileScene s = scene({100, 100});
    ProjectileArgs p = moving({0, 10});
    p.rotate_follow_velocity = true;
    fire(s, p);
    frames(10, 0.1);
    EXPECT_EQ(stand_in::Engine::script_calls(s.root, "update_grid_pos"), 2u);
    EXPECT_EQ(stand_in::Engine::script_calls(s.root, "check_shooter_height"), 10u);
    EXPECT_NEAR(s.body->rotation, std::numbers::pi_v<float> / 2, 1e-6f);
    EXPECT_NEAR(s.root->position.y, 110.0f, 1e-4f);
    EXPECT_EQ(active(), 1);
}

TEST_F(Scenarios, LobRisesCastsAShrinkingShadowArmsOnTouchdownAndLandsTheFrameAfter) {
    const ProjectileScene s = scene({100, 500});
    fire(s, thrown_up(1));
    frame(0.1);
    EXPECT_NEAR(s.body->position.y, -30.0f, 1e-3f);
    EXPECT_NEAR(s.shadow->scale.x, 0.95f, 1e-5f);
    EXPECT_EQ(s.shadow->scale.x, s.shadow->scale.y);
    frames(7, 0.1);
    EXPECT_EQ(calls_on(s.root), (Calls{"enable_monitoring", "land_from_extension"}));
    EXPECT_NEAR(s.root->position.x, 140.0f, 1e-3f);
    EXPECT_EQ(active(), 0);
}

TEST_F(Scenarios, ArcDisarmsWhileHighArmsBelowSixtyAndLandsSnappedToTheGround) {
    const ProjectileScene s = scene({100, 500});
    ProjectileArgs p = thrown_up(2);
    p.rotate_follow_velocity = true;
    fire(s, p);
    frame(0.1);
    EXPECT_NEAR(s.body->rotation, std::atan2(-300.0f, 50.0f), 1e-5f);
    frames(7, 0.1);
    EXPECT_EQ(calls_on(s.root), (Calls{"disable_monitoring", "disable_monitoring", "disable_monitoring",
                                       "disable_monitoring", "enable_monitoring", "enable_monitoring",
                                       "land_from_extension"}));
    EXPECT_NEAR(s.root->position.x, 130.0f, 1e-3f);  // the landing frame does not move it
    EXPECT_EQ(active(), 0);
}

TEST_F(Scenarios, TrackingSteersAtItsTargetTurnsItsBodyAndHitsWithinThirtyUnits) {
    const ProjectileScene s = scene({100, 100});
    Node2D* target = add_node2d("Zombie", {100, 400});
    fire(s, tracking(1000, target));
    frame(0.1);
    EXPECT_NEAR(s.root->position.y, 200.0f, 1e-3f);
    EXPECT_NEAR(s.body->rotation, std::numbers::pi_v<float> / 4, 1e-5f);  // half way at 5 * delta
    frame(0.1);
    frame(0.1);
    EXPECT_TRUE(calls_on(s.root).empty());
    frame(0.1);  // starts the frame on the target
    EXPECT_EQ(calls_on(s.root), (Calls{"hit_target_from_extension"}));
    EXPECT_NEAR(s.root->position.y, 400.0f, 1e-3f);
    EXPECT_EQ(active(), 0);
}

TEST_F(Scenarios, TrackingReportsAFreedTargetOnceThenAsksForANewOneEveryThirtiethFrame) {
    const ProjectileScene s = scene({100, 100});
    Node2D* first = add_node2d("First", {1000, 100});
    Node2D* second = add_node2d("Second", {100, 700});
    const int64_t second_id = static_cast<int64_t>(second->id);
    const int64_t slot = fire(s, tracking(10, first));
    // The script answers by aiming the projectile at another node.
    engine->set_script_method(s.root, "find_track_target", [&, slot, second_id](Object&) {
        call_void(Path::typed, w, "set_projectile_target", {slot, second_id});
        return Variant();
    });
    frame(1.0);
    engine->free(first);
    frames(29, 1.0);  // frames 2 to 30
    EXPECT_EQ(calls_on(s.root), (Calls{"target_died_from_extension", "update_grid_pos", "find_track_target"}));
    const Vector2 coasting = s.root->position;
    EXPECT_NEAR(coasting.x, 100.0f + 30 * 10.0f, 1e-3f);  // kept its last velocity
    frame(1.0);  // now flies at the new target
    const float dx = 100.0f - coasting.x;
    const float dy = 700.0f - coasting.y;
    const float len = std::sqrt(dx * dx + dy * dy);
    EXPECT_NEAR(s.root->position.x, coasting.x + 10.0f * dx / len, 1e-3f);
    EXPECT_NEAR(s.root->position.y, coasting.y + 10.0f * dy / len, 1e-3f);
}

TEST_F(Scenarios, CatapultRaisesBodyAndHitBoxArmsLowAndLandsOnTheGround) {
    const ProjectileScene s = scene({200, 600});
    ProjectileArgs p = moving({40, 0});
    p.type = 4;
    p.y_speed = -1000;
    fire(s, p);
    frame(0.05);
    EXPECT_NEAR(s.body->position.y, -45.0f, 1e-3f);
    EXPECT_NEAR(s.hitbox->position.y, -45.0f, 1e-3f);
    EXPECT_NEAR(s.shadow->scale.x, 1.0f - 45.0f / 600.0f, 1e-5f);
    for (int i = 0; i < 40 && active() == 1; ++i) {
        frame(0.05);
    }
    const Calls calls = calls_on(s.root);
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls.back(), "land_from_extension");
    for (size_t i = 0; i + 1 < calls.size(); ++i) {
        EXPECT_EQ(calls[i], "enable_monitoring");
    }
    EXPECT_EQ(s.body->position.y, 0.0f);  // snapped to the ground, not below it
    EXPECT_EQ(active(), 0);
}

TEST_F(Scenarios, CatapultWhoseBodyRisesAboveThePlayAreaIsOutOfPlay) {
    const ProjectileScene s = scene({200, 100});
    ProjectileArgs p;
    p.type = 4;
    p.y_speed = -3000;
    fire(s, p);
    frame(0.05);  // the body is raised 145 units: above the top edge
    EXPECT_EQ(calls_on(s.root), (Calls{"over_from_extension"}));
    EXPECT_EQ(active(), 0);
}

TEST_F(Scenarios, AProjectileWhoseNodeIsGoneStopsSilently) {
    const ProjectileScene freed = scene({10, 10});
    Node2D* outside = engine->make_node2d("NotInTree");
    stand_in::Node* plain = engine->make_node("PlainNode");
    engine->add_child(engine->root(), plain);
    for (int64_t id : {freed.id(), static_cast<int64_t>(outside->id), static_cast<int64_t>(plain->id), int64_t{0}}) {
        ProjectileArgs p = moving({1, 1});
        p.node_instance_id = id;
        fire(p);
    }
    engine->free(freed.root);
    frame();
    EXPECT_EQ(active(), 0);
    EXPECT_TRUE(stand_in::script_call_log().empty());
    EXPECT_EQ(outside->position, (Vector2{}));
    engine->free(outside);
}

TEST_F(Scenarios, ACallbackThatCannotBeCalledIsReportedOncePerMethodAnAbsentOneNever) {
    // Two shots whose over_from_extension and update_grid_pos declare an
    // argument (the node passes none), one whose script has no callbacks.
    const auto bad_scene = [&](Vector2 at) {
        ProjectileScene s = scene(at);
        for (const char* m : {"over_from_extension", "update_grid_pos"}) {
            engine->set_script_method(s.root, m, [](Object&) { return Variant(); }, 1);
        }
        return s;
    };
    const ProjectileScene bad[2] = {bad_scene({1000, 300}), bad_scene({1100, 300})};
    const ProjectileScene silent = add_projectile_scene({1200, 300});
    for (const ProjectileScene* s : {&bad[0], &bad[1], &silent}) {
        fire(*s, moving({600, 0}));  // off the play area within a second
    }
    for (int f = 0; f < 100; ++f) frame();

    EXPECT_EQ(active(), 0);  // each ended as before: the call failed, the step went on
    std::vector<std::string> warnings;
    for (const stand_in::LogEntry& e : stand_in::log().entries()) {
        EXPECT_EQ(e.source, stand_in::LogEntry::Source::extension) << e.text;
        if (e.level == stand_in::LogEntry::Level::warning) warnings.push_back(e.text);
    }
    if (release_library()) {
        EXPECT_EQ(warnings.size(), 0u) << stand_in::log().dump();  // a released game stays silent
        return;
    }
    ASSERT_EQ(warnings.size(), 2u) << stand_in::log().dump();
    // Each names the first node it failed on, the method and the engine's error.
    EXPECT_NE(warnings[0].find("update_grid_pos() on \"/root/" + bad[0].root->name + "\""), std::string::npos)
        << warnings[0];
    EXPECT_NE(warnings[1].find("over_from_extension() on \"/root/" + bad[1].root->name + "\""), std::string::npos)
        << warnings[1];
    for (const std::string& w : warnings) {
        EXPECT_NE(w.find("it expects 1 argument(s) and the node passes none"), std::string::npos) << w;
    }
    for (const stand_in::ScriptCall& c : stand_in::script_call_log()) {
        EXPECT_TRUE(c.method == "check_shooter_height") << c.method << " ran";  // the others failed
    }
    stand_in::log().clear();
}

TEST_F(Scenarios, InTheEditorNothingMoves) {
    engine->set_editor_hint(true);
    const ProjectileScene s = scene({100, 100});
    fire(s, moving({100, 0}));
    for (int i = 0; i < 5; ++i) frame();
    EXPECT_EQ(s.root->position, (Vector2{100, 100}));
    EXPECT_TRUE(stand_in::script_call_log().empty());
    EXPECT_EQ(stand_in::counters().of(stand_in::Fn::object_get_instance_from_id), 0u);
}

TEST_F(Scenarios, ACallbackMayFreeItsOwnNodeAtOnce) {
    // One frees itself while the step is still running, one when it ends.
    const ProjectileScene early = scene({100, 100});
    const ProjectileScene late = scene({1370, 200});
    engine->set_script_method(early.root, "check_shooter_height", [this](Object& self) {
        engine->free(&self);
        return Variant();
    });
    engine->set_script_method(late.root, "over_from_extension", [this](Object& self) {
        engine->free(&self);
        return Variant();
    });
    for (const ProjectileScene* s : {&early, &late}) {
        fire(*s, moving({600, 0}));
    }
    const uint64_t late_id = late.root->id;
    frame(0.1);
    EXPECT_EQ(stand_in::object_by_id(late_id), nullptr);
    EXPECT_EQ(active(), 1) << "the early one is found gone on the next frame";
    frame(0.1);
    EXPECT_EQ(active(), 0);
    EXPECT_EQ(stand_in::log().engine_errors(), 0u) << "no call reached a freed node\n" << stand_in::log().dump();
}

TEST_F(Scenarios, ACallbackMayFireMoreProjectilesWhichFlyInTheSameFrame) {
    const ProjectileScene first = scene({1370, 200});
    std::vector<ProjectileScene> spawned;
    engine->set_script_method(first.root, "over_from_extension", [&](Object&) {
        // Enough registrations to make the pool grow and move.
        for (int i = 0; i < 40; ++i) {
            ProjectileScene s = scene({100.0f + static_cast<float>(i), 300});
            fire(s, moving({10, 0}));
            spawned.push_back(s);
        }
        return Variant();
    });
    fire(first, moving({600, 0}));
    frame(0.1);
    ASSERT_EQ(spawned.size(), 40u);
    for (const ProjectileScene& s : spawned) {
        EXPECT_EQ(stand_in::Engine::script_calls(s.root, "check_shooter_height"), 1u) << "stepped in the same frame";
    }
    EXPECT_NEAR(spawned[0].root->position.x, 101.0f, 1e-4f);
    EXPECT_EQ(active(), 40);
}

TEST_F(Scenarios, ThePlayAreaIsTheViewportWidenedLeftAndRight) {
    // A second node captures a viewport rect of (50, 10, 1280, 720) when it
    // becomes ready: the play area is x in [-100, 1380), y in [10, 730).
    engine->set_visible_rect(Rect2{{50, 10}, {1280, 720}});
    Object* w2 = add_warfield();
    const ProjectileScene left_edge = scene({-100, 10});
    const ProjectileScene above = scene({0, 9.5f});
    const ProjectileScene bottom = scene({0, 730});
    for (const ProjectileScene* s : {&left_edge, &above, &bottom}) {
        ProjectileArgs p;
        p.node_instance_id = s->id();
        call_int(Path::typed, w2, "register_projectile", p.values());
    }
    frame();
    EXPECT_TRUE(calls_on(left_edge.root) == (Calls{"check_shooter_height"}));
    EXPECT_EQ(calls_on(above.root).back(), "over_from_extension");
    EXPECT_EQ(calls_on(bottom.root).back(), "over_from_extension");
}

TEST_F(Scenarios, TheEngineCallbacksCanBeDrivenDirectly) {
    // Outside the tree: _ready finds no viewport, so the play area stays
    // empty and a projectile with a body is out of play on its first step.
    Object* loose = engine->instantiate("Warfield");
    ASSERT_TRUE(stand_in::call_virtual(loose, "_ready", stand_in::virtual_hash::kNoArgs, nullptr, nullptr));
    const ProjectileScene s = scene({10, 10});
    ProjectileArgs p;
    p.node_instance_id = s.id();
    p.velocity = {100, 0};
    call_int(Path::typed, loose, "register_projectile", p.values());
    const double delta = 0.5;
    const GDExtensionConstTypePtr args[1] = {&delta};
    ASSERT_TRUE(stand_in::call_virtual(loose, "_physics_process", stand_in::virtual_hash::kDelta, args, nullptr));
    EXPECT_EQ(s.root->position, (Vector2{60, 10}));
    EXPECT_EQ(calls_on(s.root), (Calls{"check_shooter_height", "over_from_extension"}));
    EXPECT_FALSE(stand_in::call_virtual(loose, "_process", stand_in::virtual_hash::kDelta, args, nullptr));
    engine->free(loose);
}

TEST_F(Scenarios, AFrameCostsAFixedNumberOfEngineCallsAndBuildsNoNames) {
    std::vector<ProjectileScene> scenes;
    for (int i = 0; i < 8; ++i) {
        scenes.push_back(scene({100.0f + 10.0f * static_cast<float>(i), 300}));
        fire(scenes.back(), moving({1, 0}));
    }
    frame();
    const stand_in::Counters before = stand_in::counters();
    frame();
    const stand_in::Counters after = stand_in::counters();
    EXPECT_EQ(after.string_names_made, before.string_names_made);
    EXPECT_EQ(after.of(stand_in::Fn::classdb_get_method_bind), before.of(stand_in::Fn::classdb_get_method_bind));
    // Each node is found again by id every frame (and after each script call).
    const uint64_t lookups =
        after.of(stand_in::Fn::object_get_instance_from_id) - before.of(stand_in::Fn::object_get_instance_from_id);
    EXPECT_EQ(lookups % 8, 0u);
    EXPECT_GE(lookups, 8u);
    EXPECT_LE(lookups, 24u);
    const uint64_t calls = after.interface_total() - before.interface_total();
    frame();
    EXPECT_EQ(stand_in::counters().interface_total() - after.interface_total(), calls) << "same cost every frame";
}

}  // namespace
}  // namespace boundary
