#include "binding/class_db.h"

#include "binding/engine_cache.h"
#include "binding/instance.h"
#include "gdextension/interface.h"

namespace warfield::gde {

namespace {

// A plain pointer: a static destructor would run after the engine is gone.
ClassRecord* g_record = nullptr;

const VirtualEntry* find_virtual(const ClassRecord* record, GDExtensionConstStringNamePtr name, uint32_t hash) {
    if (record == nullptr || name == nullptr) {
        return nullptr;
    }
    for (const auto& entry : record->virtuals) {
        if (entry->hash == hash && StringName::equal(entry->name.ptr(), name)) {
            return entry.get();
        }
    }
    return nullptr;
}

}  // namespace

bool ClassDb::register_class(const char* name, const char* parent, GDExtensionInitializationLevel level) {
    if (g_record != nullptr) {
        return false;
    }
    create_engine_cache();
    g_record = new ClassRecord(name, parent);
    g_record->level = level;

    GDExtensionClassCreationInfo4 info{};
    info.is_virtual = 0;
    info.is_abstract = 0;
    info.is_exposed = 1;
    info.is_runtime = 0;
    info.create_instance_func = &create_instance;
    info.free_instance_func = &free_instance;
    info.get_virtual_func = &ClassDb::get_virtual;
    info.get_virtual_call_data_func = &ClassDb::get_virtual_call_data;
    info.call_virtual_with_data_func = &ClassDb::call_virtual_with_data;
    info.class_userdata = g_record;
    api.classdb_register_extension_class5(api.library, g_record->class_name.ptr(), g_record->parent_name.ptr(), &info);
    return true;
}

void ClassDb::bind_method(const MethodDef& method) {
    if (g_record == nullptr) {
        return;
    }
    const StringName name(method.name);
    const StringName empty_name("");
    const String empty_hint("");
    const String return_hint(method.return_hint_string);

    std::vector<StringName> arg_names;
    arg_names.reserve(method.arg_count);
    std::array<GDExtensionPropertyInfo, kMaxArgs> args{};
    for (uint32_t i = 0; i < method.arg_count; ++i) {
        arg_names.emplace_back(method.arg_names[i]);
        args[i] = GDExtensionPropertyInfo{method.arg_types[i],
                                          arg_names.back().ptr(),
                                          const_cast<void*>(empty_name.ptr()),
                                          WARFIELD_PROPERTY_HINT_NONE,
                                          const_cast<void*>(empty_hint.ptr()),
                                          WARFIELD_PROPERTY_USAGE_DEFAULT};
    }
    std::array<GDExtensionClassMethodArgumentMetadata, kMaxArgs> metadata = method.arg_metadata;

    GDExtensionPropertyInfo return_info{method.return_type,
                                        const_cast<void*>(empty_name.ptr()),
                                        const_cast<void*>(empty_name.ptr()),
                                        method.return_hint,
                                        const_cast<void*>(return_hint.ptr()),
                                        WARFIELD_PROPERTY_USAGE_DEFAULT};

    GDExtensionClassMethodInfo info{};
    info.name = const_cast<void*>(name.ptr());
    info.method_userdata = const_cast<MethodDef*>(&method);
    info.call_func = method.call;
    info.ptrcall_func = method.ptrcall;
    info.method_flags = method.flags;
    info.has_return_value = method.has_return ? 1 : 0;
    info.return_value_info = method.has_return ? &return_info : nullptr;
    info.return_value_metadata = method.return_metadata;
    info.argument_count = method.arg_count;
    info.arguments_info = method.arg_count > 0 ? args.data() : nullptr;
    info.arguments_metadata = method.arg_count > 0 ? metadata.data() : nullptr;
    info.default_argument_count = 0;
    info.default_arguments = nullptr;
    api.classdb_register_extension_class_method(api.library, g_record->class_name.ptr(), &info);
}

void ClassDb::add_property(const PropertyDef& property) {
    if (g_record == nullptr) {
        return;
    }
    const StringName name(property.name);
    const StringName empty_name("");
    const String hint(property.hint_string);
    const StringName setter(property.setter);
    const StringName getter(property.getter);
    const GDExtensionPropertyInfo info{property.type,
                                       const_cast<void*>(name.ptr()),
                                       const_cast<void*>(empty_name.ptr()),
                                       property.hint,
                                       const_cast<void*>(hint.ptr()),
                                       property.usage};
    api.classdb_register_extension_class_property(api.library, g_record->class_name.ptr(), &info, setter.ptr(),
                                                  getter.ptr());
}

void ClassDb::bind_integer_constant(const ConstantDef& constant) {
    if (g_record == nullptr) {
        return;
    }
    const StringName enum_name(constant.enum_name);
    const StringName name(constant.name);
    api.classdb_register_extension_class_integer_constant(api.library, g_record->class_name.ptr(), enum_name.ptr(),
                                                          name.ptr(), constant.value, 0);
}

void ClassDb::bind_virtual_method(const char* name, uint32_t hash, GDExtensionClassCallVirtual call) {
    if (g_record == nullptr) {
        return;
    }
    g_record->virtuals.push_back(std::make_unique<VirtualEntry>(VirtualEntry{StringName(name), hash, call}));
}

void ClassDb::unregister_class() {
    if (g_record == nullptr) {
        return;
    }
    api.classdb_unregister_extension_class(api.library, g_record->class_name.ptr());
    delete g_record;
    g_record = nullptr;
    destroy_engine_cache();
}

bool ClassDb::registered_at(GDExtensionInitializationLevel level) {
    return g_record != nullptr && g_record->level == level;
}

GDExtensionClassCallVirtual ClassDb::get_virtual(void* class_userdata, GDExtensionConstStringNamePtr name,
                                                       uint32_t hash) noexcept {
    const VirtualEntry* entry = find_virtual(static_cast<const ClassRecord*>(class_userdata), name, hash);
    return entry != nullptr ? entry->call : nullptr;
}

void* ClassDb::get_virtual_call_data(void* class_userdata, GDExtensionConstStringNamePtr name,
                                           uint32_t hash) noexcept {
    const VirtualEntry* entry = find_virtual(static_cast<const ClassRecord*>(class_userdata), name, hash);
    return const_cast<VirtualEntry*>(entry);
}

void ClassDb::call_virtual_with_data(GDExtensionClassInstancePtr instance, GDExtensionConstStringNamePtr /*name*/,
                                           void* call_data, const GDExtensionConstTypePtr* args,
                                           GDExtensionTypePtr r_ret) noexcept {
    const VirtualEntry* entry = static_cast<const VirtualEntry*>(call_data);
    if (entry == nullptr || entry->call == nullptr) {
        return;
    }
    entry->call(instance, args, r_ret);
}

}  // namespace warfield::gde
