// What the engine learns about Warfield when the library registers it: the
// class, its 55 methods in order with their arguments, types, metadata and
// flags, the property, the two virtuals, and at which level it all happens.
#include <algorithm>
#include <string>

#include "expected_surface.h"
#include "support.h"

namespace boundary {
namespace {

uint32_t variant_type(A a) {
    switch (a) {
        case A::Int:
        case A::Id: return GDEXTENSION_VARIANT_TYPE_INT;
        case A::Float: return GDEXTENSION_VARIANT_TYPE_FLOAT;
        case A::Bool: return GDEXTENSION_VARIANT_TYPE_BOOL;
        case A::Vec2: return GDEXTENSION_VARIANT_TYPE_VECTOR2;
        case A::Vec2i: return GDEXTENSION_VARIANT_TYPE_VECTOR2I;
    }
    return GDEXTENSION_VARIANT_TYPE_NIL;
}

uint32_t metadata(A a) {
    switch (a) {
        case A::Int: return GDEXTENSION_METHOD_ARGUMENT_METADATA_INT_IS_INT32;
        case A::Id: return GDEXTENSION_METHOD_ARGUMENT_METADATA_INT_IS_UINT64;
        case A::Float: return GDEXTENSION_METHOD_ARGUMENT_METADATA_REAL_IS_FLOAT;
        default: return GDEXTENSION_METHOD_ARGUMENT_METADATA_NONE;
    }
}

class Registration : public BoundaryTest {
protected:
    const whost::ExtensionClass& cls() { return *engine->extension_class("Warfield"); }
};

TEST_F(Registration, ClassIsAConcreteExposedNodeRegisteredAtTheSceneLevel) {
    ASSERT_EQ(whost::extension_classes().size(), 1u);
    const whost::ExtensionClass& c = cls();
    EXPECT_EQ(c.parent_name, "Node");
    EXPECT_EQ(c.registered_at_level, GDEXTENSION_INITIALIZATION_SCENE);
    EXPECT_EQ(c.funcs.is_virtual, 0);
    EXPECT_EQ(c.funcs.is_abstract, 0);
    EXPECT_EQ(c.funcs.is_exposed, 1);
    EXPECT_EQ(c.funcs.is_runtime, 0);
    EXPECT_NE(c.funcs.create_instance_func, nullptr);
    EXPECT_NE(c.funcs.free_instance_func, nullptr);
    // No generic property callbacks and no notification handler of its own.
    EXPECT_EQ(c.funcs.set_func, nullptr);
    EXPECT_EQ(c.funcs.get_func, nullptr);
    EXPECT_EQ(c.funcs.get_property_list_func, nullptr);
    EXPECT_EQ(c.funcs.property_can_revert_func, nullptr);
    EXPECT_EQ(c.funcs.notification_func, nullptr);
    EXPECT_TRUE(c.signals.empty());
    // Its only constants: the projectile kinds.
    EXPECT_EQ(c.constants, (std::vector<std::string>{"STRAIGHT", "LOB", "ARC", "TRACKING", "CATAPULT"}));
    EXPECT_TRUE(c.virtual_methods.empty());
}

TEST_F(Registration, MethodsArriveInTableOrderWithTheirArguments) {
    const auto& expected = expected_methods();
    const auto& methods = cls().methods;
    ASSERT_EQ(methods.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const whost::MethodRecord& m = methods[i];
        const ExpectedMethod& e = expected[i];
        SCOPED_TRACE(e.name);
        EXPECT_EQ(m.name, e.name) << "at position " << i + 1;
        ASSERT_EQ(m.arguments.size(), e.args.size());
        for (size_t k = 0; k < e.args.size(); ++k) {
            EXPECT_EQ(m.arguments[k].name, e.args[k].name) << "argument " << k + 1;
            EXPECT_EQ(m.arguments[k].type, variant_type(e.args[k].type)) << e.args[k].name;
            EXPECT_EQ(m.argument_metadata[k], metadata(e.args[k].type)) << e.args[k].name;
            EXPECT_EQ(m.arguments[k].hint, 0u);
            EXPECT_EQ(m.arguments[k].class_name, "");
        }
        EXPECT_TRUE(m.defaults.empty());
    }
    EXPECT_EQ(cls().method("register_projectile")->arguments.size(), 28u);
    EXPECT_EQ(cls().method("register_target")->arguments.size(), 20u);
    EXPECT_EQ(cls().method("register_character")->arguments.size(), 17u);
    EXPECT_EQ(cls().method("register_ground_item")->arguments.size(), 8u);
}

TEST_F(Registration, FlagsMarkExactlyTheReadOnlyMethodsConst) {
    size_t consts = 0;
    for (const ExpectedMethod& e : expected_methods()) {
        const whost::MethodRecord* m = cls().method(e.name);
        ASSERT_NE(m, nullptr) << e.name;
        EXPECT_EQ(m->is_const(), e.is_const) << e.name;
        EXPECT_NE(m->flags & GDEXTENSION_METHOD_FLAG_NORMAL, 0u) << e.name;
        EXPECT_EQ(m->flags & (GDEXTENSION_METHOD_FLAG_VARARG | GDEXTENSION_METHOD_FLAG_STATIC |
                              GDEXTENSION_METHOD_FLAG_VIRTUAL | GDEXTENSION_METHOD_FLAG_EDITOR),
                  0u)
            << e.name;
        EXPECT_NE(m->call, nullptr);
        EXPECT_NE(m->ptrcall, nullptr);
        consts += m->is_const() ? 1 : 0;
    }
    EXPECT_EQ(consts, 9u);  // four queries, four counts, get_grid_size
}

TEST_F(Registration, ResultsAreDescribedByTypeAndMetadata) {
    for (const ExpectedMethod& e : expected_methods()) {
        const whost::MethodRecord* m = cls().method(e.name);
        SCOPED_TRACE(e.name);
        ASSERT_NE(m, nullptr);
        switch (e.result) {
            case R::None: EXPECT_FALSE(m->has_return); break;
            case R::Int:
                ASSERT_TRUE(m->has_return);
                EXPECT_EQ(m->return_info.type, static_cast<uint32_t>(GDEXTENSION_VARIANT_TYPE_INT));
                EXPECT_EQ(m->return_metadata, static_cast<uint32_t>(GDEXTENSION_METHOD_ARGUMENT_METADATA_INT_IS_INT32));
                break;
            case R::Vec2:
                ASSERT_TRUE(m->has_return);
                EXPECT_EQ(m->return_info.type, static_cast<uint32_t>(GDEXTENSION_VARIANT_TYPE_VECTOR2));
                EXPECT_EQ(m->return_metadata, 0u);
                break;
            case R::IdArray:
                // An Array of int, as the editor and typed scripts see it.
                ASSERT_TRUE(m->has_return);
                EXPECT_EQ(m->return_info.type, static_cast<uint32_t>(GDEXTENSION_VARIANT_TYPE_ARRAY));
                EXPECT_EQ(m->return_info.hint, 31u);
                EXPECT_EQ(m->return_info.hint_string, "int");
                break;
        }
    }
}

TEST_F(Registration, GridSizeIsAPlainVector2PropertyOverItsAccessors) {
    ASSERT_EQ(cls().properties.size(), 1u);
    const whost::PropertyEntry& p = cls().properties[0];
    EXPECT_EQ(p.info.name, "grid_size");
    EXPECT_EQ(p.info.type, static_cast<uint32_t>(GDEXTENSION_VARIANT_TYPE_VECTOR2));
    EXPECT_EQ(p.info.hint, 0u);
    EXPECT_EQ(p.info.hint_string, "");
    EXPECT_EQ(p.info.class_name, "");
    EXPECT_EQ(p.info.usage, 6u);  // storage + editor
    EXPECT_EQ(p.setter, "set_grid_size");
    EXPECT_EQ(p.getter, "get_grid_size");
    EXPECT_EQ(p.index, -1);
}

TEST_F(Registration, OnlyPhysicsProcessAndReadyAreFoundAmongTheVirtuals) {
    using namespace whost::virtual_hash;
    const whost::ExtensionClass& c = cls();
    EXPECT_TRUE(whost::class_has_virtual(c, "_physics_process", kDelta));
    EXPECT_TRUE(whost::class_has_virtual(c, "_ready", kNoArgs));
    for (const char* name : {"_process", "_enter_tree", "_exit_tree", "_input", "_unhandled_input",
                             "_shortcut_input", "_unhandled_key_input", "_get_configuration_warnings"}) {
        EXPECT_FALSE(whost::class_has_virtual(c, name, kNoArgs)) << name;
        EXPECT_FALSE(whost::class_has_virtual(c, name, kDelta)) << name;
        EXPECT_FALSE(whost::class_has_virtual(c, name, kInputEvent)) << name;
    }
    // A signature the class did not override is not the override.
    EXPECT_FALSE(whost::class_has_virtual(c, "_physics_process", kNoArgs));
    EXPECT_FALSE(whost::class_has_virtual(c, "_ready", kDelta));
}

TEST_F(Registration, ReadyTurnsOnPhysicsProcessingOnlyAndLooksEachVirtualUpOnce) {
    Object* w = add_warfield();
    auto* node = static_cast<Node*>(w);
    EXPECT_TRUE(node->physics_processing);
    EXPECT_FALSE(node->processing);
    EXPECT_FALSE(node->input_processing);
    const uint64_t lookups = whost::counters().virtual_lookups;
    for (int i = 0; i < 20; ++i) {
        frame();
    }
    EXPECT_EQ(whost::counters().virtual_lookups, lookups) << "the answer is cached per object";
    EXPECT_EQ(w->virtuals.size(), lookups);
}

TEST_F(Registration, InstancesAreNodesThatGetTheirPostInitializeNotification) {
    Object* w = engine->instantiate("Warfield");
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->is_class("Node"));
    EXPECT_TRUE(w->is_class("Warfield"));
    EXPECT_EQ(w->kind, whost::Kind::node);
    EXPECT_TRUE(w->postinitialized);
    EXPECT_EQ(w->notifications_received, 1u);
    EXPECT_EQ(cls().live_instances, 1u);
    // The engine may also construct it without the notification.
    whost::Object* quiet = whost::construct_without_postinitialize("Warfield");
    ASSERT_NE(quiet, nullptr);
    EXPECT_FALSE(quiet->postinitialized);
    EXPECT_EQ(quiet->notifications_received, 0u);
    engine->free(w);
    engine->free(quiet);
    EXPECT_EQ(cls().live_instances, 0u);
}

TEST_F(Registration, BindsAndNamesAreFetchedOnceAtRegistrationNotPerNode) {
    const whost::Counters before = whost::counters();
    Object* a = add_warfield();
    Object* b = add_warfield();
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(whost::counters().of(whost::Fn::classdb_get_method_bind), before.of(whost::Fn::classdb_get_method_bind));
    EXPECT_EQ(whost::counters().string_names_made, before.string_names_made);
    EXPECT_EQ(whost::counters().proc_lookups, before.proc_lookups);
}

TEST_F(Registration, UnloadingRemovesTheClass) {
    engine->library().close();
    EXPECT_EQ(engine->extension_class("Warfield"), nullptr);
}

// Loading at chosen levels: only the scene level registers anything.
class Levels : public ::testing::Test {
protected:
    void TearDown() override {
        const whost::Engine::Leaks leaks = engine.shutdown();
        EXPECT_TRUE(leaks.none());
        EXPECT_EQ(whost::log().engine_errors(), 0u) << whost::log().dump();
    }
    whost::Engine engine;
};

TEST_F(Levels, CoreAndServersRegisterNothingSceneRegistersTheClassEditorAddsNothing) {
    ASSERT_TRUE(engine.load(library_path(), false, GDEXTENSION_INITIALIZATION_CORE));
    EXPECT_EQ(engine.library().initialization().minimum_initialization_level, GDEXTENSION_INITIALIZATION_SCENE);
    EXPECT_TRUE(whost::extension_classes().empty());
    engine.library().initialize(GDEXTENSION_INITIALIZATION_SERVERS);
    EXPECT_TRUE(whost::extension_classes().empty());
    engine.library().initialize(GDEXTENSION_INITIALIZATION_SCENE);
    ASSERT_EQ(whost::extension_classes().size(), 1u);
    const auto methods = whost::counters().of(whost::Fn::classdb_register_extension_class_method);
    engine.library().initialize(GDEXTENSION_INITIALIZATION_EDITOR);
    EXPECT_EQ(whost::extension_classes().size(), 1u);
    EXPECT_EQ(whost::counters().of(whost::Fn::classdb_register_extension_class_method), methods);
    EXPECT_EQ(methods, 55u);
    EXPECT_EQ(whost::counters().of(whost::Fn::classdb_register_extension_class_property), 1u);
    EXPECT_EQ(whost::counters().of(whost::Fn::classdb_register_extension_class5), 1u);
}

TEST_F(Levels, TearingTheSceneLevelDownUnregistersTheClass) {
    ASSERT_TRUE(engine.load(library_path()));
    engine.library().deinitialize();
    EXPECT_TRUE(whost::extension_classes().empty());
    EXPECT_EQ(whost::counters().of(whost::Fn::classdb_unregister_extension_class), 1u);
}

// Hosts of other versions.
struct HostVersion {
    uint32_t major;
    uint32_t minor;
    bool gate;  // a real old engine also lacks the newer interface functions
    bool accepted;
};

class Versions : public ::testing::TestWithParam<HostVersion> {};

TEST_P(Versions, TheEntryAcceptsOnly45AndLater) {
    const HostVersion v = GetParam();
    whost::Engine::Options options;
    options.major = v.major;
    options.minor = v.minor;
    options.gate_by_version = v.gate;
    whost::Engine engine(options);
    EXPECT_EQ(engine.load(library_path()), v.accepted);
    EXPECT_EQ(whost::extension_classes().size(), v.accepted ? 1u : 0u);
    if (!v.accepted) {
        EXPECT_EQ(whost::counters().of(whost::Fn::classdb_register_extension_class5), 0u);
        EXPECT_EQ(whost::counters().of(whost::Fn::classdb_register_extension_class_method), 0u);
        EXPECT_EQ(engine.library().initialized_level(), -1);
        EXPECT_GE(whost::log().extension_messages(), 1u) << "the refusal is explained";
    }
    EXPECT_EQ(whost::log().engine_errors(), 0u) << whost::log().dump();
    EXPECT_TRUE(engine.shutdown().none());
}

INSTANTIATE_TEST_SUITE_P(Hosts, Versions,
                         ::testing::Values(HostVersion{4, 4, true, false}, HostVersion{4, 4, false, false},
                                           HostVersion{4, 1, true, false}, HostVersion{3, 9, false, false},
                                           HostVersion{4, 5, true, true}, HostVersion{4, 6, true, true}),
                         [](const auto& info) {
                             // Appended, not "v" + std::string: g++ 12 falsely
                             // reports an overlapping copy (-Wrestrict) there.
                             std::string name = "v";
                             name += std::to_string(info.param.major);
                             name += '_';
                             name += std::to_string(info.param.minor);
                             name += info.param.gate ? "" : "_claimed";
                             return name;
                         });

}  // namespace
}  // namespace boundary
