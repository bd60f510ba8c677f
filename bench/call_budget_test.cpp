// The engine calls a projectile-frame makes are exactly those the movement
// rules prescribe, in the core and through the real library, and query
// results reach scripts through one sized, index-written Array.
#include <gtest/gtest.h>

#include <vector>

#include "call_budget.h"
#include "call_recorder.h"
#include "stand_in/array.h"
#include "library_scene.h"
#include "scenes.h"
#include "simulation/physics_frame.h"

namespace warfield::bench {
namespace {

constexpr int kPeriod = 30;

class EveryKind : public ::testing::TestWithParam<int> {};

// Slots released between live ones change nothing per live projectile.
TEST_P(EveryKind, CoreFramesMakeThePrescribedHostCalls) {
    for (const bool half_released : {false, true}) {
        FrameScene scene(static_cast<Kind>(GetParam()), 20, half_released);
        _physics_process(scene.warfield, scene.host, kDelta);
        std::vector<RecordedCall> calls;
        record_calls(scene.host, calls, [&] {
            for (int f = 0; f < kPeriod; ++f) _physics_process(scene.warfield, scene.host, kDelta);
        });
        uint64_t per_frame = 0;
        const OpCounts made = from_recording(count_by_op(calls), kPeriod * 20.0, &per_frame);
        EXPECT_EQ(differences(prescribed(GetParam()), made), "") << kind_name(static_cast<Kind>(GetParam()));
        EXPECT_EQ(per_frame, static_cast<uint64_t>(kPeriod));  // is_editor_hint
        EXPECT_EQ(scene.warfield.get_active_projectile_count(), 20);
    }
}

TEST_P(EveryKind, LibraryFramesMakeThePrescribedEngineCallsAndNoNames) {
    LibraryScene scene(GetParam(), 20);
    ASSERT_NE(scene.node, nullptr) << stand_in::log().dump();
    scene.frame();
    EngineCallMeter meter;
    meter.start();
    for (int f = 0; f < kPeriod; ++f) scene.frame();
    const EngineCallCount c = meter.stop(kPeriod, 20);
    EXPECT_EQ(budget_differences(GetParam(), c), "") << kind_name(static_cast<Kind>(GetParam()));
    EXPECT_EQ(scene.script.get_active_projectile_count(), 20);
    EXPECT_TRUE(stand_in::log().entries().empty()) << stand_in::log().dump();
}

INSTANTIATE_TEST_SUITE_P(Kinds, EveryKind, ::testing::Range(0, kKindCount),
                         [](const ::testing::TestParamInfo<int>& i) { return kind_name(static_cast<Kind>(i.param)); });

TEST(QueryResult, IsSizedOnceAndWrittenByIndexOnBothPaths) {
    stand_in::Engine engine;
    ASSERT_TRUE(engine.load(library_path()));
    // Array.resize is the only Array method the library takes from the
    // engine: it has no push_back to call.
    EXPECT_EQ(stand_in::counters().of(stand_in::Fn::variant_get_ptr_builtin_method), 1u);
    stand_in::Object* node = engine.instantiate("Warfield");
    engine.add_child(engine.root(), static_cast<stand_in::Node*>(node));
    demo::WarfieldScript script(node);
    for (int i = 0; i < 7; ++i) {
        demo::TargetSpec t;
        t.node_instance_id = 100 + i;
        script.register_target(t);
    }
    engine.physics_frame(kDelta);

    const stand_in::Counters before = stand_in::counters();
    std::vector<int64_t> ids;
    script.query_targets_all(1, 1, ids);  // dynamic
    const int64_t camp = 1;
    const int64_t flags = 1;
    const GDExtensionConstTypePtr args[2] = {&camp, &flags};
    alignas(8) unsigned char slot[8];
    stand_in::array_new(slot);
    ASSERT_TRUE(stand_in::ptrcall_method(node, "query_targets_all", args, slot));  // typed
    EXPECT_EQ(stand_in::array_size(slot), 7);
    stand_in::array_destroy(slot);

    const stand_in::Counters& after = stand_in::counters();
    EXPECT_EQ(ids.size(), 7u);
    EXPECT_EQ(after.of(stand_in::Fn::array_operator_index) - before.of(stand_in::Fn::array_operator_index), 14u);
    EXPECT_EQ(after.of(stand_in::Fn::array_set_typed) - before.of(stand_in::Fn::array_set_typed), 2u);
    EXPECT_EQ(after.of(stand_in::Fn::variant_get_ptr_builtin_method), 1u);
    EXPECT_EQ(after.string_names_made, before.string_names_made);
}

}  // namespace
}  // namespace warfield::bench
