// The library hearing of changes to the scene tree: one custom callable per
// Warfield node, connected to the tree's node_removed and node_renamed,
// which goes (and is freed once) with the node; and a change it hears of
// makes it find a projectile's nodes again, while a quiet tree does not.
#include "stand_in/callable.h"
#include "support.h"

namespace boundary {
namespace {

class TreeSignals : public BoundaryTest {
protected:
    static size_t removed() { return stand_in::Engine::tree_connections("node_removed"); }
    static size_t renamed() { return stand_in::Engine::tree_connections("node_renamed"); }
    static uint64_t lookups() { return stand_in::bind_calls("Node", "get_node_or_null"); }
};

TEST_F(TreeSignals, EachWarfieldNodeConnectsOnceAndItsConnectionsGoWithIt) {
    Object* first = add_warfield();
    EXPECT_EQ(removed(), 1u);
    EXPECT_EQ(renamed(), 1u);
    EXPECT_EQ(stand_in::Engine::tree_connections("node_added"), 0u);
    Object* second = add_warfield();
    EXPECT_EQ(removed(), 2u);
    EXPECT_EQ(renamed(), 2u);
    EXPECT_EQ(stand_in::counters().of(stand_in::Fn::callable_custom_create2), 2u);

    // Leaving the tree and entering it again connects nothing more.
    engine->remove_child(engine->root(), static_cast<Node*>(first));
    engine->add_child(engine->root(), static_cast<Node*>(first));
    EXPECT_EQ(removed(), 2u);

    engine->free(first);
    EXPECT_EQ(removed(), 1u);
    EXPECT_EQ(renamed(), 1u);
    EXPECT_EQ(stand_in::counters().callable_frees, 1u);
    EXPECT_EQ(stand_in::live_custom_callables(), 1u);

    // Out of the tree but alive, the second node keeps its connections
    // until the tree itself goes at shutdown (TearDown checks nothing leaks).
    engine->remove_child(engine->root(), static_cast<Node*>(second));
    EXPECT_EQ(removed(), 1u);
}

TEST_F(TreeSignals, ARenameOrRemovalMakesTheLibraryFindTheNodesAgain) {
    Object* w = add_warfield();
    const ProjectileScene s = add_projectile_scene({100, 300});
    for (const char* m : {"check_shooter_height", "over_from_extension", "update_grid_pos"}) {
        engine->set_script_method(s.root, m, [](Object&) { return Variant(); });
    }
    ProjectileArgs p;
    p.node_instance_id = s.id();
    p.velocity = {10, 0};
    p.rotate_scale = 1.0;
    call_int(Path::dynamic, w, "register_projectile", p.values());
    frame();
    uint64_t before = lookups();
    frame();
    frame();
    EXPECT_EQ(lookups(), before) << "a quiet tree: what was found is kept";

    // The engine reports a rename even to the same name.
    engine->set_name(s.body, "ProjectileBodyNode");
    frame();
    EXPECT_GT(lookups(), before);
    before = lookups();
    frame();
    EXPECT_EQ(lookups(), before);

    // A script replaces the sprite: the new one is found and turned.
    engine->free(s.sprite);
    Node2D* sprite = add_node2d("ProjectileSprite", {}, s.body);
    frame(0.5);
    EXPECT_GT(lookups(), before);
    EXPECT_NEAR(sprite->rotation, 0.5f, 1e-6f);

    // Unheard while the tree is silent: nothing is looked up again.
    engine->block_tree_signals(true);
    engine->set_name(s.body, "ProjectileBodyNode");
    before = lookups();
    frame();
    EXPECT_EQ(lookups(), before);
    engine->block_tree_signals(false);
}

}  // namespace
}  // namespace boundary
