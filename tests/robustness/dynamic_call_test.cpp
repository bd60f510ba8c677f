// Every one of the node's methods, called on the engine's dynamic path the
// way a careless script calls it: with too few arguments, with values of the
// wrong type at each position, and with extra arguments. Each call must end
// in the engine's call error or run with the engine's conversion; none may
// read an argument that was not passed (the argument array is exactly as long
// as the count, so ASan sees any such read).
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "stand_in/engine.h"

namespace {

using stand_in::CallResult;
using stand_in::MethodRecord;
using stand_in::Object;
using stand_in::Variant;
using stand_in::Vector2;
using stand_in::Vector2i;

class DynamicCalls : public testing::Test {
protected:
    void SetUp() override {
        engine = std::make_unique<stand_in::Engine>();
        ASSERT_TRUE(engine->load(WARFIELD_LIBRARY_PATH)) << stand_in::log().dump();
        cls = engine->extension_class("Warfield");
        ASSERT_NE(cls, nullptr);
        w = engine->instantiate("Warfield");
        ASSERT_NE(w, nullptr);
        engine->add_child(engine->root(), static_cast<stand_in::Node*>(w));
        stranger = engine->make_node("Stranger");
    }

    void TearDown() override {
        if (engine == nullptr) return;
        const stand_in::Engine::Leaks leaks = engine->shutdown();
        EXPECT_TRUE(leaks.none()) << "objects " << leaks.objects << ", strings " << leaks.strings;
        engine.reset();
    }

    CallResult call(const std::string& method, const std::vector<Variant>& args) {
        // An array of exactly as many pointers as arguments, so that ASan
        // reports any read past the count.
        std::unique_ptr<const Variant*[]> ptrs;
        if (!args.empty()) ptrs = std::make_unique<const Variant*[]>(args.size());
        for (std::size_t i = 0; i < args.size(); ++i) ptrs[i] = &args[i];
        return stand_in::call_method(w, method, ptrs.get(), static_cast<int64_t>(args.size()));
    }

    // A value of each argument's declared type.
    static std::vector<Variant> valid_args(const MethodRecord& m) {
        std::vector<Variant> args;
        for (const auto& a : m.arguments) {
            switch (a.type) {
                case GDEXTENSION_VARIANT_TYPE_BOOL: args.emplace_back(false); break;
                case GDEXTENSION_VARIANT_TYPE_INT: args.emplace_back(int64_t{0}); break;
                case GDEXTENSION_VARIANT_TYPE_FLOAT: args.emplace_back(0.0); break;
                case GDEXTENSION_VARIANT_TYPE_VECTOR2: args.emplace_back(Vector2{}); break;
                case GDEXTENSION_VARIANT_TYPE_VECTOR2I: args.emplace_back(Vector2i{}); break;
                default: ADD_FAILURE() << m.name << " declares an argument of type " << a.type;
            }
        }
        return args;
    }

    // Values no engine conversion turns into the declared type.
    std::vector<Variant> unconvertible(uint32_t type) {
        std::vector<Variant> v = {Variant("12"), Variant::name("x"), Variant::path("A/B"), Variant(),
                                  Variant(static_cast<Object*>(stranger)), Variant(stand_in::Rect2{{1, 2}, {3, 4}})};
        if (type == GDEXTENSION_VARIANT_TYPE_VECTOR2 || type == GDEXTENSION_VARIANT_TYPE_VECTOR2I) {
            v.emplace_back(int64_t{3});
            v.emplace_back(3.5);
            v.emplace_back(true);
        } else {
            v.emplace_back(Vector2{1, 2});
            v.emplace_back(Vector2i{1, 2});
        }
        return v;
    }

    // Values of another type that the engine converts to the declared one.
    static std::vector<Variant> convertible(uint32_t type) {
        switch (type) {
            case GDEXTENSION_VARIANT_TYPE_BOOL: return {Variant(int64_t{2}), Variant(0.5)};
            case GDEXTENSION_VARIANT_TYPE_INT: return {Variant(true), Variant(2.75), Variant(-1e300)};
            case GDEXTENSION_VARIANT_TYPE_FLOAT: return {Variant(int64_t{3}), Variant(true)};
            case GDEXTENSION_VARIANT_TYPE_VECTOR2: return {Variant(Vector2i{3, -4})};
            case GDEXTENSION_VARIANT_TYPE_VECTOR2I: return {Variant(Vector2{1.7f, -1.7f})};
            default: return {};
        }
    }

    int64_t total_active() {
        int64_t n = 0;
        for (const char* m : {"get_active_projectile_count", "get_active_character_count",
                              "get_active_target_count", "get_active_ground_item_count"}) {
            const CallResult r = call(m, {});
            EXPECT_TRUE(r.ok()) << m;
            n += r.value.to_int();
        }
        return n;
    }

    std::unique_ptr<stand_in::Engine> engine;
    const stand_in::ExtensionClass* cls = nullptr;
    Object* w = nullptr;
    stand_in::Node* stranger = nullptr;
};

TEST_F(DynamicCalls, TooFewArgumentsAreRefusedByEveryMethod) {
    ASSERT_EQ(cls->methods.size(), 55u);
    // A record in each pool (slot 0, which the id 0 of a refused unregister
    // or setter would name), so that a refused call that ran shows.
    for (const MethodRecord& m : cls->methods) {
        if (m.name.rfind("register_", 0) == 0) {
            ASSERT_TRUE(call(m.name, valid_args(m)).ok()) << m.name;
        }
    }
    ASSERT_EQ(total_active(), 4);
    for (const MethodRecord& m : cls->methods) {
        const std::vector<Variant> full = valid_args(m);
        for (std::size_t k = 0; k < full.size(); ++k) {
            const CallResult r = call(m.name, std::vector<Variant>(full.begin(), full.begin() + k));
            EXPECT_EQ(r.error.error, GDEXTENSION_CALL_ERROR_TOO_FEW_ARGUMENTS) << m.name << " with " << k;
            EXPECT_EQ(r.error.expected, static_cast<int32_t>(full.size())) << m.name;
            EXPECT_TRUE(r.value.is_nil()) << m.name;
        }
    }
    EXPECT_EQ(total_active(), 4) << "a refused registration or unregistration ran";
    const CallResult grid = call("get_grid_size", {});
    ASSERT_TRUE(grid.ok());
    EXPECT_EQ(grid.value.to_vector2(), (Vector2{80, 98})) << "a refused set_grid_size ran";
}

TEST_F(DynamicCalls, UnconvertibleValuesAreRefusedAtTheirPosition) {
    for (const MethodRecord& m : cls->methods) {
        const std::vector<Variant> full = valid_args(m);
        for (std::size_t i = 0; i < full.size(); ++i) {
            for (const Variant& bad : unconvertible(m.arguments[i].type)) {
                std::vector<Variant> args = full;
                args[i] = bad;
                const CallResult r = call(m.name, args);
                EXPECT_EQ(r.error.error, GDEXTENSION_CALL_ERROR_INVALID_ARGUMENT) << m.name << " argument " << i;
                EXPECT_EQ(r.error.argument, static_cast<int32_t>(i)) << m.name;
                EXPECT_EQ(r.error.expected, static_cast<int32_t>(m.arguments[i].type)) << m.name;
            }
        }
    }
    EXPECT_EQ(total_active(), 0) << "a refused registration ran";
}

TEST_F(DynamicCalls, ConvertibleValuesRunWithTheEnginesConversion) {
    int64_t registered = 0;
    for (const MethodRecord& m : cls->methods) {
        const std::vector<Variant> full = valid_args(m);
        for (std::size_t i = 0; i < full.size(); ++i) {
            for (const Variant& other : convertible(m.arguments[i].type)) {
                std::vector<Variant> args = full;
                args[i] = other;
                const CallResult r = call(m.name, args);
                EXPECT_TRUE(r.ok()) << m.name << " argument " << i << ": error " << r.error.error;
                registered += m.name.rfind("register_", 0) == 0 ? 1 : 0;
            }
        }
    }
    // Unregister calls with id 0 (a bool or float turned into 0 or 1) may
    // have released some of them; none ran twice or got lost.
    EXPECT_LE(total_active(), registered);
    const CallResult set = call("set_grid_size", {Variant(Vector2i{3, -4})});
    ASSERT_TRUE(set.ok());
    const CallResult get = call("get_grid_size", {});
    ASSERT_TRUE(get.ok());
    EXPECT_EQ(get.value.to_vector2(), (Vector2{3, -4}));
}

TEST_F(DynamicCalls, ExtraArgumentsAreIgnoredByEveryMethod) {
    int64_t next_target = 0;
    for (const MethodRecord& m : cls->methods) {
        std::vector<Variant> args = valid_args(m);
        args.emplace_back("extra");
        args.emplace_back(static_cast<Object*>(stranger));
        args.emplace_back();
        const CallResult r = call(m.name, args);
        EXPECT_TRUE(r.ok()) << m.name << ": error " << r.error.error;
        if (m.name == "register_target") {
            EXPECT_EQ(r.value.to_int(), next_target++);
        }
    }
    // Each pool's unregister (of id 0) comes right after its register.
    EXPECT_EQ(total_active(), 0);
}

}  // namespace
