// The four target queries end to end: registered through the C interface,
// answered as typed int Arrays, on both call paths; the metallic-armour scan
// with scripts that answer, lack the method, free nodes or register more.
#include "support.h"

namespace boundary {
namespace {

class Queries : public BoundaryTest, public ::testing::WithParamInterface<Path> {
protected:
    void SetUp() override {
        BoundaryTest::SetUp();
        w = add_warfield();
    }
    int64_t add(TargetArgs t) { return call_int(GetParam(), w, "register_target", t.values()); }
    // A target of `node` that is `t` otherwise.
    int64_t add(int64_t node, TargetArgs t) {
        t.node_instance_id = node;
        return add(t);
    }
    std::vector<int64_t> query(const char* method, const std::vector<Variant>& args) {
        return call_ids(GetParam(), w, method, args);
    }
    Object* w = nullptr;
};

using Ids = std::vector<int64_t>;

TEST_P(Queries, AnEmptyPoolAnswersEveryQueryWithAnEmptyTypedArray) {
    EXPECT_TRUE(query("query_targets_in_line", {int64_t{0}, int64_t{0}, int64_t{1}, true, int64_t{0}}).empty());
    EXPECT_TRUE(query("query_targets_in_range", {int64_t{0}, int64_t{1}, 0.0, 0.0, 1e9, 1e9}).empty());
    EXPECT_TRUE(query("query_targets_all", {int64_t{0}, int64_t{1}}).empty());
    EXPECT_TRUE(query("query_metallic_armor_targets", {int64_t{0}}).empty());
}

TEST_P(Queries, LineFindsTheRowFromTheIndexThenTheOtherRowsWhenAskedForAll) {
    TargetArgs row2;
    row2.camp = 1;
    row2.grid_y = 2;
    TargetArgs row3 = row2;
    row3.grid_y = 3;
    TargetArgs own = row2;  // the asker's camp: never found
    own.camp = 0;
    add(301, row2);
    add(302, row3);
    add(303, row2);
    add(304, own);
    frame();
    EXPECT_EQ(query("query_targets_in_line", {int64_t{0}, int64_t{2}, int64_t{1}, false, int64_t{2}}), (Ids{301, 303}));
    EXPECT_EQ(query("query_targets_in_line", {int64_t{0}, int64_t{2}, int64_t{1}, true, int64_t{5}}),
              (Ids{301, 303, 302}));
    // Another row without all_line_check: nothing.
    EXPECT_TRUE(query("query_targets_in_line", {int64_t{0}, int64_t{2}, int64_t{1}, false, int64_t{5}}).empty());
    // The index is as of the last frame: a row change shows after the next one.
    call_void(GetParam(), w, "set_target_grid_y", {int64_t{1}, int64_t{2}});
    EXPECT_EQ(query("query_targets_in_line", {int64_t{0}, int64_t{2}, int64_t{1}, false, int64_t{2}}), (Ids{301, 303}));
    frame();
    EXPECT_EQ(query("query_targets_in_line", {int64_t{0}, int64_t{2}, int64_t{1}, false, int64_t{2}}),
              (Ids{301, 302, 303}));
}

TEST_P(Queries, RangeIsAnInclusiveRectangleAroundTheCentre) {
    TargetArgs t;
    t.global_position_x = 110;
    t.global_position_y = 95;
    add(401, t);
    t.global_position_x = 111;
    add(402, t);
    EXPECT_EQ(query("query_targets_in_range", {int64_t{0}, int64_t{1}, 100.0, 100.0, 10.0, 5.0}), (Ids{401}));
    EXPECT_TRUE(query("query_targets_in_range", {int64_t{0}, int64_t{1}, 100.0, 100.0, -10.0, 5.0}).empty());
    call_void(GetParam(), w, "set_target_position", {int64_t{1}, 90.0, 105.0});
    EXPECT_EQ(query("query_targets_in_range", {int64_t{0}, int64_t{1}, 100.0, 100.0, 10.0, 5.0}), (Ids{401, 402}));
}

TEST_P(Queries, AllListsTheHittableTargetsOfOneCampAndFlagsTakeTargetsOut) {
    TargetArgs t;
    t.camp = 7;
    t.mask_flags = 0b110;
    for (int64_t node = 501; node <= 506; ++node) {
        add(node, t);
    }
    frame();
    call_void(GetParam(), w, "set_target_die", {int64_t{0}, true});
    call_void(GetParam(), w, "set_target_invincible", {int64_t{1}, true});
    call_void(GetParam(), w, "set_target_can_be_collection", {int64_t{2}, false});
    call_void(GetParam(), w, "set_target_is_crater", {int64_t{3}, true});
    call_void(GetParam(), w, "unregister_target", {int64_t{4}});
    EXPECT_EQ(query("query_targets_all", {int64_t{7}, int64_t{0b010}}), (Ids{506}));
    EXPECT_TRUE(query("query_targets_all", {int64_t{7}, int64_t{0b001}}).empty());
    EXPECT_EQ(count(w, "get_active_target_count"), 5);
}

TEST_P(Queries, MetallicArmourAsksEachEnemyNodeAndSkipsFreedOnes) {
    Node2D* armoured = add_node2d("Bucket", {});
    Node2D* plain = add_node2d("Plain", {});
    Node2D* silent = add_node2d("NoMethod", {});
    Node2D* gone = add_node2d("Gone", {});
    Node2D* friendly = add_node2d("Friend", {});
    engine->set_script_method(armoured, "has_metallic_armor", [](Object&) { return Variant(true); });
    engine->set_script_method(plain, "has_metallic_armor", [](Object&) { return Variant(false); });
    engine->set_script_method(friendly, "has_metallic_armor", [](Object&) { return Variant(true); });
    // A truthy non-bool answer converts by the engine's rules.
    engine->set_script_method(gone, "has_metallic_armor", [](Object&) { return Variant(int64_t{3}); });
    for (Node2D* n : {armoured, plain, silent, gone}) {
        TargetArgs t;
        t.node_instance_id = static_cast<int64_t>(n->id);
        t.camp = 1;
        t.near_die = true;  // not consulted by this query
        add(t);
    }
    TargetArgs f;
    f.node_instance_id = static_cast<int64_t>(friendly->id);
    f.camp = 0;
    add(f);
    const int64_t gone_id = static_cast<int64_t>(gone->id);
    EXPECT_EQ(query("query_metallic_armor_targets", {int64_t{0}}), (Ids{static_cast<int64_t>(armoured->id), gone_id}));
    engine->free(gone);
    EXPECT_EQ(query("query_metallic_armor_targets", {int64_t{0}}), (Ids{static_cast<int64_t>(armoured->id)}));
    EXPECT_EQ(stand_in::Engine::script_calls(friendly, "has_metallic_armor"), 0u);
}

TEST_P(Queries, MetallicArmourScriptsMayRegisterAndFreeDuringTheScan) {
    std::vector<Node2D*> nodes;
    for (int i = 0; i < 3; ++i) {
        nodes.push_back(add_node2d("Armoured", {}));
    }
    // The first answer registers many more targets (the pool moves) and
    // frees the next node before the scan reaches it.
    Node2D* extra = add_node2d("Extra", {});
    engine->set_script_method(extra, "has_metallic_armor", [](Object&) { return Variant(true); });
    const int64_t extra_id = static_cast<int64_t>(extra->id);
    bool once = false;
    engine->set_script_method(nodes[0], "has_metallic_armor", [&](Object&) {
        if (!once) {
            once = true;
            engine->free(nodes[1]);
            for (int i = 0; i < 50; ++i) {
                TargetArgs t;
                t.node_instance_id = extra_id;
                call_int(Path::typed, w, "register_target", t.values());
            }
        }
        return Variant(true);
    });
    engine->set_script_method(nodes[2], "has_metallic_armor", [](Object&) { return Variant(true); });
    for (Node2D* n : nodes) {
        TargetArgs t;
        t.node_instance_id = static_cast<int64_t>(n->id);
        add(t);
    }
    const Ids ids = query("query_metallic_armor_targets", {int64_t{0}});
    ASSERT_EQ(ids.size(), 2u + 50u);
    EXPECT_EQ(ids[0], static_cast<int64_t>(nodes[0]->id));
    EXPECT_EQ(ids[1], static_cast<int64_t>(nodes[2]->id));
    EXPECT_EQ(ids.back(), extra_id);
}

// A script answering "has_metallic_armor" may query (and register) again
// while the scan runs: each nested query fills a list of its own.
TEST_P(Queries, MetallicArmourScriptsMayQueryAgainDuringTheScan) {
    Node2D* a = add_node2d("A", {});
    Node2D* b = add_node2d("B", {});
    for (Node2D* n : {a, b}) {
        TargetArgs t;
        t.node_instance_id = static_cast<int64_t>(n->id);
        add(t);
    }
    std::vector<size_t> inner;
    const auto answer = [&](Object& self) {
        inner.push_back(query("query_targets_all", {int64_t{1}, int64_t{1}}).size());
        if (&self == a) {
            TargetArgs t;
            t.node_instance_id = int64_t{1} << 40;  // no node: the scan skips it
            add(t);
        }
        return Variant(&self == a);
    };
    engine->set_script_method(a, "has_metallic_armor", answer);
    engine->set_script_method(b, "has_metallic_armor", answer);
    EXPECT_EQ(query("query_metallic_armor_targets", {int64_t{0}}), (Ids{static_cast<int64_t>(a->id)}));
    EXPECT_EQ(inner, (std::vector<size_t>{2, 3}));
    EXPECT_EQ(query("query_targets_all", {int64_t{1}, int64_t{1}}).size(), 3u);
}

TEST_P(Queries, QueriesChangeNothingAndDoNotRebuildTheIndex) {
    TargetArgs t;
    t.grid_y = 4;
    add(601, t);
    frame();
    add(602, t);  // dirty: in the pool now, in the index after the next frame
    for (int i = 0; i < 3; ++i) {
        query("query_targets_in_line", {int64_t{0}, int64_t{4}, int64_t{1}, false, int64_t{4}});
        query("query_targets_all", {int64_t{1}, int64_t{1}});
        query("query_targets_in_range", {int64_t{0}, int64_t{1}, 0.0, 0.0, 1.0, 1.0});
        query("query_metallic_armor_targets", {int64_t{0}});
    }
    EXPECT_EQ(query("query_targets_in_line", {int64_t{0}, int64_t{4}, int64_t{1}, false, int64_t{4}}), (Ids{601}));
    EXPECT_EQ(query("query_targets_in_range", {int64_t{0}, int64_t{1}, 0.0, 0.0, 1.0, 1.0}), (Ids{601, 602}));
    EXPECT_EQ(count(w, "get_active_target_count"), 2);
    frame();
    EXPECT_EQ(query("query_targets_in_line", {int64_t{0}, int64_t{4}, int64_t{1}, false, int64_t{4}}), (Ids{601, 602}));
}

INSTANTIATE_TEST_SUITE_P(BothPaths, Queries, ::testing::Values(Path::typed, Path::dynamic),
                         [](const auto& info) { return std::string(path_name(info.param)); });

// The plain register / set / count cycle of every pool.
class Pools : public BoundaryTest {};

TEST_F(Pools, RegisterSetCountAndUnregisterEveryPool) {
    Object* w = add_warfield();
    EXPECT_EQ(call_int(Path::typed, w, "register_character", character_values(1)), 0);
    EXPECT_EQ(call_int(Path::dynamic, w, "register_character", character_values(2)), 1);
    call_void(Path::dynamic, w, "set_character_die", {int64_t{0}, true});
    call_void(Path::typed, w, "set_character_grid_pos", {int64_t{1}, Vector2i{4, 5}});
    EXPECT_EQ(call_int(Path::typed, w, "register_ground_item", ground_item_values(3)), 0);
    call_void(Path::dynamic, w, "set_ground_item_z", {int64_t{0}, 12.5});
    EXPECT_EQ(count(w, "get_active_character_count"), 2);
    EXPECT_EQ(count(w, "get_active_ground_item_count"), 1);
    call_void(Path::typed, w, "unregister_character", {int64_t{0}});
    call_void(Path::dynamic, w, "unregister_ground_item", {int64_t{0}});
    call_void(Path::dynamic, w, "unregister_ground_item", {int64_t{-1}});
    call_void(Path::dynamic, w, "set_character_z", {int64_t{99}, 1.0});
    EXPECT_EQ(count(w, "get_active_character_count"), 1);
    EXPECT_EQ(count(w, "get_active_ground_item_count"), 0);
    // The released slot is the next one handed out.
    EXPECT_EQ(call_int(Path::dynamic, w, "register_character", character_values(4)), 0);
}

TEST_F(Pools, EachNodeKeepsItsOwnPools) {
    Object* a = add_warfield();
    Object* b = add_warfield();
    call_int(Path::typed, a, "register_target", TargetArgs{}.values());
    EXPECT_EQ(count(a, "get_active_target_count"), 1);
    EXPECT_EQ(count(b, "get_active_target_count"), 0);
    engine->free(a);
    EXPECT_EQ(count(b, "get_active_target_count"), 0);
}

}  // namespace
}  // namespace boundary
