// The stand-in host against the engine's own rules, through the same
// interface functions the library fetches: if the host drifted from the
// engine, the boundary tests above would prove the wrong thing.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <numbers>
#include <regex>
#include <sstream>

#include "host/array.h"
#include "host/engine.h"
#include "host/interface.h"
#include "host/strings.h"

namespace boundary {
namespace {

using namespace whost;

template <typename F>
F fetch(const char* name) {
    return reinterpret_cast<F>(get_proc_address(name));
}

class HostModel : public ::testing::Test {
protected:
    void TearDown() override {
        const Engine::Leaks leaks = engine.shutdown();
        EXPECT_TRUE(leaks.none());
    }
    Engine engine{Engine::Options{4, 5, 0, true, false}};
};

TEST_F(HostModel, EveryFunctionTheInterfaceHeaderNamesIsOffered) {
    std::ifstream in(WARFIELD_ABI_HEADER);
    std::stringstream text;
    text << in.rdbuf();
    const std::string header = text.str();
    const std::regex quoted("/\\* \"([a-z0-9_]+)\"(, \"([a-z0-9_]+)\")?");
    size_t names = 0;
    for (auto it = std::sregex_iterator(header.begin(), header.end(), quoted); it != std::sregex_iterator(); ++it) {
        for (int group : {1, 3}) {
            const std::string name = (*it)[group].str();
            if (!name.empty()) {
                ++names;
                EXPECT_NE(get_proc_address(name.c_str()), nullptr) << name;
            }
        }
    }
    EXPECT_GT(names, 30u);
    EXPECT_EQ(get_proc_address("no_such_function"), nullptr);
    EXPECT_EQ(get_proc_address("mem_alloc2"), nullptr) << "a 4.6 function";
}

TEST(HostVersion, AnOlderHostLacksTheNewerFunctions) {
    Engine engine(Engine::Options{4, 4, 0, true, false});
    EXPECT_EQ(get_proc_address("get_godot_version2"), nullptr);
    EXPECT_EQ(get_proc_address("classdb_register_extension_class5"), nullptr);
    EXPECT_NE(get_proc_address("classdb_construct_object2"), nullptr);
    EXPECT_NE(get_proc_address("get_godot_version"), nullptr);
    EXPECT_TRUE(engine.shutdown().none());
}

TEST_F(HostModel, StrictConversionFollowsTheEngineTable) {
    auto strict = fetch<GDExtensionInterfaceVariantCanConvertStrict>("variant_can_convert_strict");
    struct Pair {
        GDExtensionVariantType from, to;
        bool ok;
    };
    const Pair pairs[] = {
        {GDEXTENSION_VARIANT_TYPE_INT, GDEXTENSION_VARIANT_TYPE_FLOAT, true},
        {GDEXTENSION_VARIANT_TYPE_FLOAT, GDEXTENSION_VARIANT_TYPE_INT, true},
        {GDEXTENSION_VARIANT_TYPE_BOOL, GDEXTENSION_VARIANT_TYPE_INT, true},
        {GDEXTENSION_VARIANT_TYPE_INT, GDEXTENSION_VARIANT_TYPE_BOOL, true},
        {GDEXTENSION_VARIANT_TYPE_VECTOR2, GDEXTENSION_VARIANT_TYPE_VECTOR2I, true},
        {GDEXTENSION_VARIANT_TYPE_VECTOR2I, GDEXTENSION_VARIANT_TYPE_VECTOR2, true},
        {GDEXTENSION_VARIANT_TYPE_STRING, GDEXTENSION_VARIANT_TYPE_STRING_NAME, true},
        {GDEXTENSION_VARIANT_TYPE_NIL, GDEXTENSION_VARIANT_TYPE_OBJECT, true},
        {GDEXTENSION_VARIANT_TYPE_STRING, GDEXTENSION_VARIANT_TYPE_INT, false},
        {GDEXTENSION_VARIANT_TYPE_STRING, GDEXTENSION_VARIANT_TYPE_BOOL, false},
        {GDEXTENSION_VARIANT_TYPE_OBJECT, GDEXTENSION_VARIANT_TYPE_VECTOR2, false},
        {GDEXTENSION_VARIANT_TYPE_NIL, GDEXTENSION_VARIANT_TYPE_INT, false},
        {GDEXTENSION_VARIANT_TYPE_FLOAT, GDEXTENSION_VARIANT_TYPE_VECTOR2, false},
        {GDEXTENSION_VARIANT_TYPE_VECTOR2, GDEXTENSION_VARIANT_TYPE_FLOAT, false},
    };
    for (const Pair& p : pairs) {
        EXPECT_EQ(strict(p.from, p.to) != 0, p.ok) << type_name(p.from) << " -> " << type_name(p.to);
    }
}

TEST_F(HostModel, ValueConversionsTruncateAsTheEngineDoes) {
    auto to_int = fetch<GDExtensionInterfaceGetVariantToTypeConstructor>("get_variant_to_type_constructor")(
        GDEXTENSION_VARIANT_TYPE_INT);
    auto to_vec2i = fetch<GDExtensionInterfaceGetVariantToTypeConstructor>("get_variant_to_type_constructor")(
        GDEXTENSION_VARIANT_TYPE_VECTOR2I);
    auto int_of = [&](Variant v) {
        int64_t out = 0;
        to_int(&out, v.raw());
        return out;
    };
    EXPECT_EQ(int_of(2.75), 2);
    EXPECT_EQ(int_of(-2.75), -2);
    EXPECT_EQ(int_of(true), 1);
    EXPECT_EQ(int_of(std::nan("")), std::numeric_limits<int64_t>::min());
    EXPECT_EQ(int_of(1e300), std::numeric_limits<int64_t>::min());
    Variant v(Vector2{3.9f, -1.9f});
    Vector2i out;
    to_vec2i(&out, v.raw());
    EXPECT_EQ(out, (Vector2i{3, -1}));
    EXPECT_FALSE(Variant(0.0).to_bool());
    EXPECT_TRUE(Variant(Vector2{0, 1}).to_bool());
    EXPECT_FALSE(Variant().to_bool());
}

TEST_F(HostModel, MethodBindsAreFoundByExactHashAlongTheParentChain) {
    auto bind = fetch<GDExtensionInterfaceClassdbGetMethodBind>("classdb_get_method_bind");
    const Name node2d("Node2D"), node("Node"), get_node("get_node_or_null"), call("call"), add_child("add_child");
    EXPECT_NE(bind(node2d.ptr(), get_node.ptr(), 2734337346), nullptr);
    EXPECT_NE(bind(node2d.ptr(), call.ptr(), 3400424181), nullptr);
    EXPECT_NE(bind(node.ptr(), add_child.ptr(), 3070154285), nullptr) << "a compatibility hash";
    log().clear();
    EXPECT_EQ(bind(node2d.ptr(), get_node.ptr(), 2734337347), nullptr);
    EXPECT_EQ(log().engine_errors(), 1u);
    log().clear();
}

TEST_F(HostModel, ObjectCallAnswersNilForAMissingMethodAndRefusesPtrcall) {
    auto bind = fetch<GDExtensionInterfaceClassdbGetMethodBind>("classdb_get_method_bind");
    auto call = fetch<GDExtensionInterfaceObjectMethodBindCall>("object_method_bind_call");
    auto ptrcall = fetch<GDExtensionInterfaceObjectMethodBindPtrcall>("object_method_bind_ptrcall");
    const Name object("Object"), call_name("call");
    const GDExtensionMethodBindPtr object_call = bind(object.ptr(), call_name.ptr(), 3400424181);
    Node2D* n = engine.make_node2d("n");
    engine.set_script_method(n, "answer", [](Object&) { return Variant(int64_t{42}); });
    for (const char* method : {"answer", "missing"}) {
        const Variant name = Variant::name(method);
        const GDExtensionConstVariantPtr args[1] = {name.raw()};
        VariantData ret;
        GDExtensionCallError err{};
        call(object_call, n, args, 1, &ret, &err);
        Variant result = Variant::adopt(ret);
        if (std::string(method) == "answer") {
            EXPECT_EQ(err.error, GDEXTENSION_CALL_OK);
            EXPECT_EQ(result.to_int(), 42);
        } else {
            EXPECT_EQ(err.error, GDEXTENSION_CALL_ERROR_INVALID_METHOD);
            EXPECT_TRUE(result.is_nil());
        }
    }
    ptrcall(object_call, n, nullptr, nullptr);
    EXPECT_EQ(log().engine_errors(), 1u) << "vararg binds have no ptrcall";
    log().clear();
    engine.free(n);
}

TEST_F(HostModel, FreedObjectsAreNoLongerFoundByTheirId) {
    auto from_id = fetch<GDExtensionInterfaceObjectGetInstanceFromId>("object_get_instance_from_id");
    Node2D* parent = engine.make_node2d("p");
    Node2D* child = engine.make_node2d("c");
    engine.add_child(engine.root(), parent);
    engine.add_child(parent, child);
    const uint64_t pid = parent->id, cid = child->id;
    EXPECT_GT(pid >> 32, 0u) << "ids use their high bits";
    EXPECT_EQ(from_id(cid), child);
    engine.free(parent);  // frees its children too
    EXPECT_EQ(from_id(pid), nullptr);
    EXPECT_EQ(from_id(cid), nullptr);
}

TEST_F(HostModel, GlobalPositionsComposeParentTransforms) {
    Node2D* parent = engine.make_node2d("p", {100, 50});
    Node2D* child = engine.make_node2d("c", {10, -5});
    engine.add_child(engine.root(), parent);
    engine.add_child(parent, child);
    EXPECT_EQ(global_transform(child).origin, (Vector2{110, 45}));
    set_global_position(child, {0, 0});
    EXPECT_EQ(child->position, (Vector2{-100, -50}));
    parent->rotation = std::numbers::pi_v<float> / 2;
    child->position = {10, 0};
    const Vector2 g = global_transform(child).origin;
    EXPECT_NEAR(g.x, 100.0f, 1e-4f);
    EXPECT_NEAR(g.y, 60.0f, 1e-4f);
    EXPECT_EQ(find_node(parent, "c"), child);
    EXPECT_EQ(find_node(child, ".."), parent);
    EXPECT_EQ(find_node(engine.root(), "p/c"), child);
    EXPECT_EQ(find_node(parent, "x"), nullptr);
}

TEST_F(HostModel, BuiltinMethodsAreFoundOnlyUnderTheirHash) {
    auto method = fetch<GDExtensionInterfaceVariantGetPtrBuiltinMethod>("variant_get_ptr_builtin_method");
    const Name resize("resize"), size("size");
    EXPECT_NE(method(GDEXTENSION_VARIANT_TYPE_ARRAY, resize.ptr(), 848867239), nullptr);
    EXPECT_NE(method(GDEXTENSION_VARIANT_TYPE_ARRAY, size.ptr(), 3173160232), nullptr);
    EXPECT_EQ(method(GDEXTENSION_VARIANT_TYPE_ARRAY, resize.ptr(), 848867240), nullptr);
    EXPECT_EQ(log().engine_errors(), 1u);
    log().clear();
}

TEST_F(HostModel, TypedArraysRefuseRetypingAndFillWithTheirType) {
    alignas(8) unsigned char a[8];
    array_new(a);
    ASSERT_TRUE(array_set_typed(a, GDEXTENSION_VARIANT_TYPE_INT, ""));
    EXPECT_FALSE(array_set_typed(a, GDEXTENSION_VARIANT_TYPE_INT, ""));
    EXPECT_EQ(array_resize(a, 2), 0);
    EXPECT_EQ(array_at(a, 1)->type, static_cast<uint32_t>(GDEXTENSION_VARIANT_TYPE_INT));
    EXPECT_EQ(array_at(a, 2), nullptr);
    const Variant text("no");
    EXPECT_FALSE(array_push_back(a, text.raw()));
    EXPECT_EQ(array_size(a), 2);
    EXPECT_EQ(log().engine_errors(), 3u);
    log().clear();
    array_destroy(a);
}

}  // namespace
}  // namespace boundary
