// Lob and arc projectiles: height under gravity, when the hit area is armed,
// and how each lands.
#include <cmath>
#include <limits>
#include <vector>

#include "sim_fixture.h"
#include "simulation/physics_frame.h"

namespace warfield::test {
namespace {

using M = ScriptMethod;

// The height model as the game expects it, kept apart from the core's code.
struct Height {
    float z;
    float y_speed;
    float gravity;  // gravity_scale_val * gravity_val

    void fall(float d) {
        y_speed = gravity * d + y_speed;
        z = z - y_speed * d;
    }
    bool down_and_falling(float ground) const { return ground >= z && y_speed >= 0.0f; }
};

class LobArcTest : public SimTest {};

TEST_F(LobArcTest, LobOnTheGroundMovesOnceAndLandsWithoutArming) {
    const ProjectileScene s = host.add_projectile_scene();
    const int32_t id =
        spawn({.type = 1, .velocity = {60, 30}, .ground_height = 5, .y_speed = 0, .z_val = 2}, s, {10, 10});
    frame();
    EXPECT_EQ(calls(s.root), std::vector<M>{M::land_from_extension});
    EXPECT_EQ(pos(s.root).x, narrow(kFrame) * 60.0f + 10.0f);
    EXPECT_EQ(pos(s.root).y, narrow(kFrame) * 30.0f + 10.0f);
    EXPECT_EQ(rec(id).z_val, 2.0f);  // not snapped
    EXPECT_TRUE(rec(id).hit_over);
    EXPECT_FALSE(rec(id).active);
}

TEST_F(LobArcTest, LobArmsOnTouchdownAndLandsOneFrameLater) {
    const ProjectileScene s = host.add_projectile_scene();
    const float d = narrow(kFrame);
    const int32_t id = spawn({.type = 1, .velocity = {90, 0}, .ground_height = 0, .y_speed = -400, .z_val = 0,
                              .gravity_val = 450, .gravity_scale_val = 2},
                             s, {0, 200});
    Height ref{0.0f, -400.0f, 2.0f * 450.0f};
    int touchdown = 0;
    float x = 0.0f;
    for (int f = 1; f <= 200 && touchdown == 0; ++f) {
        host.clear_log();
        frame();
        x = d * 90.0f + x;
        ref.fall(d);
        ASSERT_EQ(rec(id).z_val, ref.z) << f;
        ASSERT_EQ(rec(id).y_speed, ref.y_speed) << f;
        ASSERT_EQ(local(s.body).y, -ref.z) << f;
        ASSERT_EQ(pos(s.root).x, x) << f;
        float k = 1.0f - ref.z / 600.0f;
        if (!(k > 0.0f)) k = 0.0f;
        ASSERT_EQ(host.node(s.shadow).scale.x, k) << f;
        if (ref.down_and_falling(0.0f)) {
            touchdown = f;
            EXPECT_EQ(calls(s.root), std::vector<M>{M::enable_monitoring});
        } else {
            ASSERT_TRUE(calls(s.root).empty()) << f;
        }
    }
    ASSERT_GT(touchdown, 10);
    EXPECT_TRUE(rec(id).active);
    host.clear_log();
    frame();
    EXPECT_EQ(calls(s.root), std::vector<M>{M::land_from_extension});
    EXPECT_EQ(pos(s.root).x, d * 90.0f + x);  // moved once more
    EXPECT_EQ(rec(id).z_val, ref.z);           // below the ground, left there
    EXPECT_LT(rec(id).z_val, 0.0f);
    EXPECT_EQ(local(s.body).y, -ref.z);
}

TEST_F(LobArcTest, ShadowShrinksWithHeight) {
    struct Case {
        float z;
        float scale;
    };
    for (const Case c : {Case{0, 1.0f}, Case{300, 0.5f}, Case{600, 0.0f}, Case{900, 0.0f}, Case{-300, 1.5f}}) {
        FakeHost h;
        Warfield wf;
        const ProjectileScene s = h.add_projectile_scene();
        // No gravity and no vertical speed: the lob glides at its height.
        wf.register_projectile({.node_instance_id = s.root, .type = 1, .ground_height = -1000, .z_val = c.z});
        _physics_process(wf, h, kFrame);
        EXPECT_EQ(h.node(s.shadow).scale.x, c.scale) << c.z;
        EXPECT_EQ(h.node(s.shadow).scale.y, c.scale) << c.z;
    }
}

TEST_F(LobArcTest, GlidingForeverWithoutGravity) {
    const ProjectileScene lob = host.add_projectile_scene();
    const ProjectileScene arc = host.add_projectile_scene();
    const int32_t a = spawn({.type = 1, .velocity = {1, 0}, .ground_height = 0, .z_val = 50}, lob);
    const int32_t b = spawn({.type = 2, .velocity = {1, 0}, .ground_height = 0, .z_val = 50}, arc);
    frames(100);
    EXPECT_TRUE(rec(a).active);
    EXPECT_TRUE(rec(b).active);
    EXPECT_EQ(rec(a).z_val, 50.0f);
    EXPECT_TRUE(calls(lob.root).empty());
    EXPECT_EQ(calls(arc.root), std::vector<M>(100, M::disable_monitoring));
}

TEST_F(LobArcTest, LobBodyFollowsTheGroundVelocity) {
    const ProjectileScene s = host.add_projectile_scene();
    spawn({.type = 1, .velocity = {-2, 5}, .ground_height = -10, .z_val = 10, .rotate_follow_velocity = true}, s);
    frame();
    EXPECT_EQ(rotation(s.body), std::atan2(5.0f, -2.0f));
}

TEST_F(LobArcTest, ArcOnTheGroundLandsAtOnceSnappedAndUnmoved) {
    const ProjectileScene s = host.add_projectile_scene();
    const int32_t id =
        spawn({.type = 2, .velocity = {60, 0}, .ground_height = 4, .y_speed = 7, .z_val = -3}, s, {10, 10});
    frame();
    EXPECT_EQ(calls(s.root), std::vector<M>{M::land_from_extension});
    EXPECT_EQ(pos(s.root).x, 10.0f);
    EXPECT_EQ(rec(id).z_val, 4.0f);
    EXPECT_EQ(rec(id).y_speed, 0.0f);
    EXPECT_EQ(host.count(HostOp::set_global_position), 0u);
}

// Climb and high fall disarmed, armed below 60, then landing on the frame it
// gets down, snapped to the ground.
TEST_F(LobArcTest, ArcThrownUpwardArmsOnlyLowInItsFall) {
    const ProjectileScene s = host.add_projectile_scene();
    const float d = narrow(kFrame);
    const int32_t id = spawn({.type = 2, .velocity = {120, 0}, .ground_height = 10, .y_speed = -600, .z_val = 20,
                              .gravity_val = 1000, .gravity_scale_val = 1, .rotate_follow_velocity = true},
                             s, {0, 300});
    Height ref{20.0f, -600.0f, 1000.0f};
    int armed = 0, disarmed_falling = 0;
    bool landed = false;
    for (int f = 1; f <= 300 && !landed; ++f) {
        host.clear_log();
        const float x_before = pos(s.root).x;
        frame();
        if (ref.z > 10.0f || ref.y_speed < 0.0f) ref.fall(d);
        if (ref.down_and_falling(10.0f)) {
            landed = true;
            EXPECT_EQ(calls(s.root), std::vector<M>{M::land_from_extension});
            EXPECT_EQ(pos(s.root).x, x_before);
            EXPECT_EQ(rec(id).z_val, 10.0f);
            EXPECT_EQ(rec(id).y_speed, 0.0f);
            break;
        }
        ASSERT_EQ(rec(id).z_val, ref.z) << f;
        ASSERT_EQ(local(s.body).y, -ref.z) << f;
        ASSERT_EQ(rotation(s.body), std::atan2(ref.y_speed, 120.0f)) << f;
        const bool low = ref.y_speed > 0.0f && ref.z < 60.0f;
        ASSERT_EQ(calls(s.root), std::vector<M>{low ? M::enable_monitoring : M::disable_monitoring}) << f;
        armed += low ? 1 : 0;
        disarmed_falling += (!low && ref.y_speed > 0.0f) ? 1 : 0;
    }
    EXPECT_TRUE(landed);
    EXPECT_GT(armed, 0);
    EXPECT_GT(disarmed_falling, 0);
    // The shadow is the lob's alone.
    EXPECT_EQ(host.count(HostOp::set_scale), 0u);
}

TEST_F(LobArcTest, ArcOverHighGroundNeverArms) {
    const ProjectileScene s = host.add_projectile_scene();
    spawn({.type = 2, .ground_height = 60, .y_speed = -100, .z_val = 70, .gravity_val = 2000,
           .gravity_scale_val = 1},
          s);
    frames(60);
    EXPECT_EQ(host.script_call_count(s.root, M::enable_monitoring), 0u);
    EXPECT_EQ(host.script_call_count(s.root, M::land_from_extension), 1u);
}

TEST_F(LobArcTest, WithoutBodyOrShadowMotionAndCallsAreUnchanged) {
    for (int type : {1, 2}) {
        FakeHost full, bare;
        Warfield wf, wb;
        const ProjectileScene sf = full.add_projectile_scene();
        const ProjectileScene sb = bare.add_projectile_scene({.body = false, .shadow = false});
        const ProjectileDef a{.type = type, .velocity = {50, 0}, .ground_height = 0, .y_speed = -300,
                               .z_val = 0, .gravity_val = 900, .gravity_scale_val = 1,
                               .rotate_follow_velocity = true};
        ProjectileDef af = a, ab = a;
        af.node_instance_id = sf.root;
        ab.node_instance_id = sb.root;
        wf.register_projectile(af);
        wb.register_projectile(ab);
        for (int f = 0; f < 60; ++f) {
            _physics_process(wf, full, kFrame);
            _physics_process(wb, bare, kFrame);
        }
        EXPECT_EQ(full.script_calls(), bare.script_calls()) << type;
        EXPECT_EQ(full.global_position_of(sf.root).x, bare.global_position_of(sb.root).x);
        EXPECT_EQ(wf.projectiles()[0].z_val, wb.projectiles()[0].z_val);
        EXPECT_EQ(bare.count(HostOp::set_rotation) + bare.count(HostOp::set_position), 0u);
        EXPECT_TRUE(wb.projectiles()[0].hit_over);
    }
}

// The ground tests made before a fall (the lob's landing, the arc's choice
// to fall) count a NaN height or fall speed as down; the test after a fall
// counts it as neither down nor falling, so such a shot lands a frame later.
TEST_F(LobArcTest, NaNCountsAsDownOnlyInTheTestBeforeTheFall) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const ProjectileScene lob_nan = host.add_projectile_scene();
    const ProjectileScene arc_nan = host.add_projectile_scene();
    const ProjectileScene lob_falls = host.add_projectile_scene();
    const ProjectileScene arc_falls = host.add_projectile_scene();
    const int32_t ln = spawn({.type = 1, .velocity = {60, 0}, .ground_height = 5, .z_val = nan}, lob_nan, {10, 10});
    const int32_t an = spawn({.type = 2, .velocity = {60, 0}, .ground_height = 5, .z_val = nan}, arc_nan, {10, 10});
    const int32_t lf = spawn({.type = 1, .ground_height = 5, .y_speed = nan, .z_val = 100}, lob_falls);
    const int32_t af = spawn({.type = 2, .ground_height = 5, .y_speed = nan, .z_val = 100}, arc_falls);

    frame();
    // A NaN height lands at once: the lob moved and where it is, the arc
    // unmoved and snapped.
    EXPECT_EQ(calls(lob_nan.root), std::vector<M>{M::land_from_extension});
    EXPECT_EQ(pos(lob_nan.root).x, narrow(kFrame) * 60.0f + 10.0f);
    EXPECT_TRUE(std::isnan(rec(ln).z_val));
    EXPECT_EQ(calls(arc_nan.root), std::vector<M>{M::land_from_extension});
    EXPECT_EQ(pos(arc_nan.root).x, 10.0f);
    EXPECT_EQ(rec(an).z_val, 5.0f);
    EXPECT_EQ(rec(an).y_speed, 0.0f);
    // Fallen to a NaN height: neither armed nor landed.
    EXPECT_EQ(calls(lob_falls.root), std::vector<M>{});
    EXPECT_EQ(calls(arc_falls.root), std::vector<M>{M::disable_monitoring});
    EXPECT_TRUE(std::isnan(rec(lf).z_val));
    EXPECT_TRUE(std::isnan(rec(af).z_val));
    EXPECT_TRUE(rec(lf).active);
    EXPECT_TRUE(rec(af).active);

    host.clear_log();
    frame();
    EXPECT_EQ(calls(lob_falls.root), std::vector<M>{M::land_from_extension});
    EXPECT_TRUE(std::isnan(rec(lf).z_val));
    EXPECT_EQ(calls(arc_falls.root), std::vector<M>{M::land_from_extension});
    EXPECT_EQ(rec(af).z_val, 5.0f);
}

}  // namespace
}  // namespace warfield::test
