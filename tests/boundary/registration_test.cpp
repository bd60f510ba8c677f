// What the engine learns about Warfield when the library registers it: the
// class, its 55 methods in order with their arguments, types, metadata and
// flags, the property, the kinds, the two virtuals, the engine methods it
// binds, and at which level it all happens; and the hosts it refuses.
#include <algorithm>
#include <fstream>
#include <map>
#include <ostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "expected_surface.h"
#include "stand_in/shared_library.h"
#include "stand_in/strings.h"
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

std::string read_file(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class Registration : public BoundaryTest {
protected:
    const stand_in::ExtensionClass& cls() { return *engine->extension_class("Warfield"); }
};

TEST_F(Registration, ClassIsAConcreteExposedNodeRegisteredAtTheSceneLevel) {
    ASSERT_EQ(stand_in::extension_classes().size(), 1u);
    const stand_in::ExtensionClass& c = cls();
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
    EXPECT_TRUE(c.virtual_methods.empty());
    // Its only constants: the projectile kinds, as register_projectile's
    // `type` takes them, one integer enum.
    const char* kinds[] = {"STRAIGHT", "LOB", "ARC", "TRACKING", "CATAPULT"};
    ASSERT_EQ(c.constants.size(), std::size(kinds));
    for (size_t i = 0; i < std::size(kinds); ++i) {
        EXPECT_EQ(c.constants[i].name, kinds[i]);
        EXPECT_EQ(c.constants[i].enum_name, "ProjectileKind") << kinds[i];
        EXPECT_EQ(c.constants[i].value, static_cast<int64_t>(i)) << kinds[i];
        EXPECT_FALSE(c.constants[i].is_bitfield) << kinds[i];
    }
}

TEST_F(Registration, TheClassComesFirstThenTheMethodsInOrderThenThePropertyThenTheKinds) {
    std::vector<std::string> expected = {"class Warfield"};
    for (const ExpectedMethod& m : expected_methods()) {
        expected.push_back(std::string("method ") + m.name);
    }
    expected.push_back("property grid_size");
    for (const char* kind : {"STRAIGHT", "LOB", "ARC", "TRACKING", "CATAPULT"}) {
        expected.push_back(std::string("constant ") + kind);
    }
    std::vector<std::string> made;
    for (const stand_in::ClassDbCall& call : stand_in::class_db_calls()) {
        made.push_back(call.what + " " + call.name);
        EXPECT_EQ(call.level, GDEXTENSION_INITIALIZATION_SCENE) << made.back();
    }
    EXPECT_EQ(made, expected);
}

TEST_F(Registration, MethodsArriveInTableOrderWithTheirArguments) {
    const auto& expected = expected_methods();
    const auto& methods = cls().methods;
    ASSERT_EQ(methods.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const stand_in::MethodRecord& m = methods[i];
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
        const stand_in::MethodRecord* m = cls().method(e.name);
        ASSERT_NE(m, nullptr) << e.name;
        EXPECT_EQ(m->is_const(), e.is_const) << e.name;
        // Normal, const where read-only, and nothing else (vararg, static,
        // virtual, editor-only...).
        const uint32_t const_flag = e.is_const ? GDEXTENSION_METHOD_FLAG_CONST : 0;
        EXPECT_EQ(m->flags, GDEXTENSION_METHOD_FLAG_NORMAL | const_flag) << e.name;
        EXPECT_NE(m->call, nullptr);
        EXPECT_NE(m->ptrcall, nullptr);
        consts += m->is_const() ? 1 : 0;
    }
    EXPECT_EQ(consts, 9u);  // four queries, four counts, get_grid_size
}

TEST_F(Registration, ResultsAreDescribedByTypeAndMetadata) {
    for (const ExpectedMethod& e : expected_methods()) {
        const stand_in::MethodRecord* m = cls().method(e.name);
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
    const stand_in::PropertyEntry& p = cls().properties[0];
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

// The class gives both lookup callbacks: the one 4.5 asks (with call data)
// and get_virtual2, which an engine asks of a class that gives no call-data
// callbacks. Both must give the same answer.
bool overrides(const stand_in::ExtensionClass& c, const char* name, uint32_t hash) {
    const stand_in::VirtualAnswers a = stand_in::class_virtual_answers(c, name, hash);
    EXPECT_EQ(a.with_call_data, a.direct) << name << " with hash " << hash;
    return a.with_call_data;
}

TEST_F(Registration, OnlyPhysicsProcessAndReadyAreFoundAmongTheVirtualsByEitherLookup) {
    using namespace stand_in::virtual_hash;
    const stand_in::ExtensionClass& c = cls();
    EXPECT_NE(c.funcs.get_virtual_func, nullptr);
    EXPECT_TRUE(overrides(c, "_physics_process", kDelta));
    EXPECT_TRUE(overrides(c, "_ready", kNoArgs));
    for (const char* name : {"_process", "_enter_tree", "_exit_tree", "_input", "_unhandled_input",
                             "_shortcut_input", "_unhandled_key_input", "_get_configuration_warnings"}) {
        EXPECT_FALSE(overrides(c, name, kNoArgs)) << name;
        EXPECT_FALSE(overrides(c, name, kDelta)) << name;
        EXPECT_FALSE(overrides(c, name, kInputEvent)) << name;
    }
    // A signature the class did not override is not the override.
    EXPECT_FALSE(overrides(c, "_physics_process", kNoArgs));
    EXPECT_FALSE(overrides(c, "_ready", kDelta));
}

TEST_F(Registration, ReadyTurnsOnPhysicsProcessingOnlyAndLooksEachVirtualUpOnce) {
    Object* w = add_warfield();
    auto* node = static_cast<Node*>(w);
    EXPECT_TRUE(node->physics_processing);
    EXPECT_FALSE(node->processing);
    EXPECT_FALSE(node->input_processing);
    const uint64_t lookups = stand_in::counters().virtual_lookups;
    for (int i = 0; i < 20; ++i) {
        frame();
    }
    EXPECT_EQ(stand_in::counters().virtual_lookups, lookups) << "the answer is cached per object";
    EXPECT_EQ(w->virtuals.size(), lookups);
}

TEST_F(Registration, InstancesAreNodesThatGetTheirPostInitializeNotification) {
    Object* w = engine->instantiate("Warfield");
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->is_class("Node"));
    EXPECT_TRUE(w->is_class("Warfield"));
    EXPECT_EQ(w->kind, stand_in::Kind::node);
    EXPECT_TRUE(w->postinitialized);
    EXPECT_EQ(w->notifications_received, 1u);
    EXPECT_EQ(cls().live_instances, 1u);
    // The engine may also construct it without the notification.
    stand_in::Object* quiet = stand_in::construct_without_postinitialize("Warfield");
    ASSERT_NE(quiet, nullptr);
    EXPECT_FALSE(quiet->postinitialized);
    EXPECT_EQ(quiet->notifications_received, 0u);
    engine->free(w);
    engine->free(quiet);
    EXPECT_EQ(cls().live_instances, 0u);
}

TEST_F(Registration, EngineMethodsAreBoundOnceAtRegistrationUnderTheir45HashesAndNamesAreNotMadePerNode) {
    const stand_in::Counters before = stand_in::counters();
    Object* a = add_warfield();
    Object* b = add_warfield();
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    frame();
    EXPECT_EQ(stand_in::counters().of(stand_in::Fn::classdb_get_method_bind), before.of(stand_in::Fn::classdb_get_method_bind));
    EXPECT_EQ(stand_in::counters().string_names_made, before.string_names_made);
    EXPECT_EQ(stand_in::counters().proc_lookups, before.proc_lookups);

    // Each once, under the hash 4.5 lists for it, not a compatibility one.
    std::map<std::string, int64_t> asked;
    for (const stand_in::BindRequest& r : stand_in::bind_requests()) {
        const std::string key = r.cls + "." + r.method;
        EXPECT_TRUE(asked.emplace(key, r.hash).second) << key << " asked for twice";
        EXPECT_EQ(r.found, stand_in::BindRequest::Found::current) << key << " with hash " << r.hash;
    }
    EXPECT_FALSE(asked.empty());
    const auto hash_of = [&](const std::string& key) { return asked.count(key) != 0 ? asked.at(key) : int64_t{-1}; };
    // From the 4.5 API, independently of the host's own table.
    EXPECT_EQ(hash_of("Node2D.set_rotation"), 373806689);
    EXPECT_EQ(hash_of("Node.get_node_or_null"), 2734337346);
    EXPECT_EQ(hash_of("Object.notification"), 4023243586);
    EXPECT_EQ(hash_of("Viewport.get_visible_rect"), 1639390495);
    EXPECT_EQ(hash_of("Engine.is_editor_hint"), 36873697);
    // Script methods are called through object_call_script_method, not Object.call.
    EXPECT_EQ(asked.count("Object.call"), 0u);
}

TEST_F(Registration, UnloadingRemovesTheClass) {
    engine->library().close();
    EXPECT_EQ(engine->extension_class("Warfield"), nullptr);
}

// An engine that asks through get_virtual2 alone reaches the same overrides.
class DirectVirtualLookup : public BoundaryTest {
protected:
    stand_in::Engine::Options options() const override {
        stand_in::Engine::Options o;
        o.virtual_call_data = false;
        return o;
    }
};

TEST_F(DirectVirtualLookup, ReadyAndPhysicsProcessRunTheNode) {
    Object* w = add_warfield();
    EXPECT_TRUE(static_cast<Node*>(w)->physics_processing) << "_ready ran";
    const ProjectileScene s = add_projectile_scene({100, 100});
    for (const char* m : {"check_shooter_height", "update_grid_pos"}) {
        engine->set_script_method(s.root, m, [](Object&) { return Variant(); });
    }
    ProjectileArgs p;
    p.node_instance_id = s.id();
    p.type = 0;
    p.velocity = {60, -30};
    call_int(Path::typed, w, "register_projectile", p.values());
    frame(0.5);
    EXPECT_EQ(s.root->position, (Vector2{130.0f, 85.0f})) << "_physics_process ran";
}

// Loading at chosen levels: only the scene level registers anything.
class Levels : public ::testing::Test {
protected:
    void TearDown() override {
        const stand_in::Engine::Leaks leaks = engine.shutdown();
        EXPECT_TRUE(leaks.none());
        EXPECT_EQ(stand_in::log().engine_errors(), 0u) << stand_in::log().dump();
    }
    stand_in::Engine engine;
};

TEST_F(Levels, CoreAndServersRegisterNothingSceneRegistersTheClassEditorLoadsItsReferenceOnly) {
    ASSERT_TRUE(engine.load(library_path(), false, GDEXTENSION_INITIALIZATION_CORE));
    EXPECT_EQ(engine.library().initialization().minimum_initialization_level, GDEXTENSION_INITIALIZATION_SCENE);
    EXPECT_TRUE(stand_in::extension_classes().empty());
    engine.library().initialize(GDEXTENSION_INITIALIZATION_SERVERS);
    EXPECT_TRUE(stand_in::extension_classes().empty());
    EXPECT_TRUE(stand_in::class_db_calls().empty());
    engine.library().initialize(GDEXTENSION_INITIALIZATION_SCENE);
    ASSERT_EQ(stand_in::extension_classes().size(), 1u);
    const size_t calls = stand_in::class_db_calls().size();
    EXPECT_EQ(stand_in::counters().of(stand_in::Fn::classdb_register_extension_class_method), 55u);
    EXPECT_EQ(stand_in::counters().of(stand_in::Fn::classdb_register_extension_class_property), 1u);
    EXPECT_EQ(stand_in::counters().of(stand_in::Fn::classdb_register_extension_class5), 1u);
    EXPECT_TRUE(stand_in::editor_help_documents().empty());

    // The editor level registers nothing; the debug library (the editor's)
    // hands the class reference to the editor's help, once, as the file is.
    engine.library().initialize(GDEXTENSION_INITIALIZATION_EDITOR);
    EXPECT_EQ(stand_in::extension_classes().size(), 1u);
    EXPECT_EQ(stand_in::class_db_calls().size(), calls);
    if (release_library()) {
        EXPECT_TRUE(stand_in::editor_help_documents().empty());
    } else {
        const std::string reference = read_file(WARFIELD_CLASS_XML);
        ASSERT_NE(reference.find("<class name=\"Warfield\""), std::string::npos) << WARFIELD_CLASS_XML;
        EXPECT_EQ(stand_in::editor_help_documents(), std::vector<std::string>{reference});
    }
}

TEST_F(Levels, OnlyTearingTheSceneLevelDownUnregistersTheClassAndReleasesWhatItHeld) {
    const stand_in::LiveTexts before = stand_in::live_texts();
    ASSERT_TRUE(engine.load(library_path()));
    // A level run again (no engine does) registers nothing twice.
    const GDExtensionInitialization& init = engine.library().initialization();
    init.initialize(init.userdata, GDEXTENSION_INITIALIZATION_SCENE);
    EXPECT_EQ(stand_in::counters().of(stand_in::Fn::classdb_register_extension_class5), 1u);
    EXPECT_EQ(stand_in::counters().of(stand_in::Fn::classdb_register_extension_class_method), 55u);

    engine.library().deinitialize(GDEXTENSION_INITIALIZATION_EDITOR);
    EXPECT_EQ(stand_in::extension_classes().size(), 1u);
    engine.library().deinitialize(GDEXTENSION_INITIALIZATION_SCENE);
    EXPECT_TRUE(stand_in::extension_classes().empty());
    ASSERT_FALSE(stand_in::class_db_calls().empty());
    EXPECT_EQ(stand_in::class_db_calls().back().what, "unregister");
    EXPECT_EQ(stand_in::class_db_calls().back().name, "Warfield");
    EXPECT_EQ(stand_in::class_db_calls().back().level, GDEXTENSION_INITIALIZATION_SCENE);
    // The names and paths it kept for the engine's methods go with the class.
    const stand_in::LiveTexts after = stand_in::live_texts();
    EXPECT_EQ(after.strings, before.strings);
    EXPECT_EQ(after.names, before.names);
    EXPECT_EQ(after.paths, before.paths);
    engine.library().deinitialize();
    EXPECT_EQ(stand_in::counters().of(stand_in::Fn::classdb_unregister_extension_class), 1u);
}

// A refusing entry leaves the initialization record as the host handed it
// (zeroed): no level, no callbacks.
void expect_untouched(const GDExtensionInitialization& init) {
    EXPECT_EQ(init.minimum_initialization_level, GDEXTENSION_INITIALIZATION_CORE);
    EXPECT_EQ(init.initialize, nullptr);
    EXPECT_EQ(init.deinitialize, nullptr);
    EXPECT_EQ(init.userdata, nullptr);
}

// Hosts of other versions.
struct HostVersion {
    uint32_t major;
    uint32_t minor;
    bool gate;  // a real old engine also lacks the newer interface functions
    bool accepted;
};

// Named by its fields: printed as raw bytes, its padding would make the test
// names differ from build to build.
void PrintTo(const HostVersion& v, std::ostream* os) {
    *os << v.major << '.' << v.minor << (v.gate ? "" : " claimed") << (v.accepted ? ", accepted" : ", refused");
}

class Versions : public ::testing::TestWithParam<HostVersion> {};

TEST_P(Versions, TheEntryAcceptsOnly45AndLater) {
    const HostVersion v = GetParam();
    stand_in::Engine::Options options;
    options.major = v.major;
    options.minor = v.minor;
    options.gate_by_version = v.gate;
    stand_in::Engine engine(options);
    EXPECT_EQ(engine.load(library_path()), v.accepted);
    EXPECT_EQ(stand_in::extension_classes().size(), v.accepted ? 1u : 0u);
    if (!v.accepted) {
        EXPECT_TRUE(stand_in::class_db_calls().empty());
        EXPECT_EQ(engine.library().initialized_level(), -1);
        expect_untouched(engine.library().initialization());
        EXPECT_GE(stand_in::log().extension_messages(), 1u) << "the refusal is explained";
    }
    EXPECT_EQ(stand_in::log().engine_errors(), 0u) << stand_in::log().dump();
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

// A 4.5 host lacking a function the library cannot do without, and a call
// of the entry with no interface at all: refused, nothing registered, and
// the refusal names the function.
TEST(Loading, AnIncompleteInterfaceIsRefused) {
    for (const char* name : {"classdb_register_extension_class5", "array_set_typed", "variant_can_convert_strict",
                             "variant_get_ptr_operator_evaluator"}) {
        SCOPED_TRACE(name);
        stand_in::Engine::Options options;
        options.withheld = {name};
        stand_in::Engine engine(options);
        EXPECT_FALSE(engine.load(library_path()));
        EXPECT_TRUE(stand_in::class_db_calls().empty());
        expect_untouched(engine.library().initialization());
        EXPECT_GE(stand_in::log().extension_messages(), 1u) << "the refusal is explained";
        EXPECT_TRUE(stand_in::log().contains(std::string("interface function ") + name)) << stand_in::log().dump();
        EXPECT_EQ(stand_in::log().engine_errors(), 0u) << stand_in::log().dump();
        EXPECT_TRUE(engine.shutdown().none());
    }

    std::string error;
    void* handle = stand_in::os::open_library(library_path(), error);
    ASSERT_NE(handle, nullptr) << error;
    const auto entry = reinterpret_cast<GDExtensionInitializationFunction>(stand_in::os::find_symbol(handle, "warfield_init"));
    ASSERT_NE(entry, nullptr);
    GDExtensionInitialization init{};
    int token = 0;
    EXPECT_EQ(entry(nullptr, &token, &init), 0);
    expect_untouched(init);
    stand_in::os::close_library(handle);
}

// An engine that lacks a method the node calls (another build, a changed
// hash) still gets the class; the library's one error names the first such
// method in the order they are looked up, and a complete engine hears none.
TEST(Loading, NamesTheFirstEngineMethodTheEngineLacks) {
    const auto errors_when_lacking = [](std::vector<std::string> lacking) {
        stand_in::Engine::Options options;
        options.echo_errors = false;
        options.withheld_binds = std::move(lacking);
        stand_in::Engine engine(options);
        EXPECT_TRUE(engine.load(library_path()));
        EXPECT_NE(stand_in::find_extension_class("Warfield"), nullptr);
        std::vector<std::string> errors;
        for (const stand_in::LogEntry& e : stand_in::log().entries()) {
            if (e.source == stand_in::LogEntry::Source::extension) errors.push_back(e.text);
        }
        EXPECT_TRUE(engine.shutdown().none());
        return errors;
    };
    EXPECT_TRUE(errors_when_lacking({}).empty());
    for (const char* lacking : {"Engine.is_editor_hint", "Node.get_node_or_null", "Node2D.set_scale",
                                "Object.notification"}) {
        SCOPED_TRACE(lacking);
        const std::vector<std::string> errors = errors_when_lacking({lacking});
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_NE(errors[0].find(lacking), std::string::npos) << errors[0];
    }
    const std::vector<std::string> errors = errors_when_lacking({"Node2D.set_rotation", "Viewport.get_visible_rect"});
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("Viewport.get_visible_rect"), std::string::npos) << errors[0];
}

}  // namespace
}  // namespace boundary
