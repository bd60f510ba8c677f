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
#include <string>
#include <vector>

#include "stand_in/array.h"
#include "stand_in/callable.h"
#include "stand_in/engine.h"
#include "stand_in/interface.h"
#include "stand_in/strings.h"

namespace boundary {
namespace {

using namespace stand_in;

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

// ---- The tree's signals, reached as an extension reaches them ----

// What one custom callable heard: each node it was handed, as it was then.
struct Heard {
    std::string name;
    bool inside_tree;
    bool listed;  // its parent still counts it among its children
    friend bool operator==(const Heard&, const Heard&) = default;
};

struct Ear {
    std::vector<Heard> heard;
    int frees = 0;

    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const Heard& h : heard) {
            out.push_back(h.name);
        }
        return out;
    }
};

void hear(void* userdata, const GDExtensionConstVariantPtr* args, GDExtensionInt count, GDExtensionVariantPtr,
          GDExtensionCallError* error) {
    *error = {GDEXTENSION_CALL_OK, 0, 0};
    ASSERT_EQ(count, 1);
    Node* n = as_node(var_to_object(args[0]));
    ASSERT_NE(n, nullptr);
    const bool listed = n->parent != nullptr &&
                        std::find(n->parent->children.begin(), n->parent->children.end(), n) != n->parent->children.end();
    static_cast<Ear*>(userdata)->heard.push_back({n->name, n->inside_tree, listed});
}

void forget(void* userdata) { ++static_cast<Ear*>(userdata)->frees; }

using Names = std::vector<std::string>;

class TreeSignalsModel : public HostModel {
protected:
    // variant_call(object, method, args) through the interface.
    Variant call(const Variant& self, const char* method, std::vector<const Variant*> args,
                 GDExtensionCallError* error = nullptr) {
        const Name name(method);
        std::vector<GDExtensionConstVariantPtr> raw;
        for (const Variant* a : args) {
            raw.push_back(a->raw());
        }
        VariantData ret;
        GDExtensionCallError local{};
        variant_call(const_cast<VariantData*>(self.raw()), name.ptr(), raw.data(), static_cast<GDExtensionInt>(raw.size()),
                     &ret, error != nullptr ? error : &local);
        return Variant::adopt(ret);
    }

    Variant tree_of(Node* node) { return call(Variant(static_cast<Object*>(node)), "get_tree", {}); }

    // A custom callable as a Variant, made as an extension makes one: the
    // callable, a Variant of it, then the extension's own copy destroyed.
    Variant callable_for(Ear& ear, uint64_t object_id) {
        GDExtensionCallableCustomInfo2 info{};
        info.callable_userdata = &ear;
        info.object_id = object_id;
        info.call_func = hear;
        info.free_func = forget;
        alignas(8) unsigned char callable[kCallableSize];
        create(callable, &info);
        Variant v;
        from_callable(v.raw(), callable);
        destroy_callable(callable);
        return v;
    }

    int64_t connect(const Variant& tree, const char* signal, const Variant& callable) {
        const Variant name = Variant::name(signal);
        GDExtensionCallError error{};
        const Variant r = call(tree, "connect", {&name, &callable}, &error);
        EXPECT_EQ(error.error, GDEXTENSION_CALL_OK);
        return r.to_int();
    }

    void listen(Ear& added, Ear& removed, Ear& renamed, uint64_t object_id = 0) {
        const Variant tree = tree_of(engine.root());
        EXPECT_EQ(connect(tree, "node_added", callable_for(added, object_id)), 0);
        EXPECT_EQ(connect(tree, "node_removed", callable_for(removed, object_id)), 0);
        EXPECT_EQ(connect(tree, "node_renamed", callable_for(renamed, object_id)), 0);
    }

    GDExtensionInterfaceVariantCall variant_call = fetch<GDExtensionInterfaceVariantCall>("variant_call");
    GDExtensionInterfaceCallableCustomCreate2 create =
        fetch<GDExtensionInterfaceCallableCustomCreate2>("callable_custom_create2");
    GDExtensionVariantFromTypeConstructorFunc from_callable =
        fetch<GDExtensionInterfaceGetVariantFromTypeConstructor>("get_variant_from_type_constructor")(
            GDEXTENSION_VARIANT_TYPE_CALLABLE);
    GDExtensionPtrDestructor destroy_callable =
        fetch<GDExtensionInterfaceVariantGetPtrDestructor>("variant_get_ptr_destructor")(GDEXTENSION_VARIANT_TYPE_CALLABLE);
};

TEST_F(TreeSignalsModel, EachNodeIsReportedWhereTheEngineReportsIt) {
    Ear added, removed, renamed;
    listen(added, removed, renamed);
    Node* a = engine.make_node("A");
    Node* b = engine.make_node("B");
    Node* c = engine.make_node("C");
    Node* d = engine.make_node("D");
    engine.add_child(a, b);
    engine.add_child(a, c);
    engine.add_child(c, d);
    EXPECT_TRUE(added.heard.empty()) << "outside the tree nothing is reported";
    engine.add_child(engine.root(), a);
    EXPECT_EQ(added.names(), (Names{"A", "B", "C", "D"})) << "parents first";

    // Renamed inside the tree only, after the name (auto-numbered) is set.
    engine.set_name(c, "B");
    engine.set_name(c, "C7");
    engine.set_name(c, "C7");
    EXPECT_EQ(renamed.names(), (Names{"B2", "C7", "C7"}));

    // Leaving: children first, last child first, each still in the tree and
    // still its parent's child.
    engine.remove_child(engine.root(), a);
    EXPECT_EQ(removed.heard, (std::vector<Heard>{{"D", true, true}, {"C7", true, true}, {"B", true, true},
                                                 {"A", true, true}}));
    engine.set_name(b, "E");
    EXPECT_EQ(renamed.heard.size(), 3u);

    // Reparenting leaves and enters again; freeing leaves first; a deferred
    // free reports when the queue is flushed.
    engine.add_child(engine.root(), a);
    added.heard.clear();
    removed.heard.clear();
    engine.reparent(c, engine.root());
    EXPECT_EQ(removed.names(), (Names{"D", "C7"}));
    EXPECT_EQ(added.names(), (Names{"C7", "D"}));
    removed.heard.clear();
    engine.free(c);
    EXPECT_EQ(removed.names(), (Names{"D", "C7"}));
    removed.heard.clear();
    engine.queue_free(a);
    EXPECT_TRUE(removed.heard.empty());
    engine.physics_frame(0.0);
    EXPECT_EQ(removed.names(), (Names{"E", "A"}));

    // A taken name given by add_child is made unique the engine's fast way.
    Node* one = engine.make_node("Twin");
    Node* two = engine.make_node("Twin");
    engine.add_child(engine.root(), one);
    engine.add_child(engine.root(), two);
    EXPECT_EQ(two->name.rfind("@Node@", 0), 0u) << two->name;
    EXPECT_EQ(log().engine_errors(), 0u) << log().dump();
    engine.disconnect_tree_signals();  // before the ears go
}

TEST_F(TreeSignalsModel, GetTreeAndConnectAnswerAsTheEngineDoes) {
    const Variant tree = tree_of(engine.root());
    ASSERT_EQ(tree.type(), GDEXTENSION_VARIANT_TYPE_OBJECT);
    EXPECT_EQ(tree.to_object(), engine.tree());
    EXPECT_TRUE(tree.to_object()->is_class("SceneTree"));

    Node* loose = engine.make_node("loose");
    const Variant none = tree_of(loose);
    EXPECT_EQ(none.type(), GDEXTENSION_VARIANT_TYPE_OBJECT);
    EXPECT_EQ(none.to_object(), nullptr);
    EXPECT_TRUE(log().contains("Parameter \"data.tree\" is null.")) << log().dump();
    log().clear();

    Ear ear;
    const Variant callable = callable_for(ear, 0);
    EXPECT_EQ(connect(tree, "node_removed", callable), 0);
    EXPECT_EQ(log().engine_errors(), 0u) << log().dump();
    EXPECT_EQ(connect(tree, "node_removed", callable), 31);
    EXPECT_TRUE(log().contains("Signal 'node_removed' is already connected to given callable '<CallableCustom>'"));
    EXPECT_EQ(connect(tree, "node_gone", callable), 31);
    EXPECT_TRUE(log().contains("Attempt to connect nonexistent signal 'node_gone'"));
    Variant null_callable;
    var_destroy(null_callable.raw());
    alignas(8) const unsigned char zero[kCallableSize] = {};
    var_from_slot(null_callable.raw(), GDEXTENSION_VARIANT_TYPE_CALLABLE, zero);
    EXPECT_EQ(connect(tree, "node_added", null_callable), 31);
    EXPECT_TRUE(log().contains("the provided callable is null"));
    EXPECT_EQ(log().engine_errors(), 3u);
    EXPECT_EQ(Engine::tree_connections("node_removed"), 1u);
    EXPECT_EQ(Engine::tree_connections("node_added"), 0u);

    // The method bind's own checks come before any of that.
    GDExtensionCallError error{};
    const Variant name = Variant::name("node_added");
    call(tree, "connect", {&name}, &error);
    EXPECT_EQ(error.error, GDEXTENSION_CALL_ERROR_TOO_FEW_ARGUMENTS);
    const Variant number(int64_t{1});
    call(tree, "connect", {&name, &number}, &error);
    EXPECT_EQ(error.error, GDEXTENSION_CALL_ERROR_INVALID_ARGUMENT);
    EXPECT_EQ(error.argument, 1);
    EXPECT_EQ(error.expected, GDEXTENSION_VARIANT_TYPE_CALLABLE);
    EXPECT_EQ(log().engine_errors(), 3u);

    // Other dynamic calls reach the class's modelled binds, else say they
    // are not modelled.
    const Variant root(static_cast<Object*>(engine.root()));
    const Variant children = call(root, "get_child_count", {}, &error);
    EXPECT_EQ(error.error, GDEXTENSION_CALL_OK);
    EXPECT_EQ(children.type(), GDEXTENSION_VARIANT_TYPE_INT);
    EXPECT_EQ(log().engine_errors(), 3u);
    call(root, "get_process_priority", {}, &error);
    EXPECT_EQ(error.error, GDEXTENSION_CALL_ERROR_INVALID_METHOD);
    EXPECT_TRUE(log().contains("is not modelled by the stand-in host"));
    log().clear();
    engine.free(loose);
    engine.disconnect_tree_signals();
}

TEST_F(TreeSignalsModel, ConnectionsGoWithTheObjectTheirCallableNames) {
    Node* owner = engine.make_node("owner");
    Node* other = engine.make_node("other");
    engine.add_child(engine.root(), owner);
    engine.add_child(engine.root(), other);
    Ear ear;
    {
        const Variant tree = tree_of(owner);
        const Variant callable = callable_for(ear, owner->id);
        EXPECT_EQ(connect(tree, "node_removed", callable), 0);
        EXPECT_EQ(connect(tree, "node_renamed", callable), 0);
    }
    EXPECT_EQ(ear.frees, 0) << "the connections hold it";
    engine.set_name(other, "renamed");
    EXPECT_EQ(ear.names(), (Names{"renamed"}));

    // Its own leaving is still reported; then both connections go and the
    // callable is freed once.
    engine.free(owner);
    EXPECT_EQ(ear.names(), (Names{"renamed", "owner"}));
    EXPECT_EQ(Engine::tree_connections("node_removed"), 0u);
    EXPECT_EQ(Engine::tree_connections("node_renamed"), 0u);
    EXPECT_EQ(ear.frees, 1);
    EXPECT_EQ(counters().callable_frees, 1u);
    EXPECT_EQ(live_custom_callables(), 0u);
}

TEST_F(TreeSignalsModel, BlockedSignalsReachNoOneAndTheTreeFreesWhatIsLeft) {
    Ear added, removed, renamed;
    listen(added, removed, renamed);
    Node* n = engine.make_node("n");
    engine.block_tree_signals(true);
    engine.add_child(engine.root(), n);
    engine.set_name(n, "m");
    EXPECT_TRUE(added.heard.empty());
    EXPECT_TRUE(renamed.heard.empty());
    engine.block_tree_signals(false);
    engine.set_name(n, "k");
    EXPECT_EQ(renamed.names(), (Names{"k"}));

    engine.disconnect_tree_signals();
    EXPECT_EQ(Engine::tree_connections("node_renamed"), 0u);
    EXPECT_EQ(renamed.frees, 1);
    engine.set_name(n, "j");
    EXPECT_EQ(renamed.heard.size(), 1u);

    // Connections to no object last until the tree goes, which reports the
    // whole tree leaving first.
    listen(added, removed, renamed);
    const Engine::Leaks leaks = engine.shutdown();
    EXPECT_TRUE(leaks.none());
    EXPECT_EQ(removed.names(), (Names{"j", "root"}));
    EXPECT_EQ(added.frees + removed.frees + renamed.frees, 6);
}

}  // namespace
}  // namespace boundary
