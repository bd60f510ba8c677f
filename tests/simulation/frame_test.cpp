// The engine callbacks and the loop itself: editor, play area, node lookup,
// sprite spin, dispatch of unknown kinds and the write-back.
#include <cmath>
#include <limits>

#include "sim_fixture.h"
#include "simulation/physics_frame.h"
#include "inspect.h"

namespace warfield::test {
namespace {

using M = ScriptMethod;

class FrameTest : public SimTest {};

TEST_F(FrameTest, EditorLeavesEverythingAlone) {
    host.editor_hint = true;
    const ProjectileScene s = host.add_projectile_scene();
    spawn({.type = 0, .velocity = {100, 0}}, s, {10, 10});
    ready();
    frames(3);
    EXPECT_EQ(w.frame().frame_count, 0u);
    EXPECT_EQ(w.frame().visible_rect.size.x, 0.0f);
    EXPECT_EQ(pos(s.root).x, 10.0f);
    EXPECT_TRUE(calls(0).empty());
    EXPECT_EQ(host.total_calls(), host.count(HostOp::is_editor_hint));
}

TEST_F(FrameTest, ReadyWidensOnlyLeftAndRight) {
    ready();
    const Rect2 r = w.frame().visible_rect;
    EXPECT_EQ(r.position.x, -100.0f);
    EXPECT_EQ(r.position.y, 0.0f);
    EXPECT_EQ(r.size.x, 1480.0f);
    EXPECT_EQ(r.size.y, 720.0f);

    // The viewport's own x is dropped, not offset.
    host.viewport_rect = {{50, 10}, {1280, 720}};
    ready();
    EXPECT_EQ(w.frame().visible_rect.position.x, -100.0f);
    EXPECT_EQ(w.frame().visible_rect.position.y, 10.0f);
    EXPECT_EQ(w.frame().visible_rect.size.x, 1480.0f);
    EXPECT_EQ(w.frame().visible_rect.size.y, 720.0f);
}

TEST_F(FrameTest, NoViewportKeepsTheLastRect) {
    host.has_viewport = false;
    ready();
    EXPECT_EQ(w.frame().visible_rect.size.x, 0.0f);
    EXPECT_EQ(host.count(HostOp::get_visible_rect), 0u);

    host.has_viewport = true;
    ready();
    host.has_viewport = false;
    host.viewport_rect = {{0, 0}, {10, 10}};
    ready();
    EXPECT_EQ(w.frame().visible_rect.size.x, 1480.0f);
}

TEST_F(FrameTest, EmptyPoolCountsFramesAndRebuildsADirtyIndex) {
    frames(2);
    EXPECT_EQ(w.frame().frame_count, 2u);
    w.register_target({77, 1, 3, 1, 1, false, false, false, false, false, 0, 0, 0, false, false, false, false,
                      true, true, false});
    EXPECT_TRUE(test::Inspect::target_index_dirty(w));
    frame();
    EXPECT_FALSE(test::Inspect::target_index_dirty(w));
    EXPECT_EQ(w.frame().frame_count, 3u);
    EXPECT_EQ(host.total_calls(), 3u);  // one editor test per frame, nothing else
}

TEST_F(FrameTest, RebuildSeesTargetsRegisteredDuringTheStep) {
    const ProjectileScene s = host.add_projectile_scene({.body = false});
    spawn({.type = 0}, s);
    host.on(s.root, M::check_shooter_height, [&] {
        w.register_target({99, 2, 4, 1, 1, false, false, false, false, false, 0, 0, 0, false, false, false, false,
                          true, true, false});
    });
    frame();
    EXPECT_FALSE(test::Inspect::target_index_dirty(w));
    const SlotList* row = w.target_index().targets_by_grid_y.find(4);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->size(), 1u);
}

// Each way a root can fail to resolve: the record goes quiet, nothing more.
TEST_F(FrameTest, NodeGoneDeactivatesSilently) {
    const ProjectileScene freed = host.add_projectile_scene();
    const uint64_t plain = host.add_node(/*node2d=*/false);
    const ProjectileScene outside = host.add_projectile_scene();
    host.set_in_tree(outside.root, false);

    const int32_t ids[] = {
        spawn({.type = 0}, freed),
        w.register_projectile({.node_instance_id = plain, .type = 1}),
        spawn({.type = 3}, outside),
        w.register_projectile({.node_instance_id = 424242, .type = 4}),
    };
    host.free_node(freed.root);
    for (uint64_t n : {freed.root, plain, outside.root}) {
        host.on(n, M::check_shooter_height, [] { ADD_FAILURE() << "called"; });
    }
    frame();
    for (int32_t id : ids) {
        EXPECT_FALSE(rec(id).active);
        EXPECT_FALSE(rec(id).hit_over);
    }
    EXPECT_TRUE(calls(0).empty());
    EXPECT_EQ(host.count(HostOp::set_global_position), 0u);
    EXPECT_EQ(w.get_active_projectile_count(), 0);
    // The slots stay taken until their scripts let go.
    EXPECT_TRUE(test::Inspect::free_list(w.projectiles()).empty());
    EXPECT_EQ(w.register_projectile({}), 4);
    // Quiet records are not looked up again.
    host.clear_log();
    frame();
    EXPECT_EQ(host.count(HostOp::object_from_instance_id), 1u);
}

TEST_F(FrameTest, SpriteSpinRules) {
    struct Case {
        bool follow;
        float scale;
        int32_t dir;
        bool spins;
    };
    const float d = narrow(kFrame);
    for (const Case c : {Case{false, 3.0f, 1, true}, Case{false, 3.0f, -1, true}, Case{false, 3.0f, 0, true},
                         Case{false, 0.0f, 1, false}, Case{false, -0.0f, 1, false}, Case{true, 3.0f, 1, false}}) {
        FakeHost h;
        Warfield wf;
        const ProjectileScene s = h.add_projectile_scene();
        h.node(s.sprite).rotation = 0.25f;
        wf.register_projectile({.node_instance_id = s.root, .type = 9, .fire_dir_x = c.dir, .rotate_follow_velocity = c.follow,
                                 .rotate_scale = c.scale});
        _physics_process(wf, h, kFrame);
        _physics_process(wf, h, kFrame);
        const float turn = (d * c.scale) * static_cast<float>(c.dir);
        EXPECT_EQ(h.count(HostOp::set_rotation), c.spins ? 2u : 0u);
        EXPECT_EQ(h.node(s.sprite).rotation, c.spins ? (0.25f + turn) + turn : 0.25f);
        EXPECT_TRUE(h.violations().empty());
    }
}

TEST_F(FrameTest, NanSpinStillSpinsAndMissingSpriteIsSkipped) {
    const ProjectileScene s = host.add_projectile_scene();
    spawn({.type = 9, .rotate_scale = std::numeric_limits<float>::quiet_NaN()}, s);
    const ProjectileScene bare = host.add_projectile_scene({.sprite = false});
    spawn({.type = 9, .rotate_scale = 2.0f}, bare);
    frame();
    EXPECT_TRUE(std::isnan(rotation(s.sprite)));
    EXPECT_EQ(rotation(bare.body), 0.0f);
    EXPECT_EQ(host.count(HostOp::set_rotation), 1u);
}

TEST_F(FrameTest, UnknownKindIsResolvedSpunAndWrittenBack) {
    const ProjectileScene s = host.add_projectile_scene({.body = false});
    spawn({.type = 5, .velocity = {100, 100}}, s, {3, 4});
    frame();
    const std::vector<HostOp> expected = {HostOp::object_from_instance_id, HostOp::cast_to_node2d,
                                          HostOp::is_inside_tree, HostOp::get_global_position,
                                          HostOp::set_global_position};
    ASSERT_EQ(host.log().size(), expected.size() + 1);
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(host.log()[i + 1].op, expected[i]) << i;
    EXPECT_EQ(pos(s.root).x, 3.0f);
    EXPECT_EQ(pos(s.root).y, 4.0f);
    frames(10);
    EXPECT_TRUE(rec(0).active);
    EXPECT_EQ(pos(s.root).x, 3.0f);
}

TEST_F(FrameTest, FinishedRecordsAndFlagsAreNotStepped) {
    const ProjectileScene a = host.add_projectile_scene();
    const ProjectileScene b = host.add_projectile_scene();
    const int32_t ia = spawn({.type = 9}, a);
    const int32_t ib = spawn({.type = 9}, b);
    w.set<&ProjectileState::hit_over>(ia, true);
    w.set<&ProjectileState::hit_over>(ia, false);  // does not revive
    w.unregister_projectile(ib);
    frame();
    EXPECT_EQ(host.count(HostOp::object_from_instance_id), 0u);
}

// Non-finite values are stored and computed as given; every kind still
// finishes each frame.
TEST_F(FrameTest, NonFiniteValuesFlowThroughEveryKind) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    ready();
    const uint64_t target = host.add_node();
    host.place(target, {nan, inf});
    for (int type = 0; type <= 5; ++type) {
        for (float v : {nan, inf, -inf, 3e38f}) {
            const ProjectileScene s = host.add_projectile_scene();
            host.node(s.body).rotation = v;
            spawn({.type = type, .velocity = {v, v}, .speed = v, .fire_length = v, .check_distance = v,
                   .save_pos = {v, v}, .ground_height = v, .fire_dir_x = -1, .y_speed = v, .z_val = v,
                   .gravity_val = v, .gravity_scale_val = v, .target_instance_id = target, .rotate_scale = v},
                  s, {v, v});
        }
    }
    for (double delta : {kFrame, 1e300, -1e300, std::numeric_limits<double>::quiet_NaN(), 0.0}) frames(3, delta);
    EXPECT_EQ(w.frame().frame_count, 15u);
}

}  // namespace
}  // namespace warfield::test
