// Script values cross the boundary narrowed to the declared types, the same
// way on the typed and on the dynamic path; results widen with their sign.
// Each case is observed through what the node does with the stored value.
#include <cmath>
#include <limits>

#include "support.h"

namespace boundary {
namespace {

class Narrowing : public BoundaryTest, public ::testing::WithParamInterface<Path> {
protected:
    void SetUp() override {
        BoundaryTest::SetUp();
        w = add_warfield();
    }
    int64_t register_target(const TargetArgs& t) { return call_int(GetParam(), w, "register_target", t.values()); }
    std::vector<int64_t> all_of_camp(int64_t camp) {
        return call_ids(GetParam(), w, "query_targets_all", {camp, int64_t{0xFF}});
    }
    Object* w = nullptr;
};

constexpr int64_t k2Pow32Plus5 = (int64_t{1} << 32) + 5;
constexpr int64_t k2Pow31 = int64_t{1} << 31;

TEST_P(Narrowing, ThirtyTwoBitArgumentsKeepTheirLowBits) {
    TargetArgs t;
    t.node_instance_id = 11;
    t.camp = k2Pow32Plus5;
    t.grid_y = k2Pow31;
    register_target(t);
    frame();  // rebuilds the index
    EXPECT_EQ(all_of_camp(5), std::vector<int64_t>{11});
    EXPECT_EQ(all_of_camp(k2Pow32Plus5), std::vector<int64_t>{11});
    const int64_t row = std::numeric_limits<int32_t>::min();
    EXPECT_EQ(call_ids(GetParam(), w, "query_targets_in_line", {int64_t{0}, row, int64_t{1}, false, row}),
              std::vector<int64_t>{11});
    EXPECT_EQ(call_ids(GetParam(), w, "query_targets_in_line", {int64_t{0}, k2Pow31, int64_t{1}, false, k2Pow31}),
              std::vector<int64_t>{11});
    // A mask beyond 32 bits keeps only its low word: bit 32 alone matches nothing.
    EXPECT_TRUE(call_ids(GetParam(), w, "query_targets_all", {int64_t{5}, int64_t{1} << 32}).empty());
}

TEST_P(Narrowing, InstanceIdsKeepAllSixtyFourBits) {
    const int64_t ids[] = {std::numeric_limits<int64_t>::min(),      // 2^63
                           std::numeric_limits<int64_t>::min() + 77,  // 2^63 + 77
                           -1,                                        // 2^64 - 1
                           (int64_t{1} << 40) | 3, 0};
    for (int64_t id : ids) {
        TargetArgs t;
        t.node_instance_id = id;
        register_target(t);
    }
    frame();
    EXPECT_EQ(all_of_camp(1), std::vector<int64_t>(std::begin(ids), std::end(ids)));
}

TEST_P(Narrowing, FloatsArriveAsTheNearestSinglePrecisionValue) {
    TargetArgs t;
    t.node_instance_id = 21;
    t.global_position_x = 0.1;  // nearest float is 0.100000001490116..., above 0.1
    t.global_position_y = -2.5e-8;
    register_target(t);
    auto in_range = [&](double cx, double cy, double rx, double ry) {
        return call_ids(GetParam(), w, "query_targets_in_range", {int64_t{0}, int64_t{1}, cx, cy, rx, ry});
    };
    const double nearest_x = static_cast<double>(0.1f);
    const double nearest_y = static_cast<double>(-2.5e-8f);
    EXPECT_EQ(in_range(nearest_x, nearest_y, 0.0, 0.0), std::vector<int64_t>{21});
    // The float just below 0.1 is what truncation would give: not stored.
    const double below = static_cast<double>(std::nextafter(0.1f, 0.0f));
    EXPECT_TRUE(in_range(below, nearest_y, 0.0, 0.0).empty());
    // Values beyond the float range become infinite, and compare as such.
    TargetArgs far;
    far.node_instance_id = 22;
    far.global_position_x = 1e300;
    register_target(far);
    EXPECT_EQ(in_range(std::numeric_limits<double>::infinity(), 0.0, 0.0, 1.0), std::vector<int64_t>{22});
}

TEST_P(Narrowing, ThirtyTwoBitResultsWidenWithTheirSign) {
    // Slot ids and counts come back whole: every byte of the typed result is
    // written (the helper pre-fills it) and the values are small positives.
    for (int64_t expected = 0; expected < 3; ++expected) {
        EXPECT_EQ(register_target(TargetArgs{}), expected);
    }
    EXPECT_EQ(call_int(GetParam(), w, "get_active_target_count", {}), 3);
    EXPECT_EQ(call_int(GetParam(), w, "register_projectile", ProjectileArgs{}.values()), 0);
    EXPECT_EQ(call_int(GetParam(), w, "register_character", character_values(1)), 0);
    EXPECT_EQ(call_int(GetParam(), w, "register_ground_item", ground_item_values(1)), 0);
}

TEST_P(Narrowing, GridSizeRoundTripsThroughTheProperty) {
    EXPECT_EQ(call_vector2(GetParam(), w, "get_grid_size", {}), (Vector2{80.0f, 98.0f}));
    call_void(GetParam(), w, "set_grid_size", {Vector2{-3.5f, 0.0f}});
    EXPECT_EQ(call_vector2(GetParam(), w, "get_grid_size", {}), (Vector2{-3.5f, 0.0f}));
}

INSTANTIATE_TEST_SUITE_P(BothPaths, Narrowing, ::testing::Values(Path::typed, Path::dynamic),
                         [](const auto& info) { return std::string(path_name(info.param)); });

// Conversions only the dynamic path has: the engine converts the Variant.
class Conversions : public BoundaryTest {
protected:
    void SetUp() override {
        BoundaryTest::SetUp();
        w = add_warfield();
    }
    Object* w = nullptr;
};

TEST_F(Conversions, AFloatForAnIntTruncatesTowardZero) {
    TargetArgs t;
    t.node_instance_id = 31;
    std::vector<Variant> args = t.values();
    args[1] = Variant(2.75);   // camp
    args[2] = Variant(-2.75);  // grid_y
    args[10] = Variant(2.75);  // height, an int for targets
    ASSERT_TRUE(call(w, "register_target", args).ok());
    EXPECT_TRUE(call(w, "set_target_height", {int64_t{0}, 2.75}).ok());
    frame();
    EXPECT_EQ(call_ids(Path::dynamic, w, "query_targets_all", {int64_t{2}, int64_t{1}}), std::vector<int64_t>{31});
    EXPECT_EQ(call_ids(Path::dynamic, w, "query_targets_in_line", {int64_t{0}, int64_t{-2}, int64_t{1}, false, int64_t{-2}}),
              std::vector<int64_t>{31});
}

TEST_F(Conversions, AnIntOrABoolForAFloatArrivesAsThatNumber) {
    TargetArgs t;
    t.node_instance_id = 51;
    std::vector<Variant> args = t.values();
    args[11] = Variant(int64_t{3});  // global_position_x
    args[12] = Variant(true);        // global_position_y: 1
    ASSERT_TRUE(call(w, "register_target", args).ok());
    auto at = [&](double x, double y) {
        return call_ids(Path::dynamic, w, "query_targets_in_range", {int64_t{0}, int64_t{1}, x, y, 0.0, 0.0});
    };
    EXPECT_EQ(at(3.0, 1.0), std::vector<int64_t>{51});
    EXPECT_TRUE(call(w, "set_target_position", {int64_t{0}, int64_t{-7}, false}).ok());
    EXPECT_EQ(at(-7.0, 0.0), std::vector<int64_t>{51});
}

TEST_F(Conversions, BoolsAndIntsConvertEachOtherAndVectorsConvertBetweenFloatAndInt) {
    TargetArgs t;
    t.node_instance_id = 41;
    std::vector<Variant> args = t.values();
    args[5] = Variant(int64_t{0});  // invincible from an int
    args[6] = Variant(1.0);         // can_be_collection from a float
    args[1] = Variant(true);        // camp from a bool: 1
    ASSERT_TRUE(call(w, "register_target", args).ok());
    frame();
    EXPECT_EQ(call_ids(Path::dynamic, w, "query_targets_all", {int64_t{1}, int64_t{1}}), std::vector<int64_t>{41});
    EXPECT_TRUE(call(w, "set_target_invincible", {int64_t{0}, int64_t{7}}).ok());
    EXPECT_TRUE(call_ids(Path::dynamic, w, "query_targets_all", {int64_t{1}, int64_t{1}}).empty());

    // A Vector2 where a Vector2i is declared, and the other way round.
    std::vector<Variant> c = character_values(5);
    c[10] = Variant(Vector2{3.9f, -1.9f});
    EXPECT_TRUE(call(w, "register_character", c).ok());
    EXPECT_TRUE(call(w, "set_character_grid_pos", {int64_t{0}, Vector2{1.5f, 2.5f}}).ok());
    EXPECT_TRUE(call(w, "set_grid_size", {Vector2i{7, -8}}).ok());
    EXPECT_EQ(call_vector2(Path::dynamic, w, "get_grid_size", {}), (Vector2{7.0f, -8.0f}));
    EXPECT_EQ(count(w, "get_active_character_count"), 1);
}

TEST_F(Conversions, AVector2iVelocityMovesAProjectileAsTheSameFloats) {
    const ProjectileScene s = add_projectile_scene({100, 100});
    ProjectileArgs p;
    p.node_instance_id = s.id();
    p.type = 0;
    std::vector<Variant> args = p.values();
    args[2] = Variant(Vector2i{60, -30});
    ASSERT_TRUE(call(w, "register_projectile", args).ok());
    for (const char* m : {"check_shooter_height", "update_grid_pos"}) {
        engine->set_script_method(s.root, m, [](Object&) { return Variant(); });
    }
    frame(0.5);
    EXPECT_EQ(s.root->position, (Vector2{130.0f, 85.0f}));
}

}  // namespace
}  // namespace boundary
