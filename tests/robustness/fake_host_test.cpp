// The fake scene host every core test, the fuzzer and the benchmarks run
// against must itself follow the engine's rules and notice misuse, or their
// clean runs prove nothing.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include <stdexcept>

#include "fake_host.h"
#include "scene_edits.h"

namespace warfield {
namespace {

using test::FakeHost;
using test::HostOp;
using test::ProjectileScene;

constexpr ChildPath kBody = ChildPath::projectile_body;
constexpr ChildPath kSprite = ChildPath::projectile_sprite;

TEST(FakeHost, ReportsTouchesOfFreedNodesForeignHandlesAndOtherClasses) {
    FakeHost host;
    const ProjectileScene s = host.add_projectile_scene();
    const uint64_t plain = host.add_node(/*node2d=*/false);
    ObjectHandle body = host.object_from_instance_id(s.body);
    host.free_node(s.root);
    EXPECT_FALSE(host.exists(s.body)) << "freeing a node frees what is below it";
    EXPECT_EQ(host.object_from_instance_id(s.root), nullptr);
    EXPECT_TRUE(host.violations().empty());
    host.set_position(body, {1, 1});
    ASSERT_EQ(host.violations().size(), 1u);
    EXPECT_NE(host.first_violation().find("freed"), std::string::npos) << host.first_violation();
    int stranger = 0;
    host.get_instance_id(&stranger);
    EXPECT_EQ(host.cast_to_node2d(host.object_from_instance_id(plain)), nullptr);
    host.get_global_position(host.object_from_instance_id(plain));
    EXPECT_EQ(host.violations().size(), 3u);
}

TEST(FakeHost, ChildPathsFollowNamesAndTheSpriteHangsOnTheBody) {
    FakeHost host;
    const ProjectileScene s = host.add_projectile_scene();
    ObjectHandle root = host.object_from_instance_id(s.root);
    EXPECT_EQ(host.get_node_or_null(root, kSprite), &host.node(s.sprite));
    // A sprite straight below the root is not at the sprite's path.
    host.add_child(s.root, "ProjectileSprite");
    host.rename(s.body, "Elsewhere");
    EXPECT_EQ(host.get_node_or_null(root, kBody), nullptr);
    EXPECT_EQ(host.get_node_or_null(root, kSprite), nullptr);
    host.rename(s.body, "ProjectileBodyNode");
    EXPECT_EQ(host.get_node_or_null(root, kSprite), &host.node(s.sprite));
    // A second child of a sibling's name is numbered, as the engine does.
    const uint64_t twin = host.add_child(s.root, "HitBox");
    EXPECT_EQ(host.name(host.node(twin)), "HitBox2");
    EXPECT_EQ(host.node(twin).tag, ChildPath::count);
    EXPECT_THROW(host.reparent(s.root, s.sprite), std::invalid_argument);
    EXPECT_TRUE(host.violations().empty());
}

TEST(FakeHost, AChildIsInTheTreeExactlyWhenItsTopmostAncestorIs) {
    FakeHost host;
    const ProjectileScene a = host.add_projectile_scene();
    const ProjectileScene b = host.add_projectile_scene();
    ObjectHandle sprite = &host.node(a.sprite);
    host.set_in_tree(a.root, false);
    EXPECT_FALSE(host.is_inside_tree(sprite));
    host.set_in_tree(a.root, true);
    EXPECT_TRUE(host.is_inside_tree(sprite));
    host.reparent(a.body, 0);
    EXPECT_FALSE(host.is_inside_tree(sprite));
    host.reparent(a.body, b.root);  // b has a body already: this one is numbered
    EXPECT_TRUE(host.is_inside_tree(sprite));
    EXPECT_EQ(host.get_node_or_null(&host.node(b.root), kSprite), &host.node(b.sprite));
}

// The tree reports as the engine's SceneTree signals do: node_removed for
// every node of a subtree leaving the tree, children before their parent,
// last child first; node_renamed for a rename inside the tree.
TEST(FakeHost, TellsWatchersOfNodesLeavingTheTreeOrRenamedInIt) {
    struct Heard final : TreeWatcher {
        std::vector<uint64_t> ids;
        void node_changed(uint64_t id) override { ids.push_back(id); }
        void tree_gone() override {}
    } heard;
    FakeHost host;
    const ProjectileScene a = host.add_projectile_scene();
    const ProjectileScene b = host.add_projectile_scene();
    ASSERT_TRUE(host.watch_tree(heard));
    const auto take = [&] { return std::exchange(heard.ids, {}); };
    using Ids = std::vector<uint64_t>;

    host.rename(a.sprite, "Other");
    EXPECT_EQ(take(), Ids{a.sprite});
    host.reparent(a.body, b.root);  // leaves, then enters elsewhere (entering is not reported)
    EXPECT_EQ(take(), (Ids{a.sprite, a.body}));
    host.free_node(b.root);
    EXPECT_EQ(take(), (Ids{a.sprite, a.body, b.hit_box, b.shadow, b.sprite, b.body, b.root}));
    host.set_in_tree(a.root, false);
    EXPECT_EQ(take(), (Ids{a.hit_box, a.shadow, a.root}));
    // Outside the tree nothing is reported: no rename, no leaving, no freeing.
    host.rename(a.shadow, "Renamed");
    host.free_node(a.hit_box);
    host.set_in_tree(a.root, true);
    EXPECT_EQ(take(), Ids{});

    host.block_tree_signals(true);
    host.free_node(a.shadow);
    host.block_tree_signals(false);
    host.unwatch_tree(heard);
    host.free_node(a.root);
    EXPECT_EQ(take(), Ids{});
    host.can_watch = false;
    EXPECT_FALSE(host.watch_tree(heard));
}

TEST(FakeHost, WritesOutsideTheAllowedSubtreesAreReportedWhileFenced) {
    FakeHost host;
    const ProjectileScene s = host.add_projectile_scene();
    const uint64_t other = host.add_node();
    host.fence_writes(true);
    host.allow_writes_below(s.root);
    host.set_rotation(&host.node(s.sprite), 1.0f);
    EXPECT_TRUE(host.violations().empty());
    host.set_position(&host.node(other), {1, 2});
    EXPECT_EQ(host.violations().size(), 1u);
    EXPECT_EQ(host.node(other).position.x, 0.0f) << "a refused write changes nothing";
    host.get_global_position(&host.node(other));  // reading is always allowed
    EXPECT_EQ(host.violations().size(), 1u);
}

TEST(FakeHost, IdsSurviveInFullAndChosenIdsAreFound) {
    FakeHost engine({.engine_ids = true});
    uint64_t third = 0;
    for (int i = 0; i < 3; ++i) third = engine.add_node();
    EXPECT_EQ(third, 0x102u | uint64_t{1} << 63);
    EXPECT_NE(engine.object_from_instance_id(third), nullptr);
    EXPECT_EQ(engine.object_from_instance_id(0x102), nullptr);
    EXPECT_EQ(engine.object_from_instance_id(0), nullptr);

    FakeHost host;
    host.add_node_with_id(1000);
    EXPECT_EQ(host.add_node(), 2u) << "ids count on past the nodes made";
    EXPECT_NE(host.object_from_instance_id(1000), nullptr);
    EXPECT_THROW(host.add_node_with_id(2), std::invalid_argument);
    EXPECT_THROW(host.node(5), std::out_of_range);
}

TEST(FakeHost, ScriptsRunTheNodesOwnMethodThenTheCatchAllThenTheFixedAnswer) {
    FakeHost host;
    const uint64_t a = host.add_node();
    const uint64_t b = host.add_node();
    constexpr ScriptMethod kAsk = ScriptMethod::has_metallic_armor;
    host.answer(a, kAsk, true);
    host.answer(b, kAsk, true);
    EXPECT_TRUE(host.call_bool(&host.node(a), kAsk));
    // A method that frees its own node and replaces itself runs to its end.
    host.on_bool(a, kAsk, [&] {
        host.free_node(a);
        host.on(a, kAsk, [] {});
        return true;
    });
    EXPECT_TRUE(host.call_bool(&host.node(a), kAsk));
    host.on_any([](FakeHost::Node&, ScriptMethod) { return false; });
    EXPECT_FALSE(host.call_bool(&host.node(b), kAsk));
    EXPECT_EQ(host.called_nodes(kAsk), (std::vector<uint64_t>{a, a, b}));
    EXPECT_TRUE(host.violations().empty());
}

TEST(FakeHost, BareAnswersAsObservedButRecordsNothing) {
    FakeHost host;
    const ProjectileScene s = host.add_projectile_scene();
    host.place(s.root, {10, 20});
    host.node(s.body).position = {1, 2};
    const auto sample = [&] {
        ObjectHandle root = host.object_from_instance_id(s.root);
        ObjectHandle body = host.get_node_or_null(root, kBody);
        host.set_global_position(body, {5, 5});
        return std::vector<float>{host.get_global_position(body).x, host.get_position(body).y,
                                  host.is_inside_tree(body) ? 1.0f : 0.0f};
    };
    const std::vector<float> observed = sample();
    host.clear_log();
    host.set_observed(false);
    EXPECT_EQ(sample(), observed);
    EXPECT_EQ(host.total_calls(), 0u);
    EXPECT_TRUE(host.log().empty());
    EXPECT_TRUE(host.moved_under_offset_parent());
}

TEST(FuzzSceneEdits, MoveReplaceAndDetachChildrenAsTheEngineWould) {
    FakeHost host({.engine_ids = true});
    fuzz::SceneNode& a = *fuzz::spawn(host, true, true, 0x0F, 0);
    fuzz::SceneNode& b = *fuzz::spawn(host, true, true, 0x0D, 0);  // no sprite
    const fuzz::SceneNode* sprite = host.child_at(a, kSprite);
    fuzz::reparent_child(host, a, kBody, b);  // b's body is in the way
    EXPECT_EQ(host.child_at(a, kSprite), sprite);
    fuzz::reparent_child(host, a, kSprite, b);
    EXPECT_EQ(host.child_at(b, kSprite), sprite);
    EXPECT_EQ(host.child_at(a, kSprite), nullptr);
    const uint64_t old_box = host.child_at(a, ChildPath::hit_box)->id;
    fuzz::replace_child(host, a, ChildPath::hit_box);
    EXPECT_FALSE(host.exists(old_box));
    EXPECT_NE(host.child_at(a, ChildPath::hit_box)->id, old_box);
    fuzz::SceneNode& shadow = *host.child_at(b, ChildPath::shadow_sprite);
    fuzz::set_in_tree(host, shadow, false);
    EXPECT_EQ(host.child_at(b, ChildPath::shadow_sprite), nullptr);
    EXPECT_FALSE(host.in_tree(shadow));
    EXPECT_TRUE(host.in_tree(*host.child_at(b, ChildPath::hit_box)));
}

}  // namespace
}  // namespace warfield
