#include "gdextension/interface.h"

#include <cstdio>
#include <exception>
#include <new>

#include "gdextension/engine_hashes.h"

namespace warfield::gde {

Interface api;

namespace {

bool g_loaded = false;

class Loader {
public:
    explicit Loader(GDExtensionInterfaceGetProcAddress get) : get_(get) {}

    template <typename Fn>
    void operator()(Fn& slot, const char* name) {
        GDExtensionInterfaceFunctionPtr f = get_(name);
        // void(*)(void) converts to and from every function pointer type.
        slot = reinterpret_cast<Fn>(f);
        if (f == nullptr) {
            missing_ = true;
        }
    }

    template <typename T>
    void require(T resolved) {
        if (resolved == nullptr) {
            missing_ = true;
        }
    }

    bool missing() const { return missing_; }

private:
    GDExtensionInterfaceGetProcAddress get_;
    bool missing_ = false;
};

void load_functions(Loader& load, Interface& a) {
    load(a.variant_new_nil, "variant_new_nil");
    load(a.variant_destroy, "variant_destroy");
    load(a.variant_get_type, "variant_get_type");
    load(a.variant_can_convert_strict, "variant_can_convert_strict");
    load(a.variant_booleanize, "variant_booleanize");
    load(a.get_variant_from_type_constructor, "get_variant_from_type_constructor");
    load(a.get_variant_to_type_constructor, "get_variant_to_type_constructor");
    load(a.variant_get_ptr_constructor, "variant_get_ptr_constructor");
    load(a.variant_get_ptr_destructor, "variant_get_ptr_destructor");
    load(a.variant_get_ptr_builtin_method, "variant_get_ptr_builtin_method");
    load(a.variant_get_ptr_operator_evaluator, "variant_get_ptr_operator_evaluator");
    load(a.string_new_with_utf8_chars, "string_new_with_utf8_chars");
    load(a.string_name_new_with_latin1_chars, "string_name_new_with_latin1_chars");
    load(a.array_operator_index, "array_operator_index");
    load(a.array_set_typed, "array_set_typed");
    load(a.object_method_bind_ptrcall, "object_method_bind_ptrcall");
    load(a.object_call_script_method, "object_call_script_method");
    load(a.object_destroy, "object_destroy");
    load(a.global_get_singleton, "global_get_singleton");
    load(a.object_get_instance_from_id, "object_get_instance_from_id");
    load(a.object_get_instance_id, "object_get_instance_id");
    load(a.object_cast_to, "object_cast_to");
    load(a.object_set_instance, "object_set_instance");
    load(a.classdb_construct_object2, "classdb_construct_object2");
    load(a.classdb_get_method_bind, "classdb_get_method_bind");
    load(a.classdb_get_class_tag, "classdb_get_class_tag");
    load(a.classdb_register_extension_class5, "classdb_register_extension_class5");
    load(a.classdb_register_extension_class_method, "classdb_register_extension_class_method");
    load(a.classdb_register_extension_class_property, "classdb_register_extension_class_property");
    load(a.classdb_register_extension_class_integer_constant, "classdb_register_extension_class_integer_constant");
    load(a.classdb_unregister_extension_class, "classdb_unregister_extension_class");
}

// Loaded without failing the load when absent (see Interface).
void load_optional(GDExtensionInterfaceGetProcAddress get, Interface& a) {
    Loader optional(get);
    optional(a.variant_call, "variant_call");
    optional(a.callable_custom_create2, "callable_custom_create2");
    optional(a.print_warning, "print_warning");
    optional(a.variant_stringify, "variant_stringify");
    optional(a.string_to_utf8_chars, "string_to_utf8_chars");
    optional(a.editor_help_load_xml_from_utf8_chars_and_len, "editor_help_load_xml_from_utf8_chars_and_len");
    a.variant_from_object = a.get_variant_from_type_constructor(GDEXTENSION_VARIANT_TYPE_OBJECT);
    a.variant_from_callable = a.get_variant_from_type_constructor(GDEXTENSION_VARIANT_TYPE_CALLABLE);
    a.object_from_variant = a.get_variant_to_type_constructor(GDEXTENSION_VARIANT_TYPE_OBJECT);
    a.callable_destroy = a.variant_get_ptr_destructor(GDEXTENSION_VARIANT_TYPE_CALLABLE);
}

void resolve_builtins(Loader& load, Interface& a) {
    a.string_destroy = a.variant_get_ptr_destructor(GDEXTENSION_VARIANT_TYPE_STRING);
    a.string_name_destroy = a.variant_get_ptr_destructor(GDEXTENSION_VARIANT_TYPE_STRING_NAME);
    a.node_path_destroy = a.variant_get_ptr_destructor(GDEXTENSION_VARIANT_TYPE_NODE_PATH);
    a.array_destroy = a.variant_get_ptr_destructor(GDEXTENSION_VARIANT_TYPE_ARRAY);
    a.node_path_from_string =
        a.variant_get_ptr_constructor(GDEXTENSION_VARIANT_TYPE_NODE_PATH, kNodePathConstructorFromString);
    a.array_new = a.variant_get_ptr_constructor(GDEXTENSION_VARIANT_TYPE_ARRAY, kArrayConstructorEmpty);
    a.string_name_new =
        a.variant_get_ptr_constructor(GDEXTENSION_VARIANT_TYPE_STRING_NAME, kStringNameConstructorEmpty);
    a.string_name_equal = a.variant_get_ptr_operator_evaluator(
        GDEXTENSION_VARIANT_OP_EQUAL, GDEXTENSION_VARIANT_TYPE_STRING_NAME, GDEXTENSION_VARIANT_TYPE_STRING_NAME);

    a.variant_from_bool = a.get_variant_from_type_constructor(GDEXTENSION_VARIANT_TYPE_BOOL);
    a.variant_from_int = a.get_variant_from_type_constructor(GDEXTENSION_VARIANT_TYPE_INT);
    a.variant_from_float = a.get_variant_from_type_constructor(GDEXTENSION_VARIANT_TYPE_FLOAT);
    a.variant_from_vector2 = a.get_variant_from_type_constructor(GDEXTENSION_VARIANT_TYPE_VECTOR2);
    a.variant_from_vector2i = a.get_variant_from_type_constructor(GDEXTENSION_VARIANT_TYPE_VECTOR2I);
    a.variant_from_string_name = a.get_variant_from_type_constructor(GDEXTENSION_VARIANT_TYPE_STRING_NAME);
    a.variant_from_array = a.get_variant_from_type_constructor(GDEXTENSION_VARIANT_TYPE_ARRAY);
    a.bool_from_variant = a.get_variant_to_type_constructor(GDEXTENSION_VARIANT_TYPE_BOOL);
    a.int_from_variant = a.get_variant_to_type_constructor(GDEXTENSION_VARIANT_TYPE_INT);
    a.float_from_variant = a.get_variant_to_type_constructor(GDEXTENSION_VARIANT_TYPE_FLOAT);
    a.vector2_from_variant = a.get_variant_to_type_constructor(GDEXTENSION_VARIANT_TYPE_VECTOR2);
    a.vector2i_from_variant = a.get_variant_to_type_constructor(GDEXTENSION_VARIANT_TYPE_VECTOR2I);

    load.require(a.string_destroy);
    load.require(a.string_name_destroy);
    load.require(a.node_path_destroy);
    load.require(a.array_destroy);
    load.require(a.node_path_from_string);
    load.require(a.array_new);
    load.require(a.string_name_new);
    load.require(a.string_name_equal);
    load.require(a.variant_from_bool);
    load.require(a.variant_from_int);
    load.require(a.variant_from_float);
    load.require(a.variant_from_vector2);
    load.require(a.variant_from_vector2i);
    load.require(a.variant_from_string_name);
    load.require(a.variant_from_array);
    load.require(a.bool_from_variant);
    load.require(a.int_from_variant);
    load.require(a.float_from_variant);
    load.require(a.vector2_from_variant);
    load.require(a.vector2i_from_variant);
}

}  // namespace

bool version_supported(uint32_t major, uint32_t minor) {
    return major > kMinMajor || (major == kMinMajor && minor >= kMinMinor);
}

LoadStatus load_interface(GDExtensionInterfaceGetProcAddress get_proc_address, GDExtensionClassLibraryPtr library) {
    clear_interface();
    if (get_proc_address == nullptr) {
        return LoadStatus::missing_function;
    }
    Interface a;
    a.library = library;
    Loader load(get_proc_address);
    load(a.print_error, "print_error");
    const bool can_report = a.print_error != nullptr;

    // get_godot_version2 itself only exists from 4.5 on.
    load(a.get_godot_version2, "get_godot_version2");
    if (a.get_godot_version2 == nullptr) {
        api.print_error = can_report ? a.print_error : nullptr;
        return LoadStatus::engine_too_old;
    }
    GDExtensionGodotVersion2 version{};
    a.get_godot_version2(&version);
    if (!version_supported(version.major, version.minor)) {
        api.print_error = can_report ? a.print_error : nullptr;
        return LoadStatus::engine_too_old;
    }

    Loader required(get_proc_address);
    load_functions(required, a);
    if (required.missing()) {
        api.print_error = can_report ? a.print_error : nullptr;
        return LoadStatus::missing_function;
    }
    resolve_builtins(required, a);
    load_optional(get_proc_address, a);
    if (required.missing()) {
        api.print_error = can_report ? a.print_error : nullptr;
        return LoadStatus::missing_function;
    }
    // The resize bind needs its name as a StringName, which needs the loaded
    // interface: build it here and release it at once.
    alignas(8) uint8_t name[8] = {};
    a.string_name_new_with_latin1_chars(name, "resize", 0);
    a.array_resize = a.variant_get_ptr_builtin_method(GDEXTENSION_VARIANT_TYPE_ARRAY, name, hashes::kArrayResize);
    a.string_name_destroy(name);
    if (a.array_resize == nullptr) {
        api.print_error = can_report ? a.print_error : nullptr;
        return LoadStatus::missing_function;
    }

    api = a;
    g_loaded = true;
    return LoadStatus::ok;
}

void clear_interface() {
    api = Interface{};
    g_loaded = false;
}

bool interface_loaded() { return g_loaded; }

void report_error(const char* message, const char* function, const char* file, int line) {
    if (api.print_error != nullptr) {
        api.print_error(message, function, file, line, 0);
    }
}

void report_exception(const char* context, const char* function, const char* file, int line) noexcept {
    // A fixed buffer: the exception may be that memory ran out.
    char message[256];
    try {
        throw;
    } catch (const std::bad_alloc&) {
        std::snprintf(message, sizeof message, "Warfield: out of memory %s.", context);
    } catch (const std::exception& e) {
        std::snprintf(message, sizeof message, "Warfield: error %s: %s", context, e.what());
    } catch (...) {
        std::snprintf(message, sizeof message, "Warfield: unknown error %s.", context);
    }
    report_error(message, function, file, line);
}

}  // namespace warfield::gde
