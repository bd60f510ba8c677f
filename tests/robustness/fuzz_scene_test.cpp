// The scene the fuzzer and the hostile-script tests run against must itself
// notice misuse, or their clean runs prove nothing.
#include <gtest/gtest.h>

#include "fuzz_scene.h"

namespace warfield {
namespace {

using fuzz::FuzzScene;

TEST(FuzzScene, ReportsAnyTouchOfAFreedNode) {
    FuzzScene scene;
    fuzz::SceneNode* root = scene.spawn(true, true, 0x0F, 0);
    fuzz::SceneNode* body = root->children[0];
    scene.free_node(*root);
    EXPECT_TRUE(body->freed) << "freeing a node frees what is below it";
    EXPECT_EQ(scene.object_from_instance_id(root->instance_id), nullptr);
    EXPECT_EQ(scene.violation(), "");
    scene.set_position(body, {1, 1});
    EXPECT_NE(scene.violation().find("freed"), std::string::npos) << scene.violation();
}

TEST(FuzzScene, ReportsNode2DCallsOnOtherObjects) {
    FuzzScene scene;
    fuzz::SceneNode* plain = scene.spawn(false, true, 0, 0);
    EXPECT_EQ(scene.cast_to_node2d(plain), nullptr);
    scene.get_global_position(plain);
    EXPECT_NE(scene.violation(), "");
}

TEST(FuzzScene, ChildPathsFollowTheTree) {
    FuzzScene scene;
    fuzz::SceneNode* root = scene.spawn(true, true, 0x0F, 0);
    EXPECT_EQ(scene.get_node_or_null(root, ChildPath::projectile_sprite), root->children[1]);
    scene.free_node(*root->children[0]);
    EXPECT_EQ(scene.get_node_or_null(root, ChildPath::projectile_body), nullptr);
    EXPECT_EQ(scene.get_node_or_null(root, ChildPath::projectile_sprite), nullptr) << "the sprite hangs on the body";
    EXPECT_NE(scene.get_node_or_null(root, ChildPath::hit_box), nullptr);
    EXPECT_EQ(scene.violation(), "");
}

}  // namespace
}  // namespace warfield
