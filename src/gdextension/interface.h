// The engine's interface functions, looked up once by name when the library
// is loaded. Everything else in the binding calls the engine through `api`.
#pragma once

#include "gdextension/gde_abi.h"

namespace warfield::gde {

struct Interface {
    GDExtensionClassLibraryPtr library = nullptr;

    // Optional: only used to report why loading failed.
    GDExtensionInterfacePrintError print_error = nullptr;
    // Optional: callback trouble is reported through these (debug library).
    GDExtensionInterfacePrintWarning print_warning = nullptr;
    GDExtensionInterfaceVariantStringify variant_stringify = nullptr;
    GDExtensionInterfaceStringToUtf8Chars string_to_utf8_chars = nullptr;

    GDExtensionInterfaceGetGodotVersion2 get_godot_version2 = nullptr;

    GDExtensionInterfaceVariantNewNil variant_new_nil = nullptr;
    GDExtensionInterfaceVariantDestroy variant_destroy = nullptr;
    GDExtensionInterfaceVariantGetType variant_get_type = nullptr;
    GDExtensionInterfaceVariantCanConvertStrict variant_can_convert_strict = nullptr;
    GDExtensionInterfaceVariantBooleanize variant_booleanize = nullptr;
    GDExtensionInterfaceGetVariantFromTypeConstructor get_variant_from_type_constructor = nullptr;
    GDExtensionInterfaceGetVariantToTypeConstructor get_variant_to_type_constructor = nullptr;
    GDExtensionInterfaceVariantGetPtrConstructor variant_get_ptr_constructor = nullptr;
    GDExtensionInterfaceVariantGetPtrDestructor variant_get_ptr_destructor = nullptr;
    GDExtensionInterfaceVariantGetPtrBuiltinMethod variant_get_ptr_builtin_method = nullptr;
    GDExtensionInterfaceVariantGetPtrOperatorEvaluator variant_get_ptr_operator_evaluator = nullptr;

    GDExtensionInterfaceStringNewWithUtf8Chars string_new_with_utf8_chars = nullptr;
    GDExtensionInterfaceStringNameNewWithLatin1Chars string_name_new_with_latin1_chars = nullptr;

    GDExtensionInterfaceArrayOperatorIndex array_operator_index = nullptr;
    GDExtensionInterfaceArraySetTyped array_set_typed = nullptr;

    GDExtensionInterfaceObjectMethodBindPtrcall object_method_bind_ptrcall = nullptr;
    GDExtensionInterfaceObjectCallScriptMethod object_call_script_method = nullptr;
    GDExtensionInterfaceObjectDestroy object_destroy = nullptr;
    GDExtensionInterfaceGlobalGetSingleton global_get_singleton = nullptr;
    GDExtensionInterfaceObjectGetInstanceFromId object_get_instance_from_id = nullptr;
    GDExtensionInterfaceObjectGetInstanceId object_get_instance_id = nullptr;
    GDExtensionInterfaceObjectCastTo object_cast_to = nullptr;
    GDExtensionInterfaceObjectSetInstance object_set_instance = nullptr;

    GDExtensionInterfaceClassdbConstructObject2 classdb_construct_object2 = nullptr;
    GDExtensionInterfaceClassdbGetMethodBind classdb_get_method_bind = nullptr;
    GDExtensionInterfaceClassdbGetClassTag classdb_get_class_tag = nullptr;
    GDExtensionInterfaceClassdbRegisterExtensionClass5 classdb_register_extension_class5 = nullptr;
    GDExtensionInterfaceClassdbRegisterExtensionClassMethod classdb_register_extension_class_method = nullptr;
    GDExtensionInterfaceClassdbRegisterExtensionClassProperty classdb_register_extension_class_property = nullptr;
    GDExtensionInterfaceClassdbRegisterExtensionClassIntegerConstant
        classdb_register_extension_class_integer_constant = nullptr;
    GDExtensionInterfaceClassdbUnregisterExtensionClass classdb_unregister_extension_class = nullptr;

    // Optional: without them the node finds its nodes by path every time,
    // since it cannot hear of changes to the tree.
    GDExtensionInterfaceVariantCall variant_call = nullptr;
    GDExtensionInterfaceCallableCustomCreate2 callable_custom_create2 = nullptr;
    GDExtensionVariantFromTypeConstructorFunc variant_from_object = nullptr;
    GDExtensionVariantFromTypeConstructorFunc variant_from_callable = nullptr;
    GDExtensionTypeFromVariantConstructorFunc object_from_variant = nullptr;
    GDExtensionPtrDestructor callable_destroy = nullptr;
    // Optional: only an editor offers it; the class reference is loaded
    // through it.
    GDExtensionInterfaceEditorHelpLoadXmlFromUtf8CharsAndLen editor_help_load_xml_from_utf8_chars_and_len = nullptr;

    // Resolved from the functions above while loading.
    GDExtensionPtrDestructor string_destroy = nullptr;
    GDExtensionPtrDestructor string_name_destroy = nullptr;
    GDExtensionPtrDestructor node_path_destroy = nullptr;
    GDExtensionPtrDestructor array_destroy = nullptr;
    GDExtensionPtrConstructor node_path_from_string = nullptr;
    GDExtensionPtrConstructor string_name_new = nullptr;
    GDExtensionPtrConstructor array_new = nullptr;
    GDExtensionPtrBuiltInMethod array_resize = nullptr;
    GDExtensionPtrOperatorEvaluator string_name_equal = nullptr;

    GDExtensionVariantFromTypeConstructorFunc variant_from_bool = nullptr;
    GDExtensionVariantFromTypeConstructorFunc variant_from_int = nullptr;
    GDExtensionVariantFromTypeConstructorFunc variant_from_float = nullptr;
    GDExtensionVariantFromTypeConstructorFunc variant_from_vector2 = nullptr;
    GDExtensionVariantFromTypeConstructorFunc variant_from_vector2i = nullptr;
    GDExtensionVariantFromTypeConstructorFunc variant_from_string_name = nullptr;
    GDExtensionVariantFromTypeConstructorFunc variant_from_array = nullptr;
    GDExtensionTypeFromVariantConstructorFunc bool_from_variant = nullptr;
    GDExtensionTypeFromVariantConstructorFunc int_from_variant = nullptr;
    GDExtensionTypeFromVariantConstructorFunc float_from_variant = nullptr;
    GDExtensionTypeFromVariantConstructorFunc vector2_from_variant = nullptr;
    GDExtensionTypeFromVariantConstructorFunc vector2i_from_variant = nullptr;
};

extern Interface api;

// Constructor indices the binding relies on (builtin method hashes are in
// engine_hashes.h).
inline constexpr int32_t kArrayConstructorEmpty = 0;
inline constexpr int32_t kNodePathConstructorFromString = 2;
inline constexpr int32_t kStringNameConstructorEmpty = 0;

// Lowest engine version the library accepts.
inline constexpr uint32_t kMinMajor = 4;
inline constexpr uint32_t kMinMinor = 5;

enum class LoadStatus { ok, missing_function, engine_too_old };

// Fills `api` from the host. On any failure `api` is left cleared, so nothing
// can call a half-loaded interface.
LoadStatus load_interface(GDExtensionInterfaceGetProcAddress get_proc_address, GDExtensionClassLibraryPtr library);
void clear_interface();
bool interface_loaded();

bool version_supported(uint32_t major, uint32_t minor);

// The binding's own message, through the engine's error log when available.
void report_error(const char* message, const char* function, const char* file, int line);
// Reports the exception being handled (call only inside a catch block) as
// what it is: out of memory, a standard exception's message, or unknown.
void report_exception(const char* context, const char* function, const char* file, int line) noexcept;

}  // namespace warfield::gde

#define WARFIELD_REPORT_ERROR(msg) ::warfield::gde::report_error((msg), __func__, __FILE__, __LINE__)
#define WARFIELD_REPORT_EXCEPTION(context) \
    ::warfield::gde::report_exception((context), __func__, __FILE__, __LINE__)
