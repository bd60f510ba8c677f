// NaN, infinities, denormals and huge values in every float a flight reads,
// with every odd frame time: each frame must end, touch only live nodes and
// leave the pools consistent. (A loop that waits for such a value to shrink
// would hang here; ctest's timeout turns that into a failure.)
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "fake_host.h"
#include "ops.h"
#include "server/warfield.h"
#include "simulation/physics_frame.h"

namespace warfield {
namespace {

using fuzz::kDeltas;
using fuzz::kFloats;
using test::FakeHost;

TEST(NonFinite, EveryKindEveryValueEveryDeltaTerminates) {
    for (int32_t type = 0; type <= 5; ++type) {
        for (float v : kFloats) {
            for (double delta : kDeltas) {
                Warfield w;
                FakeHost scene{{.engine_ids = true}};
                scene.viewport_rect = {{v, v}, {v, 720.0f}};
                _ready(w, scene);
                const test::ProjectileScene s = scene.add_projectile_scene();
                const uint64_t target = scene.add_node();
                scene.node(s.root).position = {v, 1.0f};
                scene.node(s.body).rotation = v;    // turned by tracking
                scene.node(s.sprite).rotation = v;  // spun every frame
                scene.node(target).position = {-v, v};
                ProjectileDef a;
                a.node_instance_id = s.root;
                a.type = type;
                a.velocity = {v, -v};
                a.speed = v;
                a.fire_length = v;
                a.check_distance = v;
                a.save_pos = {v, v};
                a.ground_height = v;
                a.y_speed = v;
                a.z_val = -v;
                a.gravity_val = v;
                a.gravity_scale_val = v;
                a.target_instance_id = target;
                a.rotate_scale = v;
                a.fire_dir_x = -1;
                a.rotate_follow_velocity = type % 2 == 0;
                const int32_t id = w.register_projectile(a);
                for (int f = 0; f < 3; ++f) _physics_process(w, scene, delta);
                ASSERT_EQ(scene.first_violation(), "") << "type " << type << " value " << v << " delta " << delta;
                ASSERT_FALSE(w.projectiles()[id].active && w.projectiles()[id].hit_over);
            }
        }
    }
}

// The body's turn toward the target wraps the angle difference into
// [-pi, pi]; from a rotation of any size that must take a bounded number of
// steps, and turn the body through at most half a circle.
TEST(NonFinite, TrackingTurnsFromAnyRotation) {
    const float rotations[] = {1e38f, -1e38f, 3.4e38f, -3.4e38f, 1e7f, -1e7f, 16777216.0f, 4.71238898f};
    for (float r : rotations) {
        Warfield w;
        FakeHost scene{{.engine_ids = true}};
        const test::ProjectileScene s = scene.add_projectile_scene();
        const uint64_t target = scene.add_node();
        scene.node(target).position = {500.0f, 0.0f};
        scene.node(s.body).rotation = r;
        ProjectileDef a;
        a.node_instance_id = s.root;
        a.type = 3;
        a.speed = 10.0f;
        a.target_instance_id = target;
        w.register_projectile(a);
        _physics_process(w, scene, 0.25);  // the full turn at once
        EXPECT_EQ(scene.first_violation(), "");
        const double turned = static_cast<double>(scene.node(s.body).rotation) - static_cast<double>(r);
        EXPECT_LE(std::fabs(turned), 3.1415927) << "from " << r;
    }
}

}  // namespace
}  // namespace warfield
