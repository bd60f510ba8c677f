// The class database's extension side: what an extension registered (the
// class, its methods in registration order, properties, signals), instance
// creation and release, and the engine's two ways of calling into it: bound
// methods (typed or dynamic) and virtuals (looked up once per object).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "gdextension/gde_abi.h"
#include "stand_in/objects.h"
#include "stand_in/variant.h"

namespace stand_in {

struct PropertyRecord {
    uint32_t type = GDEXTENSION_VARIANT_TYPE_NIL;
    std::string name;
    std::string class_name;
    uint32_t hint = 0;
    std::string hint_string;
    uint32_t usage = 0;
};

struct MethodRecord {
    std::string name;
    void* userdata = nullptr;
    GDExtensionClassMethodCall call = nullptr;
    GDExtensionClassMethodPtrCall ptrcall = nullptr;
    uint32_t flags = 0;
    bool has_return = false;
    PropertyRecord return_info;
    uint32_t return_metadata = 0;
    std::vector<PropertyRecord> arguments;
    std::vector<uint32_t> argument_metadata;
    std::vector<Variant> defaults;

    bool is_const() const { return (flags & GDEXTENSION_METHOD_FLAG_CONST) != 0; }
};

struct PropertyEntry {
    PropertyRecord info;
    std::string setter;
    std::string getter;
    int64_t index = -1;
};

struct ConstantRecord {
    std::string enum_name;  // empty for a constant outside an enum
    std::string name;
    int64_t value = 0;
    bool is_bitfield = false;
};

struct ExtensionClass {
    ClassInfo info;
    std::string parent_name;
    GDExtensionClassCreationInfo5 funcs{};
    void* library = nullptr;
    int registered_at_level = -1;
    std::vector<MethodRecord> methods;
    std::vector<PropertyEntry> properties;
    std::vector<std::string> signals;
    std::vector<ConstantRecord> constants;
    std::vector<std::string> virtual_methods;  // announced with classdb_register_extension_class_virtual_method
    uint64_t live_instances = 0;

    const MethodRecord* method(std::string_view name) const;
};

// The initialization level being run, recorded with each registration.
void set_current_level(int level);
int current_level();

// Every class database call of an extension, in the order made (refused
// ones too; the log says why): `what` is "class", "method", "property",
// "constant", "signal", "virtual" or "unregister", `name` the name it
// passed (the class's for "class" and "unregister"), `level` the level
// being run, -1 outside one.
struct ClassDbCall {
    std::string what;
    std::string name;
    int level = -1;
};
std::vector<ClassDbCall>& class_db_calls();

// The documents extensions handed to the editor's help, in order.
std::vector<std::string>& editor_help_documents();

const ExtensionClass* find_extension_class(std::string_view name);
ExtensionClass* find_extension_class_mut(std::string_view name);
// An engine or extension class.
const ClassInfo* find_class(std::string_view name);
std::vector<const ExtensionClass*> extension_classes();

// Registration as the interface functions perform it; each logs and refuses
// what the engine would refuse.
void register_class(void* library, std::string_view name, std::string_view parent,
                    const GDExtensionClassCreationInfo5* funcs);
void register_method(void* library, std::string_view cls, const GDExtensionClassMethodInfo* info);
void register_property(void* library, std::string_view cls, const GDExtensionPropertyInfo* info,
                       std::string_view setter, std::string_view getter, int64_t index);
void unregister_class(void* library, std::string_view name);
// Forgets every class, retired ones too, and the host's virtual names.
void reset_class_db();
// Classes a library left registered (removed by the host at unload).
std::vector<std::string> drop_classes_of(void* library);

PropertyRecord read_property_info(const GDExtensionPropertyInfo& info);

// ClassDB::instantiate: the post-initialize notification is asked for.
Object* instantiate(std::string_view cls, bool notify_postinitialize = true);
// classdb_construct_object2: no post-initialize notification.
Object* construct_without_postinitialize(std::string_view cls);
bool set_extension_instance(Object* o, std::string_view cls, void* instance);
// memdelete: predelete notification, removed from its parent (leaving the
// tree), children freed, extension instance released, signal connections
// from and to it dropped, bindings freed, id forgotten.
void destroy_object(Object* o);

// Virtuals, as the engine finds them: the hash is computed (here: given),
// then get_virtual_call_data2 + call_virtual_with_data if both are set (and
// HostConfig::virtual_call_data), else get_virtual2; the answer is cached
// per object; null means not overridden.
bool virtual_overridden(Object* o, const char* name, uint32_t hash);
bool call_virtual(Object* o, const char* name, uint32_t hash, const GDExtensionConstTypePtr* args, void* ret);
// The class's answer, uncached (for tests).
bool class_has_virtual(const ExtensionClass& cls, const char* name, uint32_t hash);
// Whether the class overrides the virtual by each of its lookup callbacks,
// uncached: get_virtual_call_data2 and get_virtual2 (false where the class
// gives no such callback). A class giving both must answer alike.
struct VirtualAnswers {
    bool with_call_data = false;
    bool direct = false;
};
VirtualAnswers class_virtual_answers(const ExtensionClass& cls, const char* name, uint32_t hash);

struct CallResult {
    Variant value;
    GDExtensionCallError error{GDEXTENSION_CALL_OK, 0, 0};
    bool ok() const { return error.error == GDEXTENSION_CALL_OK; }
};

// A bound method of the object's extension class, on either path.
CallResult call_method(Object* o, std::string_view method, const Variant* const* args, int64_t count);
bool ptrcall_method(Object* o, std::string_view method, const GDExtensionConstTypePtr* args, void* ret);

}  // namespace stand_in
