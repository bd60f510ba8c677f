// Catapult projectiles: fixed gravity, raised body and hit area, the hit
// window, landing first and the out-of-play end.
#include <cmath>
#include <limits>
#include <vector>

#include "sim_fixture.h"

namespace warfield::test {
namespace {

using M = ScriptMethod;

class CatapultTest : public SimTest {
protected:
    void SetUp() override { ready(); }
};

TEST_F(CatapultTest, OnTheGroundItMovesOnceArmsAndLands) {
    const ProjectileScene s = host.add_projectile_scene();
    const int32_t id = spawn({.type = 4, .velocity = {60, 0}, .ground_height = 0, .z_val = 0}, s, {100, 400});
    bool armed_while_flying = false;
    host.on(s.root, M::enable_monitoring, [&] { armed_while_flying = rec(id).active; });
    frame();
    EXPECT_EQ(calls(s.root), (std::vector<M>{M::enable_monitoring, M::land_from_extension}));
    EXPECT_TRUE(armed_while_flying);
    EXPECT_EQ(pos(s.root).x, narrow(kFrame) * 60.0f + 100.0f);
    EXPECT_EQ(rec(id).z_val, 0.0f);
    EXPECT_EQ(rec(id).y_speed, 0.0f);
    // The children were raised to the height before the snap.
    const float ys = narrow(kFrame) * 2000.0f;
    EXPECT_EQ(local(s.body).y, -(0.0f - ys * narrow(kFrame)));
    EXPECT_EQ(local(s.hit_box).y, local(s.body).y);
}

TEST_F(CatapultTest, ZeroSpeedOnTheGroundLandsWithoutArming) {
    const ProjectileScene s = host.add_projectile_scene();
    const float d = narrow(kFrame);
    spawn({.type = 4, .ground_height = 3, .y_speed = -(d * 2000.0f), .z_val = 3}, s, {100, 400});
    frame();
    EXPECT_EQ(calls(s.root), std::vector<M>{M::land_from_extension});
}

TEST_F(CatapultTest, FullThrowWithExactHeightsAndTheHitWindow) {
    const ProjectileScene s = host.add_projectile_scene();
    const float d = narrow(kFrame);
    const int32_t id = spawn({.type = 4, .velocity = {150, 0}, .ground_height = 20, .y_speed = -900, .z_val = 20,
                              .rotate_follow_velocity = true},
                             s, {0, 600});
    float z = 20, ys = -900, x = 0;
    bool landed = false;
    int window = 0;
    for (int f = 1; f <= 200 && !landed; ++f) {
        host.clear_log();
        const float rot_before = rotation(s.body);
        frame();
        ys = d * 2000.0f + ys;
        z = z - ys * d;
        x = d * 150.0f + x;
        ASSERT_EQ(pos(s.root).x, x) << f;
        ASSERT_EQ(local(s.body).y, -z) << f;
        ASSERT_EQ(local(s.hit_box).y, -z) << f;
        float k = 1.0f - z / 600.0f;
        if (!(k > 0.0f)) k = 0.0f;
        ASSERT_EQ(host.node(s.shadow).scale.x, k) << f;
        const float up = -ys;
        if (std::sqrt(150.0f * 150.0f + up * up) > 0.1f) {
            ASSERT_EQ(rotation(s.body), std::atan2(up, 150.0f)) << f;
        } else {
            ASSERT_EQ(rotation(s.body), rot_before) << f;
        }
        std::vector<M> expected;
        if (ys > 0.0f && z - 20.0f < 100.0f) {
            expected.push_back(M::enable_monitoring);
            ++window;
        }
        if (20.0f >= z && ys >= 0.0f) {
            expected.push_back(M::land_from_extension);
            landed = true;
        }
        ASSERT_EQ(calls(s.root), expected) << f;
        if (!landed) {
            ASSERT_EQ(rec(id).z_val, z) << f;
            ASSERT_EQ(rec(id).y_speed, ys) << f;
        }
    }
    EXPECT_TRUE(landed);
    EXPECT_GT(window, 2);
    EXPECT_EQ(rec(id).z_val, 20.0f);
    EXPECT_EQ(host.script_call_count(s.root, M::disable_monitoring), 0u);
}

TEST_F(CatapultTest, LandingIsTestedBeforeThePlayArea) {
    const ProjectileScene s = host.add_projectile_scene();
    spawn({.type = 4, .ground_height = 0, .z_val = 0}, s, {5000, 400});
    frame();
    EXPECT_EQ(calls(s.root), (std::vector<M>{M::enable_monitoring, M::land_from_extension}));
}

TEST_F(CatapultTest, BodyRisingAboveTheTopEndsAtOnce) {
    const ProjectileScene s = host.add_projectile_scene();
    const int32_t id = spawn({.type = 4, .ground_height = 0, .y_speed = -1000, .z_val = 45}, s, {500, 50});
    frame();
    EXPECT_LT(pos(s.body).y, 0.0f);
    EXPECT_EQ(calls(s.root), std::vector<M>{M::over_from_extension});
    EXPECT_TRUE(rec(id).hit_over);
    EXPECT_FALSE(rec(id).active);
}

TEST_F(CatapultTest, MissingChildrenSkipOnlyTheirPart) {
    // No body: no lift, no turn, no out-of-play end; it still lands.
    const ProjectileScene bare = host.add_projectile_scene({.body = false});
    const int32_t a = spawn({.type = 4, .velocity = {9000, 0}, .ground_height = 0, .y_speed = -300, .z_val = 0,
                             .rotate_follow_velocity = true},
                            bare, {500, 50});
    frames(40);
    EXPECT_EQ(host.script_call_count(bare.root, M::over_from_extension), 0u);
    EXPECT_EQ(host.script_call_count(bare.root, M::land_from_extension), 1u);
    EXPECT_FALSE(rec(a).active);
    EXPECT_EQ(host.count(HostOp::set_rotation), 0u);

    // No hit box and no shadow: the body is still raised.
    const ProjectileScene body_only = host.add_projectile_scene({.shadow = false, .hit_box = false});
    spawn({.type = 4, .ground_height = 0, .y_speed = -300, .z_val = 10}, body_only, {500, 400});
    host.clear_log();
    frame();
    EXPECT_LT(local(body_only.body).y, -10.0f);
    EXPECT_EQ(host.count(HostOp::set_scale), 0u);
}

TEST_F(CatapultTest, TurnsWithMinusYSpeedAndHoldsAtTheTop) {
    const ProjectileScene s = host.add_projectile_scene();
    host.node(s.body).rotation = 0.5f;
    const float d = narrow(kFrame);
    // Rising to the right turns to a positive angle.
    spawn({.type = 4, .velocity = {100, 0}, .ground_height = 0, .y_speed = -500, .z_val = 300,
           .rotate_follow_velocity = true},
          s, {200, 400});
    frame();
    EXPECT_GT(rotation(s.body), 0.0f);
    EXPECT_EQ(rotation(s.body), std::atan2(-(d * 2000.0f - 500.0f), 100.0f));

    // Straight up and at the top: the vector is too short and the body keeps
    // its rotation.
    const ProjectileScene top = host.add_projectile_scene();
    host.node(top.body).rotation = 0.5f;
    spawn({.type = 4, .velocity = {0, 0}, .ground_height = 0, .y_speed = -(d * 2000.0f) + 0.05f, .z_val = 300,
           .rotate_follow_velocity = true},
          top, {200, 400});
    frame();
    EXPECT_EQ(rotation(top.body), 0.5f);
}

// A NaN height is never down, so the throw never lands. A body raised to it
// stands outside the play area, which ends the throw; without a body it
// flies on.
TEST_F(CatapultTest, NaNHeightNeverLands) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const ProjectileScene with_body = host.add_projectile_scene();
    const ProjectileScene bare = host.add_projectile_scene({.body = false});
    spawn({.type = 4, .velocity = {60, 0}, .z_val = nan}, with_body, {100, 400});
    const int32_t b = spawn({.type = 4, .velocity = {60, 0}, .z_val = nan}, bare, {100, 400});
    frames(3);
    EXPECT_EQ(calls(with_body.root), std::vector<M>{M::over_from_extension});
    EXPECT_EQ(calls(bare.root), std::vector<M>{});
    EXPECT_TRUE(rec(b).active);
    float x = 100.0f;
    for (int f = 0; f < 3; ++f) x = narrow(kFrame) * 60.0f + x;
    EXPECT_EQ(pos(bare.root).x, x);
}

}  // namespace
}  // namespace warfield::test
