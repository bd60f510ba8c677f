// Both call paths of the bound methods, driven as the engine drives them:
// typed (ptrcall) slots and Variant arguments with the engine's call errors.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "binding/instance.h"
#include "loaded_library.h"

namespace warfield::test {
namespace {

class CallPaths : public LoadedLibrary {
protected:
    void SetUp() override {
        LoadedLibrary::SetUp();
        object_ = create();
        instance_ = object_->instance;
    }
    void TearDown() override {
        free(object_);
        EXPECT_EQ(fake::engine().live_arrays, 0);
        EXPECT_EQ(fake::engine().live_strings, 4);  // only the cached child paths
        LoadedLibrary::TearDown();
    }

    Warfield& core() { return static_cast<gde::WarfieldInstance*>(instance_)->core; }

    // A dynamic call; the result Variant starts as nil like the engine's.
    GDExtensionCallError call(const std::string& name, std::vector<fake::Value> args, fake::Value* result = nullptr) {
        std::vector<GDExtensionConstVariantPtr> ptrs;
        for (auto& a : args) ptrs.push_back(a.ptr());
        fake::Value local;
        fake::Value& ret = result != nullptr ? *result : local;
        ret.var() = fake::Var{};
        GDExtensionCallError error{GDEXTENSION_CALL_OK, -1, -1};
        const auto& m = method(name);
        m.call(m.userdata, instance_, ptrs.data(), static_cast<GDExtensionInt>(ptrs.size()), ret.ptr(), &error);
        for (auto& a : args) fake::destroy(a);
        if (result == nullptr) fake::destroy(local);
        return error;
    }

    void ptrcall(const std::string& name, const std::vector<const void*>& args, void* ret) {
        const auto& m = method(name);
        m.ptrcall(m.userdata, instance_, args.data(), ret);
    }

    int32_t add_target(const std::vector<const void*>& first_args) {
        // node_instance_id, camp, grid_y, collision_flags, mask_flags, then flags and positions.
        static const int64_t zero = 0;
        static const uint8_t yes = 1, no = 0;
        static const double origin = 0.0;
        std::vector<const void*> args = first_args;
        args.resize(20, &zero);
        args[5] = &no;    // invincible
        args[6] = &yes;   // can_be_collection
        for (int i : {7, 8, 9, 13, 14, 15, 16, 17, 18, 19}) args[static_cast<size_t>(i)] = &no;
        args[11] = &origin;
        args[12] = &origin;
        int64_t slot = -7;
        ptrcall("register_target", args, &slot);
        return static_cast<int32_t>(slot);
    }

    fake::Object* object_ = nullptr;
    GDExtensionClassInstancePtr instance_ = nullptr;
};

TEST_F(CallPaths, TypedIntsKeepTheirLowBitsAndIdsAllBits) {
    const int64_t id = static_cast<int64_t>(0x8000000000000005ULL);
    const int64_t camp = 4294967301LL;  // 2^32 + 5
    const int64_t grid_y = 2147483648LL;
    const int64_t flags = 1;
    const int32_t slot = add_target({&id, &camp, &grid_y, &flags, &flags});
    EXPECT_EQ(slot, 0);
    const TargetState& t = core().targets()[0];
    EXPECT_EQ(t.node_instance_id, 0x8000000000000005ULL);
    EXPECT_EQ(t.camp, 5);
    EXPECT_EQ(t.grid_y, std::numeric_limits<int32_t>::min());
    EXPECT_TRUE(t.can_be_collection);
}

TEST_F(CallPaths, TypedFloatsAndVectors) {
    const int64_t zero = 0;
    const int64_t id = 0;
    const double tenth = 0.1;
    const int64_t one = 1;
    add_target({&id, &one, &one, &one, &one});
    ptrcall("set_target_position", {&zero, &tenth, &tenth}, nullptr);
    EXPECT_EQ(core().targets()[0].global_position_x, 0.1f);

    const Vector2 size{12.5f, -3.0f};
    ptrcall("set_grid_size", {&size}, nullptr);
    Vector2 got{};
    ptrcall("get_grid_size", {}, &got);
    EXPECT_EQ(got.x, 12.5f);
    EXPECT_EQ(got.y, -3.0f);
    int64_t count = -1;
    ptrcall("get_active_target_count", {}, &count);
    EXPECT_EQ(count, 1);
}

TEST_F(CallPaths, DynamicTooFewArgumentsIsRejectedBeforeTheMethodRuns) {
    const GDExtensionCallError e = call("set_target_position", {fake::make_int(0), fake::make_float(1.0)});
    EXPECT_EQ(e.error, GDEXTENSION_CALL_ERROR_TOO_FEW_ARGUMENTS);
    EXPECT_EQ(e.expected, 3);

    const GDExtensionCallError none = call("register_ground_item", {});
    EXPECT_EQ(none.error, GDEXTENSION_CALL_ERROR_TOO_FEW_ARGUMENTS);
    EXPECT_EQ(none.expected, 8);
    EXPECT_EQ(core().ground_items().size(), 0);
}

TEST_F(CallPaths, DynamicUnconvertibleArgumentNamesItsPosition) {
    std::vector<fake::Value> args = {fake::make_int(1), fake::make_float(0), fake::make_float(0),
                                     fake::make_float(0), fake::make_float(0), fake::make_float(0),
                                     fake::make_string("yes"), fake::make_bool(true)};
    const GDExtensionCallError e = call("register_ground_item", std::move(args));
    EXPECT_EQ(e.error, GDEXTENSION_CALL_ERROR_INVALID_ARGUMENT);
    EXPECT_EQ(e.argument, 6);
    EXPECT_EQ(e.expected, GDEXTENSION_VARIANT_TYPE_BOOL);
    EXPECT_EQ(core().ground_items().size(), 0);

    const GDExtensionCallError s = call("unregister_target", {fake::make_string("0")});
    EXPECT_EQ(s.error, GDEXTENSION_CALL_ERROR_INVALID_ARGUMENT);
    EXPECT_EQ(s.argument, 0);
    EXPECT_EQ(s.expected, GDEXTENSION_VARIANT_TYPE_INT);
}

TEST_F(CallPaths, DynamicConversionsAndExtraArguments) {
    const int64_t id = 77;
    const int64_t one = 1;
    add_target({&id, &one, &one, &one, &one});
    // float -> int by the engine's conversion; an extra argument is ignored.
    const GDExtensionCallError e =
        call("set_target_height", {fake::make_int(0), fake::make_float(2.75), fake::make_string("extra")});
    EXPECT_EQ(e.error, GDEXTENSION_CALL_OK);
    EXPECT_EQ(core().targets()[0].height, 2);
    // A script int wider than 32 bits keeps its low bits on this path too.
    EXPECT_EQ(call("set_target_camp", {fake::make_int(0), fake::make_int(4294967301LL)}).error, GDEXTENSION_CALL_OK);
    EXPECT_EQ(core().targets()[0].camp, 5);
    EXPECT_EQ(call("set_target_position", {fake::make_int(0), fake::make_float(0.1), fake::make_int(3)}).error,
              GDEXTENSION_CALL_OK);
    EXPECT_EQ(core().targets()[0].global_position_x, 0.1f);
    EXPECT_EQ(core().targets()[0].global_position_y, 3.0f);
}

TEST_F(CallPaths, DynamicResultsAreWidenedIntoTheVariant) {
    fake::Value result;
    EXPECT_EQ(call("set_grid_size", {fake::make_vector2(1.5f, 2.5f)}).error, GDEXTENSION_CALL_OK);
    EXPECT_EQ(call("get_grid_size", {}, &result).error, GDEXTENSION_CALL_OK);
    EXPECT_EQ(result.var().type, GDEXTENSION_VARIANT_TYPE_VECTOR2);
    EXPECT_EQ(result.var().u.v2[1], 2.5f);
    EXPECT_EQ(call("get_active_projectile_count", {}, &result).error, GDEXTENSION_CALL_OK);
    EXPECT_EQ(result.var().type, GDEXTENSION_VARIANT_TYPE_INT);
    EXPECT_EQ(result.var().u.i, 0);
}

TEST_F(CallPaths, QueriesReturnTypedIntArraysOfFullIds) {
    const int64_t high_id = static_cast<int64_t>(0xF000000000000001ULL);
    const int64_t low_id = 42;
    const int64_t camp = 2, row = 1, mask = 1;
    add_target({&high_id, &camp, &row, &mask, &mask});
    add_target({&low_id, &camp, &row, &mask, &mask});

    // Typed path: the result replaces the Array the caller constructed.
    alignas(8) unsigned char array[8];
    gde::api.array_new(array, nullptr);
    const int64_t flags = 1;
    ptrcall("query_targets_all", {&camp, &flags}, array);
    const fake::ArrayData* a = fake::array_of(array);
    EXPECT_EQ(a->typed, GDEXTENSION_VARIANT_TYPE_INT);
    ASSERT_EQ(a->items.size(), 2u);
    EXPECT_EQ(static_cast<uint64_t>(a->items[0].u.i), 0xF000000000000001ULL);
    EXPECT_EQ(a->items[1].u.i, 42);
    gde::api.array_destroy(array);

    // Dynamic path: an empty result is still a typed Array, never nil.
    fake::Value result;
    EXPECT_EQ(call("query_targets_all", {fake::make_int(9), fake::make_int(1)}, &result).error, GDEXTENSION_CALL_OK);
    const fake::ArrayData* empty = fake::array_in_variant(result);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->typed, GDEXTENSION_VARIANT_TYPE_INT);
    EXPECT_TRUE(empty->items.empty());
    fake::destroy(result);
}

// "has_metallic_armor" runs inside the query and may query and register
// again: each nesting level fills its own list.
TEST_F(CallPaths, NestedQueriesFromScriptCallbacks) {
    const int64_t camp = 1, row = 0, mask = 1;
    const int64_t id_a = 100, id_b = 200;
    add_target({&id_a, &camp, &row, &mask, &mask});
    add_target({&id_b, &camp, &row, &mask, &mask});
    fake::Object node_a("Node2D"), node_b("Node2D");
    fake::engine().objects_by_id = {{100, &node_a}, {200, &node_b}};

    std::vector<size_t> inner_sizes;
    fake::engine().on_script_call = [&](fake::Object* node) {
        fake::Value inner;
        EXPECT_EQ(call("query_targets_all", {fake::make_int(1), fake::make_int(1)}, &inner).error,
                  GDEXTENSION_CALL_OK);
        inner_sizes.push_back(fake::array_in_variant(inner)->items.size());
        fake::destroy(inner);
        if (node == &node_a) {
            const int64_t id_c = 300;
            add_target({&id_c, &camp, &row, &mask, &mask});  // grows the pool mid-query
        }
        return node == &node_a;
    };
    fake::Value outer;
    EXPECT_EQ(call("query_metallic_armor_targets", {fake::make_int(0)}, &outer).error, GDEXTENSION_CALL_OK);
    fake::engine().on_script_call = nullptr;

    const fake::ArrayData* ids = fake::array_in_variant(outer);
    ASSERT_NE(ids, nullptr);
    ASSERT_EQ(ids->items.size(), 1u);
    EXPECT_EQ(ids->items[0].u.i, 100);
    EXPECT_EQ(inner_sizes, (std::vector<size_t>{2, 3}));
    fake::destroy(outer);
    EXPECT_EQ(static_cast<gde::WarfieldInstance*>(instance_)->scratch.depth(), 0u);
    EXPECT_EQ(static_cast<gde::WarfieldInstance*>(instance_)->scratch.levels(), 2u);
}

TEST_F(CallPaths, NullInstanceIsReported) {
    const auto& m = method("get_active_target_count");
    fake::Value ret;
    GDExtensionCallError e{};
    m.call(m.userdata, nullptr, nullptr, 0, ret.ptr(), &e);
    EXPECT_EQ(e.error, GDEXTENSION_CALL_ERROR_INSTANCE_IS_NULL);
    int64_t out = 5;
    m.ptrcall(m.userdata, nullptr, nullptr, &out);
    EXPECT_EQ(out, 5);
}

}  // namespace
}  // namespace warfield::test
