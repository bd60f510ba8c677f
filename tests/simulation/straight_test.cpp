// Straight projectiles: throttled calls, the play area and range ends, body
// rotation and exact motion.
#include <cmath>

#include "sim_fixture.h"
#include "simulation/physics_frame.h"

namespace warfield::test {
namespace {

using M = ScriptMethod;

class StraightTest : public SimTest {
protected:
    void SetUp() override { ready(); }
};

TEST_F(StraightTest, GridRefreshOnEveryFifthFrameAndHeightCheckEveryFrame) {
    const ProjectileScene a = host.add_projectile_scene();
    const ProjectileScene b = host.add_projectile_scene();
    spawn({.type = 0}, a, {100, 100});
    spawn({.type = 0}, b, {200, 100});
    for (uint64_t frame_no = 1; frame_no <= 11; ++frame_no) {
        host.clear_log();
        frame();
        std::vector<M> expected;
        if (frame_no % 5 == 0) expected.push_back(M::update_grid_pos);
        expected.push_back(M::check_shooter_height);
        EXPECT_EQ(calls(a.root), expected) << frame_no;
        EXPECT_EQ(calls(b.root), expected) << frame_no;
    }
}

TEST_F(StraightTest, OrdinaryFramesMakeExactlyTheseHostCalls) {
    const ProjectileScene s = host.add_projectile_scene({.sprite = false});
    spawn({.type = 0, .velocity = {60, 0}}, s, {100, 100});
    const auto expect_ops = [&](const std::vector<HostOp>& expected) {
        ASSERT_EQ(host.log().size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(host.log()[i].op, expected[i]) << i << " " << host_op_name(host.log()[i].op);
        }
    };
    host.clear_log();
    frame();
    expect_ops({HostOp::is_editor_hint,
                // resolve, then known to be in the tree until the engine says otherwise
                HostOp::object_from_instance_id, HostOp::cast_to_node2d, HostOp::is_inside_tree,
                // "check_shooter_height", then the root is found again by id (its class and place are known)
                HostOp::call, HostOp::object_from_instance_id,
                // move
                HostOp::get_global_position, HostOp::set_global_position,
                // off-screen test on the body, found by path and remembered
                HostOp::get_node_or_null, HostOp::is_inside_tree, HostOp::cast_to_node2d, HostOp::get_instance_id,
                HostOp::get_global_position});
    // No write-back: the step set the root's position after its last script call.
    EXPECT_EQ(host.log()[4].method, M::check_shooter_height);
    EXPECT_EQ(host.log()[8].path, ChildPath::projectile_body);

    host.clear_log();
    frame();
    expect_ops({HostOp::is_editor_hint, HostOp::object_from_instance_id, HostOp::call,
                HostOp::object_from_instance_id, HostOp::get_global_position, HostOp::set_global_position,
                // the remembered body, which the engine has said nothing about: only checked to be alive
                HostOp::object_from_instance_id, HostOp::get_global_position});
    EXPECT_EQ(host.log()[6].asked, s.body);
}

TEST_F(StraightTest, MotionIsExactFloatArithmetic) {
    const ProjectileScene s = host.add_projectile_scene();
    const Vector2 v{123.456f, -7.891f};
    spawn({.type = 0, .velocity = v}, s, {0.1f, 300.3f});
    const float d = narrow(kFrame);
    float x = 0.1f, y = 300.3f;
    for (int i = 0; i < 20; ++i) {
        frame();
        x = d * v.x + x;
        y = d * v.y + y;
        ASSERT_EQ(pos(s.root).x, x) << i;
        ASSERT_EQ(pos(s.root).y, y) << i;
    }
    // A velocity set by a script is used from the next frame on.
    w.set<&ProjectileState::velocity>(0, {-1.5f, 2.25f});
    frame();
    EXPECT_EQ(pos(s.root).x, d * -1.5f + x);
    EXPECT_EQ(pos(s.root).y, d * 2.25f + y);
}

TEST_F(StraightTest, ScriptEndingItInTheHeightCheckStopsTheStep) {
    const ProjectileScene s = host.add_projectile_scene();
    const int32_t id = spawn({.type = 0, .velocity = {600, 0}}, s, {100, 100});
    host.on(s.root, M::check_shooter_height, [&] { w.set<&ProjectileState::hit_over>(id, true); });
    frame();
    EXPECT_EQ(pos(s.root).x, 100.0f);
    EXPECT_EQ(calls(s.root), std::vector<M>{M::check_shooter_height});
    EXPECT_EQ(host.count(HostOp::set_global_position), 0u);
    EXPECT_EQ(w.get_active_projectile_count(), 0);
    frames(5);
    EXPECT_EQ(calls(s.root).size(), 1u);
}

TEST_F(StraightTest, ReleasedDuringTheCallsStillMovesButIsNotWrittenBack) {
    const ProjectileScene s = host.add_projectile_scene();
    const int32_t id = spawn({.type = 0, .velocity = {60, 0}}, s, {100, 100});
    host.on(s.root, M::check_shooter_height, [&] { w.unregister_projectile(id); });
    frame();
    EXPECT_EQ(pos(s.root).x, narrow(kFrame) * 60.0f + 100.0f);
    EXPECT_EQ(host.count(HostOp::set_global_position), 1u);
    frame();
    EXPECT_EQ(calls(s.root).size(), 1u);
}

TEST_F(StraightTest, PlayAreaEdgesAreHalfOpen) {
    struct Case {
        Vector2 body;
        bool ends;
    };
    // The play area is x in [-100, 1380), y in [0, 720).
    for (const Case c : {Case{{-100, 0}, false}, Case{{1379.9f, 719.9f}, false}, Case{{1380, 10}, true},
                         Case{{-100.01f, 10}, true}, Case{{500, -0.01f}, true}, Case{{500, 720}, true}}) {
        FakeHost h;
        Warfield wf;
        _ready(wf, h);
        const ProjectileScene s = h.add_projectile_scene();
        h.place(s.root, c.body);
        wf.register_projectile({.node_instance_id = s.root, .type = 0});
        _physics_process(wf, h, kFrame);
        EXPECT_EQ(wf.projectiles()[0].hit_over, c.ends) << c.body.x << "," << c.body.y;
        EXPECT_EQ(h.script_call_count(s.root, M::over_from_extension), c.ends ? 1u : 0u);
    }
}

TEST_F(StraightTest, OffScreenTestUsesTheBodyNotTheRoot) {
    const ProjectileScene s = host.add_projectile_scene();
    host.node(s.body).position = {0, -500};  // body drawn above the top while the root is inside
    const int32_t id = spawn({.type = 0}, s, {500, 300});
    frame();
    EXPECT_TRUE(rec(id).hit_over);

    const ProjectileScene t = host.add_projectile_scene();
    host.node(t.body).position = {0, 500};  // the root outside, its body inside
    const int32_t id2 = spawn({.type = 0}, t, {500, -100});
    frame();
    EXPECT_TRUE(rec(id2).active);
}

TEST_F(StraightTest, EndingFrameStillMovesAndGetsNoWriteBack) {
    const ProjectileScene s = host.add_projectile_scene();
    const int32_t id = spawn({.type = 0, .velocity = {600, 0}}, s, {1375, 100});
    host.clear_log();
    frame();
    EXPECT_EQ(pos(s.root).x, narrow(kFrame) * 600.0f + 1375.0f);
    // The over call is the last thing done to the node, apart from finding it again.
    const auto& log = host.log();
    std::size_t last_call = 0;
    for (std::size_t i = 0; i < log.size(); ++i) {
        if (log[i].op == HostOp::call) last_call = i;
    }
    EXPECT_EQ(log[last_call].method, M::over_from_extension);
    for (std::size_t i = last_call + 1; i < log.size(); ++i) {
        EXPECT_TRUE(log[i].op == HostOp::object_from_instance_id || log[i].op == HostOp::cast_to_node2d ||
                    log[i].op == HostOp::is_inside_tree)
            << host_op_name(log[i].op);
    }
    EXPECT_EQ(host.count(HostOp::set_global_position), 1u);
    EXPECT_TRUE(rec(id).hit_over);
    EXPECT_FALSE(rec(id).active);
}

TEST_F(StraightTest, FlagsAreSetBeforeTheOverCall) {
    const ProjectileScene s = host.add_projectile_scene();
    const int32_t id = spawn({.type = 0}, s, {2000, 100});
    bool seen = false;
    host.on(s.root, M::over_from_extension, [&] {
        seen = true;
        EXPECT_TRUE(rec(id).hit_over);
        EXPECT_FALSE(rec(id).active);
        EXPECT_EQ(w.get_active_projectile_count(), 0);
    });
    frame();
    EXPECT_TRUE(seen);
}

TEST_F(StraightTest, RangeTest) {
    // fire_length switches the test on; the root is compared, strictly.
    struct Case {
        float fire_length;
        float check_distance;
        int frames_to_end;  // 0: never within the frames run
    };
    for (const Case c : {Case{0.0f, 0.0f, 0}, Case{-1.0f, 10.0f, 0}, Case{1.0f, 0.0f, 1}, Case{0.5f, 50.0f, 2}}) {
        FakeHost h;
        Warfield wf;
        _ready(wf, h);
        const ProjectileScene s = h.add_projectile_scene();
        h.place(s.root, {100, 100});
        // One frame of delta 1 moves the root by (30, 40): distance exactly 50.
        wf.register_projectile({.node_instance_id = s.root, .type = 0, .velocity = {30, 40}, .fire_length = c.fire_length,
                                 .check_distance = c.check_distance, .save_pos = {100, 100}});
        int ended = 0;
        for (int f = 1; f <= 5 && ended == 0; ++f) {
            _physics_process(wf, h, 1.0);
            if (wf.projectiles()[0].hit_over) ended = f;
        }
        EXPECT_EQ(ended, c.frames_to_end) << c.fire_length << " " << c.check_distance;
    }
}

TEST_F(StraightTest, WithoutABodyOnlyTheRangeEndsIt) {
    const ProjectileScene s = host.add_projectile_scene({.body = false});
    const int32_t id = spawn({.type = 0, .velocity = {-6000, -6000}, .rotate_follow_velocity = true}, s, {0, 0});
    frames(30);
    EXPECT_TRUE(rec(id).active);
    EXPECT_LT(pos(s.root).x, -2000.0f);
    EXPECT_EQ(host.count(HostOp::set_rotation), 0u);
}

TEST_F(StraightTest, BodyFollowsTheVelocity) {
    const ProjectileScene s = host.add_projectile_scene();
    host.node(s.body).rotation = 1.0f;
    const int32_t id = spawn({.type = 0, .velocity = {0, 0}, .rotate_follow_velocity = true}, s, {10, 10});
    frame();
    EXPECT_EQ(rotation(s.body), 0.0f);
    w.set<&ProjectileState::velocity>(id, {-3.0f, 4.0f});
    frame();
    EXPECT_EQ(rotation(s.body), std::atan2(4.0f, -3.0f));

    // Without the flag the body keeps whatever the game gave it.
    const ProjectileScene t = host.add_projectile_scene();
    host.node(t.body).rotation = 1.0f;
    spawn({.type = 0, .velocity = {5, 5}}, t, {10, 10});
    frame();
    EXPECT_EQ(rotation(t.body), 1.0f);
}

}  // namespace
}  // namespace warfield::test
