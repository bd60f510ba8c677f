// Dynamic calls the method must refuse before it runs (a value of a type
// that does not convert, no instance), and extra arguments it ignores. Too
// few arguments: every method and count in the robustness suite
// (dynamic_call_test.cpp).
#include "support.h"

namespace boundary {
namespace {

class CallErrors : public BoundaryTest {
protected:
    void SetUp() override {
        BoundaryTest::SetUp();
        w = add_warfield();
    }
    Object* w = nullptr;
};

TEST_F(CallErrors, UnconvertibleValuesAreRefusedWithTheirPositionAndNothingRuns) {
    struct Case {
        const char* what;
        size_t position;
        Variant value;
        uint32_t expected;
    };
    stand_in::Node* some_node = engine->make_node("n");
    const Case cases[] = {
        {"a String for an int", 1, Variant("1"), GDEXTENSION_VARIANT_TYPE_INT},
        {"nil for an int", 2, Variant(), GDEXTENSION_VARIANT_TYPE_INT},
        {"a StringName for a float", 11, Variant::name("x"), GDEXTENSION_VARIANT_TYPE_FLOAT},
        {"a String for a bool", 5, Variant("true"), GDEXTENSION_VARIANT_TYPE_BOOL},
        {"a Vector2 for an instance id", 0, Variant(Vector2{1, 2}), GDEXTENSION_VARIANT_TYPE_INT},
        {"an Object for an int", 0, Variant(static_cast<Object*>(some_node)), GDEXTENSION_VARIANT_TYPE_INT},
    };
    for (const Case& c : cases) {
        std::vector<Variant> args = TargetArgs{}.values();
        args[c.position] = c.value;
        const CallResult r = call(w, "register_target", args);
        EXPECT_EQ(r.error.error, GDEXTENSION_CALL_ERROR_INVALID_ARGUMENT) << c.what;
        EXPECT_EQ(r.error.argument, static_cast<int32_t>(c.position)) << c.what;
        EXPECT_EQ(r.error.expected, static_cast<int32_t>(c.expected)) << c.what;
    }
    EXPECT_EQ(count(w, "get_active_target_count"), 0);

    const CallResult vec = call(w, "set_grid_size", {Variant(static_cast<Object*>(some_node))});
    EXPECT_EQ(vec.error.error, GDEXTENSION_CALL_ERROR_INVALID_ARGUMENT);
    EXPECT_EQ(vec.error.expected, GDEXTENSION_VARIANT_TYPE_VECTOR2);
    const CallResult number = call(w, "set_grid_size", {Variant(3.0)});
    EXPECT_EQ(number.error.error, GDEXTENSION_CALL_ERROR_INVALID_ARGUMENT);
    EXPECT_EQ(call_vector2(Path::dynamic, w, "get_grid_size", {}), (Vector2{80.0f, 98.0f}));
    engine->free(some_node);
}

TEST_F(CallErrors, TheFirstBadArgumentIsReportedAndLaterOnesAreNotRead) {
    std::vector<Variant> args = ProjectileArgs{}.values();
    args[3] = Variant("fast");
    args[20] = Variant("heavy");
    const CallResult r = call(w, "register_projectile", args);
    EXPECT_EQ(r.error.error, GDEXTENSION_CALL_ERROR_INVALID_ARGUMENT);
    EXPECT_EQ(r.error.argument, 3);
    EXPECT_EQ(count(w, "get_active_projectile_count"), 0);
}

TEST_F(CallErrors, ExtraArgumentsAreIgnored) {
    std::vector<Variant> args = TargetArgs{}.values();
    args.emplace_back("surplus");
    args.emplace_back(Vector2{1, 1});
    const CallResult r = call(w, "register_target", args);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.value.to_int(), 0);
    const CallResult c = call(w, "get_active_target_count", {Variant(int64_t{9}), Variant("x")});
    ASSERT_TRUE(c.ok());
    EXPECT_EQ(c.value.to_int(), 1);
}

TEST_F(CallErrors, AMethodTheClassLacksIsAnInvalidMethod) {
    const CallResult r = call(w, "register_tower", {});
    EXPECT_EQ(r.error.error, GDEXTENSION_CALL_ERROR_INVALID_METHOD);
}

// The engine passes the object's extension instance, which an object can
// lack: the dynamic path reports it, the typed path leaves the result alone.
TEST_F(CallErrors, ANullInstanceIsReportedAndItsResultLeftAlone) {
    const stand_in::MethodRecord* m = w->extension->method("get_active_target_count");
    ASSERT_NE(m, nullptr);
    Variant result;
    GDExtensionCallError error{GDEXTENSION_CALL_OK, -1, -1};
    m->call(m->userdata, nullptr, nullptr, 0, result.raw(), &error);
    EXPECT_EQ(error.error, GDEXTENSION_CALL_ERROR_INSTANCE_IS_NULL);
    EXPECT_TRUE(result.is_nil());
    int64_t out = 5;
    m->ptrcall(m->userdata, nullptr, nullptr, &out);
    EXPECT_EQ(out, 5);
}

}  // namespace
}  // namespace boundary
