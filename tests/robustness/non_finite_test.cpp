// NaN, infinities, denormals and huge values in every float a flight reads,
// with every odd frame time: each frame must end, touch only live nodes and
// leave the pools consistent. (A loop that waits for such a value to shrink
// would hang here; ctest's timeout turns that into a failure.)
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "fuzz_scene.h"
#include "ops.h"
#include "projectile_args.h"
#include "server/warfield.h"

namespace warfield {
namespace {

using fuzz::kDeltas;
using fuzz::kFloats;

TEST(NonFinite, EveryKindEveryValueEveryDeltaTerminates) {
    for (int32_t type = 0; type <= 5; ++type) {
        for (float v : kFloats) {
            for (double delta : kDeltas) {
                Warfield w;
                fuzz::FuzzScene scene;
                scene.set_viewport(true, {{v, v}, {v, 720.0f}});
                w._ready(scene);
                fuzz::SceneNode* root = scene.spawn(true, true, 0x0F, 0);
                fuzz::SceneNode* target = scene.spawn(true, true, 0, 0);
                root->position = {v, 1.0f};
                root->children[0]->rotation = v;  // the body, turned by tracking
                root->children[1]->rotation = v;  // the sprite, spun every frame
                target->position = {-v, v};
                test::ProjectileArgs a;
                a.node = root->instance_id;
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
                a.target = target->instance_id;
                a.rotate_scale = v;
                a.fire_dir_x = -1;
                a.rotate_follow_velocity = type % 2 == 0;
                const int32_t id = test::register_projectile(w, a);
                for (int f = 0; f < 3; ++f) w._physics_process(scene, delta);
                ASSERT_EQ(scene.violation(), "") << "type " << type << " value " << v << " delta " << delta;
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
        fuzz::FuzzScene scene;
        fuzz::SceneNode* root = scene.spawn(true, true, 0x0F, 0);
        fuzz::SceneNode* target = scene.spawn(true, true, 0, 0);
        target->position = {500.0f, 0.0f};
        root->children[0]->rotation = r;
        test::ProjectileArgs a;
        a.node = root->instance_id;
        a.type = 3;
        a.speed = 10.0f;
        a.target = target->instance_id;
        test::register_projectile(w, a);
        w._physics_process(scene, 0.25);  // the full turn at once
        EXPECT_EQ(scene.violation(), "");
        const double turned = static_cast<double>(root->children[0]->rotation) - static_cast<double>(r);
        EXPECT_LE(std::fabs(turned), 3.1415927) << "from " << r;
    }
}

}  // namespace
}  // namespace warfield
