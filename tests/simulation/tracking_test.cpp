// Tracking projectiles: steering, the body's eased turn, the hit, losing the
// target and asking for a new one.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "sim_fixture.h"
#include "simulation/physics_frame.h"

namespace warfield::test {
namespace {

using M = ScriptMethod;

class TrackingTest : public SimTest {};

TEST_F(TrackingTest, WithoutTargetItCoastsAndAsksEveryThirtiethFrame) {
    const ProjectileScene s = host.add_projectile_scene();
    const int32_t id = spawn({.type = 3, .velocity = {12, -3}, .speed = 500}, s, {0, 0});
    for (uint64_t f = 1; f <= 91; ++f) {
        host.clear_log();
        frame();
        const std::vector<M> expected =
            f % 30 == 0 ? std::vector<M>{M::update_grid_pos, M::find_track_target} : std::vector<M>{};
        ASSERT_EQ(calls(s.root), expected) << f;
    }
    EXPECT_EQ(rec(id).velocity.x, 12.0f);
    EXPECT_EQ(rec(id).velocity.y, -3.0f);
    float x = 0.0f;
    for (int i = 0; i < 91; ++i) x = narrow(kFrame) * 12.0f + x;
    EXPECT_EQ(pos(s.root).x, x);
    // The id 0 is never looked up.
    EXPECT_EQ(host.count(HostOp::object_from_instance_id), 1u);
}

TEST_F(TrackingTest, SteersStraightAtTheTargetWithExactArithmetic) {
    const ProjectileScene s = host.add_projectile_scene();
    const uint64_t target = host.add_node();
    host.place(target, {400, 250});
    const float d = narrow(kFrame);
    const int32_t id = spawn({.type = 3, .speed = 180, .target_instance_id = target}, s, {10, 20});
    float px = 10, py = 20, rot = 0;
    for (int f = 1; f <= 40; ++f) {
        host.place(target, {400.0f - 2.0f * static_cast<float>(f), 250.0f});  // the target walks left
        const Vector2 tp = pos(target);
        frame();
        float dx = tp.x - px, dy = tp.y - py;
        const float l2 = dx * dx + dy * dy;
        if (l2 != 0.0f) {
            const float l = std::sqrt(l2);
            dx = dx / l;
            dy = dy / l;
        }
        float diff = std::atan2(dy, dx) - rot;
        while (static_cast<double>(diff) > std::numbers::pi) diff = static_cast<float>(diff - 2 * std::numbers::pi);
        while (static_cast<double>(diff) < -std::numbers::pi) diff = static_cast<float>(diff + 2 * std::numbers::pi);
        rot = rot + std::min(d * 5.0f, 1.0f) * diff;
        const Vector2 v{dx * 180.0f, dy * 180.0f};
        px = d * v.x + px;
        py = d * v.y + py;
        ASSERT_EQ(rec(id).velocity.x, v.x) << f;
        ASSERT_EQ(rec(id).velocity.y, v.y) << f;
        ASSERT_EQ(rotation(s.body), rot) << f;
        ASSERT_EQ(pos(s.root).x, px) << f;
        ASSERT_EQ(pos(s.root).y, py) << f;
    }
    EXPECT_TRUE(rec(id).active);
    EXPECT_EQ(host.script_call_count(s.root, M::update_grid_pos), 1u);  // frame 30
    EXPECT_EQ(host.script_call_count(s.root, M::find_track_target), 0u);
}

TEST_F(TrackingTest, HitIsStrictlyWithinThirtyAndNeitherMovesNorWritesBack) {
    struct Case {
        Vector2 target;
        bool hits;
    };
    for (const Case c : {Case{{130, 100}, false}, Case{{118, 118}, true}, Case{{100, 100}, true}}) {
        FakeHost h;
        Warfield wf;
        const ProjectileScene s = h.add_projectile_scene();
        const uint64_t t = h.add_node();
        h.place(t, c.target);
        h.place(s.root, {100, 100});
        wf.register_projectile({.node_instance_id = s.root, .type = 3, .velocity = {5, 5}, .speed = 300, .target_instance_id = t});
        _ready(wf, h);
        _physics_process(wf, h, kFrame);
        const ProjectileState& r = wf.projectiles()[0];
        EXPECT_EQ(r.hit_over, c.hits) << c.target.x;
        EXPECT_EQ(h.script_call_count(s.root, M::hit_target_from_extension), c.hits ? 1u : 0u);
        // The move; no write-back of the position it has just set.
        EXPECT_EQ(h.count(HostOp::set_global_position), c.hits ? 0u : 1u);
        if (c.hits) {
            EXPECT_EQ(h.global_position_of(s.root).x, 100.0f);
        }
        if (c.target.x == 100.0f) {  // right on it: no direction
            EXPECT_EQ(r.velocity.x, 0.0f);
            EXPECT_EQ(r.velocity.y, 0.0f);
        }
    }
}

TEST_F(TrackingTest, LosingTheTargetTellsTheScriptOnce) {
    const ProjectileScene s = host.add_projectile_scene();
    const uint64_t target = host.add_node();
    host.place(target, {1000, 0});
    const int32_t id = spawn({.type = 3, .speed = 60, .target_instance_id = target}, s, {0, 0});
    frames(28);
    const Vector2 v = rec(id).velocity;
    host.free_node(target);
    host.clear_log();
    frames(2);  // frames 29 and 30
    EXPECT_EQ(calls(s.root), (std::vector<M>{M::target_died_from_extension, M::update_grid_pos,
                                             M::find_track_target}));
    EXPECT_EQ(rec(id).target_instance_id, 0u);
    EXPECT_EQ(rec(id).velocity.x, v.x);
    EXPECT_EQ(rec(id).velocity.y, v.y);
    frames(40);
    EXPECT_EQ(host.script_call_count(s.root, M::target_died_from_extension), 1u);
}

TEST_F(TrackingTest, TargetsThatCannotBeFollowed) {
    // Out of the tree or not a Node2D counts as gone; an id that never
    // existed too.
    const uint64_t out = host.add_node();
    host.set_in_tree(out, false);
    const uint64_t plain = host.add_node(false);
    for (uint64_t t : {out, plain, uint64_t{987654}}) {
        const ProjectileScene s = host.add_projectile_scene();
        const int32_t id = spawn({.type = 3, .velocity = {1, 0}, .speed = 60, .target_instance_id = t}, s);
        frame();
        EXPECT_EQ(calls(s.root), std::vector<M>{M::target_died_from_extension}) << t;
        EXPECT_EQ(rec(id).target_instance_id, 0u);
        EXPECT_EQ(rec(id).velocity.x, 1.0f);
    }
}

TEST_F(TrackingTest, ANewTargetFromTheSearchIsFollowedNextFrame) {
    const ProjectileScene s = host.add_projectile_scene();
    const uint64_t target = host.add_node();
    host.place(target, {0, 500});
    const int32_t id = spawn({.type = 3, .velocity = {0, -10}, .speed = 100}, s, {0, 0});
    host.on(s.root, M::find_track_target, [&] { w.set<&ProjectileState::target_instance_id>(id, target); });
    frames(30);
    EXPECT_EQ(rec(id).velocity.y, -10.0f);  // the search came after the steering
    frame();
    EXPECT_EQ(rec(id).velocity.x, 0.0f);
    EXPECT_EQ(rec(id).velocity.y, 100.0f);
}

TEST_F(TrackingTest, StandingStillItStillTurnsAndHits) {
    const ProjectileScene s = host.add_projectile_scene();
    const uint64_t target = host.add_node();
    host.place(target, {0, 100});
    const int32_t id = spawn({.type = 3, .speed = 0, .target_instance_id = target}, s, {0, 0});
    frame(0.25);  // a turn factor of 1.25, capped at 1: the body snaps round
    EXPECT_EQ(pos(s.root).y, 0.0f);
    EXPECT_EQ(rotation(s.body), std::atan2(1.0f, 0.0f));
    host.place(target, {0, 29});
    frame();
    EXPECT_TRUE(rec(id).hit_over);
}

TEST_F(TrackingTest, BodyTurnsThroughTheSmallerAngle) {
    const ProjectileScene s = host.add_projectile_scene();
    const uint64_t target = host.add_node();
    host.place(target, {500, 0});
    const float start = static_cast<float>(3.0 * std::numbers::pi / 2.0);
    host.node(s.body).rotation = start;
    spawn({.type = 3, .speed = 10, .target_instance_id = target}, s, {0, 0});
    frame(0.1);
    // 0 - 3pi/2 wraps to pi/2; half of it is taken at delta 0.1.
    const float wrapped = static_cast<float>(static_cast<double>(0.0f - start) + 2.0 * std::numbers::pi);
    EXPECT_NEAR(wrapped, std::numbers::pi / 2.0, 1e-6);
    EXPECT_EQ(rotation(s.body), start + std::min(narrow(0.1) * 5.0f, 1.0f) * wrapped);
}

TEST_F(TrackingTest, WithoutABodySteeringAndHitsAreUnchanged) {
    const ProjectileScene s = host.add_projectile_scene({.body = false});
    const uint64_t target = host.add_node();
    host.place(target, {300, 0});
    const int32_t id = spawn({.type = 3, .speed = 600, .target_instance_id = target}, s, {0, 0});
    frames(60);
    EXPECT_TRUE(rec(id).hit_over);
    EXPECT_EQ(host.count(HostOp::set_rotation), 0u);
    EXPECT_EQ(host.script_call_count(s.root, M::hit_target_from_extension), 1u);
}

TEST_F(TrackingTest, HugeOrNonFiniteBodyRotationsStillFinishTheFrame) {
    for (float r : {1e30f, -3e38f, INFINITY, NAN, 1.0e8f}) {
        FakeHost h;
        Warfield wf;
        const ProjectileScene s = h.add_projectile_scene();
        const uint64_t t = h.add_node();
        h.place(t, {100, 100});
        h.node(s.body).rotation = r;
        h.place(s.root, {0, 0});
        wf.register_projectile({.node_instance_id = s.root, .type = 3, .speed = 60, .target_instance_id = t});
        _physics_process(wf, h, kFrame);
        EXPECT_EQ(h.count(HostOp::set_rotation), 1u) << r;
        if (std::isfinite(r)) {
            EXPECT_TRUE(std::isfinite(h.node(s.body).rotation)) << r;
        }
    }
}

}  // namespace
}  // namespace warfield::test
