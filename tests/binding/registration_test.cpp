// Loading, class registration and the virtual-call protocol, seen from the
// engine side of the interface.
#include <gtest/gtest.h>

#include <algorithm>

#include "binding/instance.h"
#include "register/class_reference.h"
#include "loaded_library.h"

namespace warfield::test {
namespace {

TEST(Loading, RefusesAnEngineOlderThan45) {
    fake::reset(4, 4);
    GDExtensionInitialization init{};
    init.minimum_initialization_level = GDEXTENSION_INITIALIZATION_EDITOR;
    EXPECT_EQ(warfield_init(&fake::get_proc_address, &g_library_token, &init), 0);
    EXPECT_EQ(init.initialize, nullptr);  // nothing handed over
    EXPECT_EQ(init.minimum_initialization_level, GDEXTENSION_INITIALIZATION_EDITOR);
    EXPECT_FALSE(gde::interface_loaded());

    fake::reset(4, 5);
    fake::engine().missing.insert("get_godot_version2");  // a 4.4 engine has no such function
    EXPECT_EQ(warfield_init(&fake::get_proc_address, &g_library_token, &init), 0);
}

TEST(Loading, RefusesAnIncompleteInterface) {
    for (const char* name : {"classdb_register_extension_class5", "array_set_typed", "variant_can_convert_strict",
                             "variant_get_ptr_operator_evaluator"}) {
        SCOPED_TRACE(name);
        fake::reset();
        fake::engine().missing.insert(name);
        GDExtensionInitialization init{};
        EXPECT_EQ(warfield_init(&fake::get_proc_address, &g_library_token, &init), 0);
        EXPECT_EQ(init.initialize, nullptr);
    }
    GDExtensionInitialization init{};
    EXPECT_EQ(warfield_init(nullptr, &g_library_token, &init), 0);
}

TEST(Loading, AcceptsNewerEngines) {
    fake::reset(4, 7);
    GDExtensionInitialization init{};
    ASSERT_EQ(warfield_init(&fake::get_proc_address, &g_library_token, &init), 1);
    EXPECT_EQ(init.minimum_initialization_level, GDEXTENSION_INITIALIZATION_SCENE);
    EXPECT_NE(init.deinitialize, nullptr);
    gde::clear_interface();
}

TEST(Loading, OnlyTheSceneLevelRegistersAndTheEditorLevelLoadsTheHelp) {
    fake::reset();
    GDExtensionInitialization init{};
    ASSERT_EQ(warfield_init(&fake::get_proc_address, &g_library_token, &init), 1);
    for (auto level : {GDEXTENSION_INITIALIZATION_CORE, GDEXTENSION_INITIALIZATION_SERVERS,
                       GDEXTENSION_INITIALIZATION_EDITOR}) {
        init.initialize(init.userdata, level);
    }
    EXPECT_TRUE(fake::engine().order.empty());
    // The editor level hands the class reference to the editor's help, once.
    ASSERT_EQ(fake::engine().help_documents.size(), 1u);
    EXPECT_EQ(fake::engine().help_documents[0], class_reference());
    EXPECT_NE(fake::engine().help_documents[0].find("<class name=\"Warfield\""), std::string::npos);
    init.initialize(init.userdata, GDEXTENSION_INITIALIZATION_SCENE);
    init.initialize(init.userdata, GDEXTENSION_INITIALIZATION_SCENE);  // once only
    EXPECT_EQ(std::count(fake::engine().order.begin(), fake::engine().order.end(), "class:Warfield"), 1);
    EXPECT_EQ(fake::engine().methods.size(), 55u);

    // The editor and servers levels leave the class alone; the scene level takes it away.
    init.deinitialize(init.userdata, GDEXTENSION_INITIALIZATION_EDITOR);
    init.deinitialize(init.userdata, GDEXTENSION_INITIALIZATION_SERVERS);
    EXPECT_EQ(fake::engine().order.back(), "constant:CATAPULT");
    init.deinitialize(init.userdata, GDEXTENSION_INITIALIZATION_SCENE);
    EXPECT_EQ(fake::engine().order.back(), "unregister:Warfield");
    EXPECT_EQ(fake::engine().live_strings, 0);  // cached paths released with the class
    gde::clear_interface();
}

using Registration = LoadedLibrary;

TEST_F(Registration, ClassThenMethodsThenPropertyThenKinds) {
    const fake::Engine& e = fake::engine();
    EXPECT_EQ(e.class_name, "Warfield");
    EXPECT_EQ(e.parent_name, "Node");
    EXPECT_EQ(e.info.is_virtual, 0);
    EXPECT_EQ(e.info.is_abstract, 0);
    EXPECT_EQ(e.info.is_exposed, 1);
    EXPECT_EQ(e.info.is_runtime, 0);
    EXPECT_EQ(e.info.set_func, nullptr);
    EXPECT_EQ(e.info.get_property_list_func, nullptr);
    EXPECT_EQ(e.info.notification_func, nullptr);
    EXPECT_NE(e.info.create_instance_func, nullptr);
    EXPECT_NE(e.info.free_instance_func, nullptr);

    ASSERT_EQ(e.order.size(), 1u + 55u + 1u + 5u);
    EXPECT_EQ(e.order.front(), "class:Warfield");
    EXPECT_EQ(e.order[1], "method:register_projectile");
    EXPECT_EQ(e.order[55], "method:get_grid_size");
    EXPECT_EQ(e.order[56], "property:grid_size");

    // The projectile kinds, as register_projectile's `type` takes them.
    const char* kinds[] = {"STRAIGHT", "LOB", "ARC", "TRACKING", "CATAPULT"};
    ASSERT_EQ(e.constants.size(), 5u);
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(e.constants[i].name, kinds[i]);
        EXPECT_EQ(e.constants[i].enum_name, "ProjectileKind");
        EXPECT_EQ(e.constants[i].value, static_cast<GDExtensionInt>(i));
        EXPECT_FALSE(e.constants[i].bitfield);
    }

    const fake::RegisteredMethod& reg = method("register_projectile");
    ASSERT_EQ(reg.args.size(), 28u);
    EXPECT_EQ(reg.args[0].name, "node_instance_id");
    EXPECT_EQ(reg.args[0].metadata, GDEXTENSION_METHOD_ARGUMENT_METADATA_INT_IS_UINT64);
    EXPECT_EQ(reg.args[27].name, "config_use_range");
    EXPECT_EQ(reg.default_count, 0u);
    const fake::RegisteredMethod& query = method("query_targets_all");
    EXPECT_EQ(query.return_type, GDEXTENSION_VARIANT_TYPE_ARRAY);
    EXPECT_EQ(query.return_hint, 31u);
    EXPECT_EQ(query.return_hint_string, "int");
    EXPECT_EQ(query.flags, GDEXTENSION_METHOD_FLAG_NORMAL | GDEXTENSION_METHOD_FLAG_CONST);

    ASSERT_EQ(e.properties.size(), 1u);
    const fake::RegisteredProperty& p = e.properties[0];
    EXPECT_EQ(p.name, "grid_size");
    EXPECT_EQ(p.type, GDEXTENSION_VARIANT_TYPE_VECTOR2);
    EXPECT_EQ(p.hint, 0u);
    EXPECT_EQ(p.hint_string, "");
    EXPECT_EQ(p.usage, 6u);
    EXPECT_EQ(p.setter, "set_grid_size");
    EXPECT_EQ(p.getter, "get_grid_size");
}

TEST_F(Registration, EngineBindsAreFetchedOnceWithThe45Hashes) {
    const auto& h = fake::engine().bind_hashes;
    EXPECT_EQ(h.at("Node2D.set_rotation"), 373806689);
    EXPECT_EQ(h.at("Node.get_node_or_null"), 2734337346);
    // Script methods are called through object_call_script_method, not a bind.
    EXPECT_EQ(h.count("Object.call"), 0u);
    EXPECT_EQ(h.at("Object.notification"), 4023243586);
    EXPECT_EQ(h.at("Viewport.get_visible_rect"), 1639390495);
    EXPECT_EQ(h.at("Engine.is_editor_hint"), 36873697);
}

// Both lookup forms answer the same two callbacks, matched by name and hash.
TEST_F(Registration, VirtualLookup) {
    const auto& info = fake::engine().info;
    ASSERT_NE(info.get_virtual_func, nullptr);
    ASSERT_NE(info.get_virtual_call_data_func, nullptr);
    ASSERT_NE(info.call_virtual_with_data_func, nullptr);
    const auto lookup = [&](const char* name, uint32_t hash) {
        alignas(8) unsigned char sn[8];
        fake::make_name(sn, name);
        void* data = info.get_virtual_call_data_func(info.class_userdata, sn, hash);
        GDExtensionClassCallVirtual direct = info.get_virtual_func(info.class_userdata, sn, hash);
        EXPECT_EQ(data == nullptr, direct == nullptr) << name;
        return direct;
    };
    EXPECT_EQ(lookup("_physics_process", 373806689), &gde::call_physics_process);
    EXPECT_EQ(lookup("_ready", 3218959716), &gde::call_ready);
    EXPECT_EQ(lookup("_process", 373806689), nullptr);
    EXPECT_EQ(lookup("_enter_tree", 3218959716), nullptr);
    EXPECT_EQ(lookup("_input", 3754044979), nullptr);
    EXPECT_EQ(lookup("_ready", 373806689), nullptr);  // signature mismatch
}

TEST_F(Registration, VirtualsReachTheNode) {
    fake::Object* object = create();
    const auto& info = fake::engine().info;
    alignas(8) unsigned char sn[8];
    fake::make_name(sn, "_physics_process");
    void* data = info.get_virtual_call_data_func(info.class_userdata, sn, 373806689);
    const double delta = 1.0 / 60.0;
    const GDExtensionConstTypePtr args[1] = {&delta};
    fake::engine().ptrcalls.clear();
    info.call_virtual_with_data_func(object->instance, sn, data, args, nullptr);
    EXPECT_EQ(static_cast<gde::WarfieldInstance*>(object->instance)->core.frame().frame_count, 1u);
    EXPECT_EQ(fake::engine().ptrcalls.front(), "Engine.is_editor_hint");
    free(object);
}

TEST_F(Registration, CreateDeliversPostInitializeOnlyWhenAsked) {
    fake::Object* plain = create(false);
    EXPECT_EQ(plain->class_name, "Node");
    EXPECT_EQ(plain->instance_class, "Warfield");
    ASSERT_NE(plain->instance, nullptr);
    EXPECT_TRUE(plain->notifications.empty());
    fake::Object* notified = create(true);
    EXPECT_EQ(notified->notifications, std::vector<int64_t>{0});
    free(plain);
    free(notified);
    EXPECT_EQ(fake::engine().live_objects, 0);
}

}  // namespace
}  // namespace warfield::test
