// query_metallic_armor_targets: which targets are asked, what their answers
// do, and scripts that change the node while the scan runs.
#include <gtest/gtest.h>

#include <vector>

#include "query_support.h"
#include "query/target_queries.h"
#include "inspect.h"

namespace warfield {
namespace {

using test::add;
using test::armoured;
using test::add_armoured;
using test::add_scripted;
using test::asked;
using test::FakeHost;
using L = InstanceIdList;

TEST(MetallicQuery, AsksEveryLiveEnemyThatIsNotDeadWhateverItsOtherFlags) {
    Warfield w;
    FakeHost host;
    add(w, {.node = 1, .near_die = true});
    add(w, {.node = 2, .mask_flags = 0, .invincible = true, .can_be_collection = false, .is_crater = true});
    add(w, {.node = 3, .die = true});
    add(w, {.node = 4, .camp = 0});
    const int32_t gone = add(w, {.node = 5});
    add(w, {.node = 6});
    w.unregister_target(gone);
    for (uint64_t id = 1; id <= 5; ++id) add_armoured(host, id);
    add_scripted(host, 6, [] { return false; });
    EXPECT_EQ(armoured(w, host, 0), (L{1, 2}));
    EXPECT_EQ(asked(host), (std::vector<uint64_t>{1, 2, 6}));
    // The index plays no part: the scan reads the pool even before any rebuild.
    EXPECT_TRUE(test::Inspect::target_index_dirty(w));
}

TEST(MetallicQuery, FreedNodesAreSkippedAndAMissingMethodCountsAsNo) {
    Warfield w;
    FakeHost host;
    add(w, {.node = 1});
    add(w, {.node = 2});
    add(w, {.node = 3});
    add(w, {.node = 4});  // never had a node
    add_armoured(host, 1);
    add_scripted(host, 2, nullptr);
    add_armoured(host, 3);
    host.free_node(1);
    EXPECT_EQ(armoured(w, host, 0), (L{3}));
    EXPECT_EQ(asked(host), (std::vector<uint64_t>{2, 3}));
}

TEST(MetallicQuery, TargetsRegisteredDuringTheScanAreVisitedBeyondThePosition) {
    Warfield w;
    FakeHost host;
    add(w, {.node = 1});
    add(w, {.node = 2});
    // The first answer registers enough targets to move the pool several times.
    add_scripted(host, 1, [&] {
        for (uint64_t id = 1000; id < 1600; ++id) {
            add(w, {.node = id});
            if (id % 100 == 0) add_armoured(host, id);
        }
        return true;
    });
    add_armoured(host, 2);
    EXPECT_EQ(armoured(w, host, 0), (L{1, 2, 1000, 1100, 1200, 1300, 1400, 1500}));
}

TEST(MetallicQuery, AppendsTheIdTakenBeforeTheCallEvenIfTheSlotChangesHands) {
    Warfield w;
    FakeHost host;
    const int32_t first = add(w, {.node = 1});
    add(w, {.node = 2});
    add_scripted(host, 1, [&] {
        w.unregister_target(first);
        // The freed slot goes to a new target; it lies behind the scan and is not revisited.
        EXPECT_EQ(add(w, {.node = 50}), first);
        return true;
    });
    add_armoured(host, 2);
    add_armoured(host, 50);
    EXPECT_EQ(armoured(w, host, 0), (L{1, 2}));
    EXPECT_EQ(asked(host), (std::vector<uint64_t>{1, 2}));
}

TEST(MetallicQuery, ChangesToLaterTargetsDuringTheScanAreSeen) {
    Warfield w;
    FakeHost host;
    add(w, {.node = 1});
    const int32_t dropped = add(w, {.node = 2});
    const int32_t joined = add(w, {.node = 3});
    const int32_t killed = add(w, {.node = 4});
    add(w, {.node = 5});
    add_scripted(host, 1, [&] {
        w.unregister_target(dropped);
        w.set<&TargetState::camp>(joined, 0);
        w.set<&TargetState::die>(killed, true);
        return false;
    });
    for (uint64_t id = 2; id <= 5; ++id) add_armoured(host, id);
    EXPECT_EQ(armoured(w, host, 0), (L{5}));
    EXPECT_EQ(asked(host), (std::vector<uint64_t>{1, 5}));
}

TEST(MetallicQuery, ScriptsMayQueryFromInsideTheScan) {
    Warfield w;
    FakeHost host;
    add(w, {.node = 1, .grid_y = 2});
    add(w, {.node = 2, .grid_y = 2});
    test::frame(w);
    L nested;
    int depth = 0;
    add_scripted(host, 1, [&] {
        if (depth == 0) {
            ++depth;
            query_metallic_armor_targets(w, host, 0, nested);
            query_targets_in_line(w, 0, 2, 1, true, 2, nested);
            --depth;
        }
        return true;
    });
    add_armoured(host, 2);
    const L outer = armoured(w, host, 0);
    EXPECT_EQ(nested, (L{1, 2, 1, 2}));
    EXPECT_EQ(outer, (L{1, 2}));
}

}  // namespace
}  // namespace warfield
