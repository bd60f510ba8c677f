// Registration of the extension class with the engine (the binding's ClassDB):
// the class itself, its methods, its property and the virtuals it overrides.
// Registration state lives from register_class until unregister_class.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "gdextension/builtins.h"
#include "binding/method_bind.h"

namespace warfield::gde {

struct PropertyDef {
    const char* name;
    GDExtensionVariantType type;
    uint32_t hint;
    const char* hint_string;
    uint32_t usage;
    const char* setter;
    const char* getter;
};

// One value of an integer enum the class announces (Warfield.STRAIGHT, ...).
struct ConstantDef {
    const char* enum_name;
    const char* name;
    int64_t value;
};

struct VirtualEntry {
    StringName name;
    uint32_t hash;
    GDExtensionClassCallVirtual call;
};

// The class userdata the engine hands back to every class callback.
struct ClassRecord {
    ClassRecord(const char* name, const char* parent) : class_name(name), parent_name(parent) {}

    StringName class_name;
    StringName parent_name;
    GDExtensionInitializationLevel level = GDEXTENSION_INITIALIZATION_SCENE;  // torn down with this level
    std::vector<std::unique_ptr<VirtualEntry>> virtuals;  // stable addresses: handed out as call data
};

class ClassDb {
public:
    // Announces the class; false if it is already registered.
    static bool register_class(const char* name, const char* parent, GDExtensionInitializationLevel level);
    static void bind_method(const MethodDef& method);
    static void add_property(const PropertyDef& property);
    static void bind_integer_constant(const ConstantDef& constant);
    // Recorded on our side only; the engine asks for it by name and hash.
    static void bind_virtual_method(const char* name, uint32_t hash, GDExtensionClassCallVirtual call);
    static void unregister_class();
    static bool registered_at(GDExtensionInitializationLevel level);

    // Virtual lookup, both forms the engine may use.
    static GDExtensionClassCallVirtual get_virtual(void* class_userdata, GDExtensionConstStringNamePtr name,
                                                   uint32_t hash) noexcept;
    static void* get_virtual_call_data(void* class_userdata, GDExtensionConstStringNamePtr name,
                                       uint32_t hash) noexcept;
    static void call_virtual_with_data(GDExtensionClassInstancePtr instance, GDExtensionConstStringNamePtr name,
                                       void* call_data, const GDExtensionConstTypePtr* args,
                                       GDExtensionTypePtr r_ret) noexcept;
};

}  // namespace warfield::gde
