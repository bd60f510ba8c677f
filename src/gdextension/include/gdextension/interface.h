// The engine's interface functions, looked up once by name when the library
// is loaded. Everything else in the binding calls the engine through `api`.
#pragma once

#include "gdextension/gde_abi.h"

namespace warfield::gde {

// Every interface function the library looks up, each written once here:
// X(member, type). The member is named as the engine names the function, so
// loading, checking and the error that names a missing one come from this
// list alone.
#define WARFIELD_REQUIRED_INTERFACE(X)                                                            \
    X(get_godot_version2, GDExtensionInterfaceGetGodotVersion2)                                   \
    X(variant_new_nil, GDExtensionInterfaceVariantNewNil)                                         \
    X(variant_destroy, GDExtensionInterfaceVariantDestroy)                                        \
    X(variant_get_type, GDExtensionInterfaceVariantGetType)                                       \
    X(variant_can_convert_strict, GDExtensionInterfaceVariantCanConvertStrict)                    \
    X(variant_booleanize, GDExtensionInterfaceVariantBooleanize)                                  \
    X(get_variant_from_type_constructor, GDExtensionInterfaceGetVariantFromTypeConstructor)       \
    X(get_variant_to_type_constructor, GDExtensionInterfaceGetVariantToTypeConstructor)           \
    X(variant_get_ptr_constructor, GDExtensionInterfaceVariantGetPtrConstructor)                  \
    X(variant_get_ptr_destructor, GDExtensionInterfaceVariantGetPtrDestructor)                    \
    X(variant_get_ptr_builtin_method, GDExtensionInterfaceVariantGetPtrBuiltinMethod)             \
    X(variant_get_ptr_operator_evaluator, GDExtensionInterfaceVariantGetPtrOperatorEvaluator)     \
    X(string_new_with_utf8_chars, GDExtensionInterfaceStringNewWithUtf8Chars)                     \
    X(string_name_new_with_latin1_chars, GDExtensionInterfaceStringNameNewWithLatin1Chars)        \
    X(array_operator_index, GDExtensionInterfaceArrayOperatorIndex)                               \
    X(array_set_typed, GDExtensionInterfaceArraySetTyped)                                         \
    X(object_method_bind_ptrcall, GDExtensionInterfaceObjectMethodBindPtrcall)                    \
    X(object_call_script_method, GDExtensionInterfaceObjectCallScriptMethod)                      \
    X(object_destroy, GDExtensionInterfaceObjectDestroy)                                          \
    X(global_get_singleton, GDExtensionInterfaceGlobalGetSingleton)                               \
    X(object_get_instance_from_id, GDExtensionInterfaceObjectGetInstanceFromId)                   \
    X(object_get_instance_id, GDExtensionInterfaceObjectGetInstanceId)                            \
    X(object_cast_to, GDExtensionInterfaceObjectCastTo)                                           \
    X(object_set_instance, GDExtensionInterfaceObjectSetInstance)                                 \
    X(classdb_construct_object2, GDExtensionInterfaceClassdbConstructObject2)                     \
    X(classdb_get_method_bind, GDExtensionInterfaceClassdbGetMethodBind)                          \
    X(classdb_get_class_tag, GDExtensionInterfaceClassdbGetClassTag)                              \
    X(classdb_register_extension_class5, GDExtensionInterfaceClassdbRegisterExtensionClass5)      \
    X(classdb_register_extension_class_method, GDExtensionInterfaceClassdbRegisterExtensionClassMethod) \
    X(classdb_register_extension_class_property, GDExtensionInterfaceClassdbRegisterExtensionClassProperty) \
    X(classdb_register_extension_class_integer_constant,                                          \
      GDExtensionInterfaceClassdbRegisterExtensionClassIntegerConstant)                           \
    X(classdb_unregister_extension_class, GDExtensionInterfaceClassdbUnregisterExtensionClass)

// Looked up, but the library loads without them:
// - print_error: only reports why loading failed;
// - variant_call, callable_custom_create2: without them the node cannot hear
//   of changes to the tree, and finds its nodes by path every time;
// - print_warning, variant_stringify, string_to_utf8_chars: callback trouble
//   is reported through them (debug library);
// - editor_help_load_xml_from_utf8_chars_and_len: only an editor offers it.
#define WARFIELD_OPTIONAL_INTERFACE(X)                                                      \
    X(print_error, GDExtensionInterfacePrintError)                                          \
    X(variant_call, GDExtensionInterfaceVariantCall)                                        \
    X(callable_custom_create2, GDExtensionInterfaceCallableCustomCreate2)                   \
    X(print_warning, GDExtensionInterfacePrintWarning)                                      \
    X(variant_stringify, GDExtensionInterfaceVariantStringify)                              \
    X(string_to_utf8_chars, GDExtensionInterfaceStringToUtf8Chars)                         \
    X(editor_help_load_xml_from_utf8_chars_and_len, GDExtensionInterfaceEditorHelpLoadXmlFromUtf8CharsAndLen)

// Built-in type operations resolved through the functions above, each
// written once: X(member, type, how it is resolved from the loaded `a`).
#define WARFIELD_REQUIRED_BUILTINS(X)                                                                             \
    X(string_destroy, GDExtensionPtrDestructor, a.variant_get_ptr_destructor(GDEXTENSION_VARIANT_TYPE_STRING))     \
    X(string_name_destroy, GDExtensionPtrDestructor,                                                              \
      a.variant_get_ptr_destructor(GDEXTENSION_VARIANT_TYPE_STRING_NAME))                                         \
    X(node_path_destroy, GDExtensionPtrDestructor, a.variant_get_ptr_destructor(GDEXTENSION_VARIANT_TYPE_NODE_PATH)) \
    X(array_destroy, GDExtensionPtrDestructor, a.variant_get_ptr_destructor(GDEXTENSION_VARIANT_TYPE_ARRAY))       \
    X(node_path_from_string, GDExtensionPtrConstructor,                                                           \
      a.variant_get_ptr_constructor(GDEXTENSION_VARIANT_TYPE_NODE_PATH, kNodePathConstructorFromString))          \
    X(string_name_new, GDExtensionPtrConstructor,                                                                 \
      a.variant_get_ptr_constructor(GDEXTENSION_VARIANT_TYPE_STRING_NAME, kStringNameConstructorEmpty))           \
    X(array_new, GDExtensionPtrConstructor,                                                                       \
      a.variant_get_ptr_constructor(GDEXTENSION_VARIANT_TYPE_ARRAY, kArrayConstructorEmpty))                      \
    X(string_name_equal, GDExtensionPtrOperatorEvaluator,                                                         \
      a.variant_get_ptr_operator_evaluator(GDEXTENSION_VARIANT_OP_EQUAL, GDEXTENSION_VARIANT_TYPE_STRING_NAME,    \
                                           GDEXTENSION_VARIANT_TYPE_STRING_NAME))                                 \
    X(variant_from_bool, GDExtensionVariantFromTypeConstructorFunc, from_type(a, GDEXTENSION_VARIANT_TYPE_BOOL))  \
    X(variant_from_int, GDExtensionVariantFromTypeConstructorFunc, from_type(a, GDEXTENSION_VARIANT_TYPE_INT))    \
    X(variant_from_float, GDExtensionVariantFromTypeConstructorFunc, from_type(a, GDEXTENSION_VARIANT_TYPE_FLOAT)) \
    X(variant_from_vector2, GDExtensionVariantFromTypeConstructorFunc,                                            \
      from_type(a, GDEXTENSION_VARIANT_TYPE_VECTOR2))                                                             \
    X(variant_from_vector2i, GDExtensionVariantFromTypeConstructorFunc,                                           \
      from_type(a, GDEXTENSION_VARIANT_TYPE_VECTOR2I))                                                            \
    X(variant_from_string_name, GDExtensionVariantFromTypeConstructorFunc,                                        \
      from_type(a, GDEXTENSION_VARIANT_TYPE_STRING_NAME))                                                         \
    X(variant_from_array, GDExtensionVariantFromTypeConstructorFunc, from_type(a, GDEXTENSION_VARIANT_TYPE_ARRAY)) \
    X(bool_from_variant, GDExtensionTypeFromVariantConstructorFunc, to_type(a, GDEXTENSION_VARIANT_TYPE_BOOL))    \
    X(int_from_variant, GDExtensionTypeFromVariantConstructorFunc, to_type(a, GDEXTENSION_VARIANT_TYPE_INT))      \
    X(float_from_variant, GDExtensionTypeFromVariantConstructorFunc, to_type(a, GDEXTENSION_VARIANT_TYPE_FLOAT))  \
    X(vector2_from_variant, GDExtensionTypeFromVariantConstructorFunc, to_type(a, GDEXTENSION_VARIANT_TYPE_VECTOR2)) \
    X(vector2i_from_variant, GDExtensionTypeFromVariantConstructorFunc,                                           \
      to_type(a, GDEXTENSION_VARIANT_TYPE_VECTOR2I))                                                              \
    X(array_resize, GDExtensionPtrBuiltInMethod, array_method(a, "resize", hashes::kArrayResize))

// Resolved for the tree relay and the callback warnings, which do without
// them.
#define WARFIELD_OPTIONAL_BUILTINS(X)                                                                      \
    X(variant_from_object, GDExtensionVariantFromTypeConstructorFunc, from_type(a, GDEXTENSION_VARIANT_TYPE_OBJECT)) \
    X(variant_from_callable, GDExtensionVariantFromTypeConstructorFunc,                                    \
      from_type(a, GDEXTENSION_VARIANT_TYPE_CALLABLE))                                                     \
    X(object_from_variant, GDExtensionTypeFromVariantConstructorFunc, to_type(a, GDEXTENSION_VARIANT_TYPE_OBJECT)) \
    X(callable_destroy, GDExtensionPtrDestructor, a.variant_get_ptr_destructor(GDEXTENSION_VARIANT_TYPE_CALLABLE))

struct Interface {
    GDExtensionClassLibraryPtr library = nullptr;
#define WARFIELD_INTERFACE_MEMBER(member, type, ...) type member = nullptr;
    WARFIELD_REQUIRED_INTERFACE(WARFIELD_INTERFACE_MEMBER)
    WARFIELD_OPTIONAL_INTERFACE(WARFIELD_INTERFACE_MEMBER)
    WARFIELD_REQUIRED_BUILTINS(WARFIELD_INTERFACE_MEMBER)
    WARFIELD_OPTIONAL_BUILTINS(WARFIELD_INTERFACE_MEMBER)
#undef WARFIELD_INTERFACE_MEMBER
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
// After a missing_function load: the first function (or built-in operation)
// the engine did not give, by the name this file knows it by.
const char* missing_interface_function();
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
