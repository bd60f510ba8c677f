/* The part of the engine's C extension interface (4.5) that this library and
 * its stand-in host use, declared from the interface description. Layouts
 * must match the engine byte for byte: field order and types are not ours to
 * change. Plain C so either side can include it. Nothing newer than 4.5. */
#ifndef WARFIELD_GDE_ABI_H
#define WARFIELD_GDE_ABI_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Scalars and opaque handles ---------------------------------------- */

typedef uint8_t GDExtensionBool;
typedef int64_t GDExtensionInt;
typedef uint64_t GDObjectInstanceID;

typedef void *GDExtensionVariantPtr;
typedef const void *GDExtensionConstVariantPtr;
typedef void *GDExtensionUninitializedVariantPtr;
typedef void *GDExtensionStringNamePtr;
typedef const void *GDExtensionConstStringNamePtr;
typedef void *GDExtensionUninitializedStringNamePtr;
typedef void *GDExtensionStringPtr;
typedef const void *GDExtensionConstStringPtr;
typedef void *GDExtensionUninitializedStringPtr;
typedef void *GDExtensionObjectPtr;
typedef const void *GDExtensionConstObjectPtr;
typedef void *GDExtensionUninitializedObjectPtr;
typedef void *GDExtensionTypePtr;
typedef const void *GDExtensionConstTypePtr;
typedef void *GDExtensionUninitializedTypePtr;
typedef const void *GDExtensionMethodBindPtr;
typedef void *GDExtensionClassInstancePtr;
typedef void *GDExtensionClassLibraryPtr;

/* ---- Enumerations ------------------------------------------------------ */

typedef enum {
    GDEXTENSION_VARIANT_TYPE_NIL = 0,
    GDEXTENSION_VARIANT_TYPE_BOOL = 1,
    GDEXTENSION_VARIANT_TYPE_INT = 2,
    GDEXTENSION_VARIANT_TYPE_FLOAT = 3,
    GDEXTENSION_VARIANT_TYPE_STRING = 4,
    GDEXTENSION_VARIANT_TYPE_VECTOR2 = 5,
    GDEXTENSION_VARIANT_TYPE_VECTOR2I = 6,
    GDEXTENSION_VARIANT_TYPE_RECT2 = 7,
    GDEXTENSION_VARIANT_TYPE_RECT2I = 8,
    GDEXTENSION_VARIANT_TYPE_VECTOR3 = 9,
    GDEXTENSION_VARIANT_TYPE_VECTOR3I = 10,
    GDEXTENSION_VARIANT_TYPE_TRANSFORM2D = 11,
    GDEXTENSION_VARIANT_TYPE_VECTOR4 = 12,
    GDEXTENSION_VARIANT_TYPE_VECTOR4I = 13,
    GDEXTENSION_VARIANT_TYPE_PLANE = 14,
    GDEXTENSION_VARIANT_TYPE_QUATERNION = 15,
    GDEXTENSION_VARIANT_TYPE_AABB = 16,
    GDEXTENSION_VARIANT_TYPE_BASIS = 17,
    GDEXTENSION_VARIANT_TYPE_TRANSFORM3D = 18,
    GDEXTENSION_VARIANT_TYPE_PROJECTION = 19,
    GDEXTENSION_VARIANT_TYPE_COLOR = 20,
    GDEXTENSION_VARIANT_TYPE_STRING_NAME = 21,
    GDEXTENSION_VARIANT_TYPE_NODE_PATH = 22,
    GDEXTENSION_VARIANT_TYPE_RID = 23,
    GDEXTENSION_VARIANT_TYPE_OBJECT = 24,
    GDEXTENSION_VARIANT_TYPE_CALLABLE = 25,
    GDEXTENSION_VARIANT_TYPE_SIGNAL = 26,
    GDEXTENSION_VARIANT_TYPE_DICTIONARY = 27,
    GDEXTENSION_VARIANT_TYPE_ARRAY = 28,
    GDEXTENSION_VARIANT_TYPE_PACKED_BYTE_ARRAY = 29,
    GDEXTENSION_VARIANT_TYPE_PACKED_INT32_ARRAY = 30,
    GDEXTENSION_VARIANT_TYPE_PACKED_INT64_ARRAY = 31,
    GDEXTENSION_VARIANT_TYPE_PACKED_FLOAT32_ARRAY = 32,
    GDEXTENSION_VARIANT_TYPE_PACKED_FLOAT64_ARRAY = 33,
    GDEXTENSION_VARIANT_TYPE_PACKED_STRING_ARRAY = 34,
    GDEXTENSION_VARIANT_TYPE_PACKED_VECTOR2_ARRAY = 35,
    GDEXTENSION_VARIANT_TYPE_PACKED_VECTOR3_ARRAY = 36,
    GDEXTENSION_VARIANT_TYPE_PACKED_COLOR_ARRAY = 37,
    GDEXTENSION_VARIANT_TYPE_PACKED_VECTOR4_ARRAY = 38,
    GDEXTENSION_VARIANT_TYPE_VARIANT_MAX = 39
} GDExtensionVariantType;

/* Only the operator the binding uses; the engine's enum has 25. */
typedef enum {
    GDEXTENSION_VARIANT_OP_EQUAL = 0,
    GDEXTENSION_VARIANT_OP_NOT_EQUAL = 1,
    GDEXTENSION_VARIANT_OP_MAX = 25
} GDExtensionVariantOperator;

typedef enum {
    GDEXTENSION_CALL_OK = 0,
    GDEXTENSION_CALL_ERROR_INVALID_METHOD = 1,
    GDEXTENSION_CALL_ERROR_INVALID_ARGUMENT = 2,
    GDEXTENSION_CALL_ERROR_TOO_MANY_ARGUMENTS = 3,
    GDEXTENSION_CALL_ERROR_TOO_FEW_ARGUMENTS = 4,
    GDEXTENSION_CALL_ERROR_INSTANCE_IS_NULL = 5,
    GDEXTENSION_CALL_ERROR_METHOD_NOT_CONST = 6
} GDExtensionCallErrorType;

typedef enum {
    GDEXTENSION_INITIALIZATION_CORE = 0,
    GDEXTENSION_INITIALIZATION_SERVERS = 1,
    GDEXTENSION_INITIALIZATION_SCENE = 2,
    GDEXTENSION_INITIALIZATION_EDITOR = 3,
    GDEXTENSION_MAX_INITIALIZATION_LEVEL = 4
} GDExtensionInitializationLevel;

/* A bitfield; the struct members that carry it are uint32_t. */
typedef enum {
    GDEXTENSION_METHOD_FLAG_NORMAL = 1,
    GDEXTENSION_METHOD_FLAG_EDITOR = 2,
    GDEXTENSION_METHOD_FLAG_CONST = 4,
    GDEXTENSION_METHOD_FLAG_VIRTUAL = 8,
    GDEXTENSION_METHOD_FLAG_VARARG = 16,
    GDEXTENSION_METHOD_FLAG_STATIC = 32,
    GDEXTENSION_METHOD_FLAG_VIRTUAL_REQUIRED = 128,
    GDEXTENSION_METHOD_FLAGS_DEFAULT = GDEXTENSION_METHOD_FLAG_NORMAL
} GDExtensionClassMethodFlags;

/* OBJECT_IS_REQUIRED (13) belongs to a later interface and is left out. */
typedef enum {
    GDEXTENSION_METHOD_ARGUMENT_METADATA_NONE = 0,
    GDEXTENSION_METHOD_ARGUMENT_METADATA_INT_IS_INT8 = 1,
    GDEXTENSION_METHOD_ARGUMENT_METADATA_INT_IS_INT16 = 2,
    GDEXTENSION_METHOD_ARGUMENT_METADATA_INT_IS_INT32 = 3,
    GDEXTENSION_METHOD_ARGUMENT_METADATA_INT_IS_INT64 = 4,
    GDEXTENSION_METHOD_ARGUMENT_METADATA_INT_IS_UINT8 = 5,
    GDEXTENSION_METHOD_ARGUMENT_METADATA_INT_IS_UINT16 = 6,
    GDEXTENSION_METHOD_ARGUMENT_METADATA_INT_IS_UINT32 = 7,
    GDEXTENSION_METHOD_ARGUMENT_METADATA_INT_IS_UINT64 = 8,
    GDEXTENSION_METHOD_ARGUMENT_METADATA_REAL_IS_FLOAT = 9,
    GDEXTENSION_METHOD_ARGUMENT_METADATA_REAL_IS_DOUBLE = 10,
    GDEXTENSION_METHOD_ARGUMENT_METADATA_INT_IS_CHAR16 = 11,
    GDEXTENSION_METHOD_ARGUMENT_METADATA_INT_IS_CHAR32 = 12
} GDExtensionClassMethodArgumentMetadata;

/* Engine enum values the binding passes through the uint32_t fields. */
#define WARFIELD_PROPERTY_HINT_NONE 0u
#define WARFIELD_PROPERTY_HINT_ARRAY_TYPE 31u
#define WARFIELD_PROPERTY_USAGE_DEFAULT 6u
#define WARFIELD_NOTIFICATION_POSTINITIALIZE 0

/* ---- Plain structs ----------------------------------------------------- */

typedef struct {
    GDExtensionCallErrorType error;
    int32_t argument;
    int32_t expected;
} GDExtensionCallError;

typedef struct {
    uint32_t major;
    uint32_t minor;
    uint32_t patch;
    uint32_t hex; /* one byte per number: 4.5.1 is 0x040501 */
    const char *status;
    const char *build;
    const char *hash;
    uint64_t timestamp;
    const char *string;
} GDExtensionGodotVersion2;

typedef struct {
    GDExtensionVariantType type;
    GDExtensionStringNamePtr name;
    GDExtensionStringNamePtr class_name;
    uint32_t hint;
    GDExtensionStringPtr hint_string;
    uint32_t usage;
} GDExtensionPropertyInfo;

typedef struct {
    GDExtensionStringNamePtr name;
    GDExtensionPropertyInfo return_value;
    uint32_t flags;
    int32_t id;
    uint32_t argument_count;
    GDExtensionPropertyInfo *arguments;
    uint32_t default_argument_count;
    GDExtensionVariantPtr *default_arguments;
} GDExtensionMethodInfo;

/* ---- Value-type function pointers -------------------------------------- */

typedef void (*GDExtensionVariantFromTypeConstructorFunc)(GDExtensionUninitializedVariantPtr, GDExtensionTypePtr);
typedef void (*GDExtensionTypeFromVariantConstructorFunc)(GDExtensionUninitializedTypePtr, GDExtensionVariantPtr);
typedef void (*GDExtensionPtrBuiltInMethod)(GDExtensionTypePtr p_base, const GDExtensionConstTypePtr *p_args,
                                            GDExtensionTypePtr r_return, int32_t p_argument_count);
typedef void (*GDExtensionPtrConstructor)(GDExtensionUninitializedTypePtr p_base, const GDExtensionConstTypePtr *p_args);
typedef void (*GDExtensionPtrDestructor)(GDExtensionTypePtr p_base);
typedef void (*GDExtensionPtrOperatorEvaluator)(GDExtensionConstTypePtr p_left, GDExtensionConstTypePtr p_right,
                                                GDExtensionTypePtr r_result);

/* ---- Instance bindings ------------------------------------------------- */

typedef void *(*GDExtensionInstanceBindingCreateCallback)(void *p_token, void *p_instance);
typedef void (*GDExtensionInstanceBindingFreeCallback)(void *p_token, void *p_instance, void *p_binding);
typedef GDExtensionBool (*GDExtensionInstanceBindingReferenceCallback)(void *p_token, void *p_binding,
                                                                      GDExtensionBool p_reference);

typedef struct {
    GDExtensionInstanceBindingCreateCallback create_callback;
    GDExtensionInstanceBindingFreeCallback free_callback;
    GDExtensionInstanceBindingReferenceCallback reference_callback;
} GDExtensionInstanceBindingCallbacks;

/* ---- Class callbacks --------------------------------------------------- */

typedef GDExtensionBool (*GDExtensionClassSet)(GDExtensionClassInstancePtr p_instance,
                                               GDExtensionConstStringNamePtr p_name,
                                               GDExtensionConstVariantPtr p_value);
typedef GDExtensionBool (*GDExtensionClassGet)(GDExtensionClassInstancePtr p_instance,
                                               GDExtensionConstStringNamePtr p_name, GDExtensionVariantPtr r_ret);
typedef const GDExtensionPropertyInfo *(*GDExtensionClassGetPropertyList)(GDExtensionClassInstancePtr p_instance,
                                                                          uint32_t *r_count);
typedef void (*GDExtensionClassFreePropertyList2)(GDExtensionClassInstancePtr p_instance,
                                                  const GDExtensionPropertyInfo *p_list, uint32_t p_count);
typedef GDExtensionBool (*GDExtensionClassPropertyCanRevert)(GDExtensionClassInstancePtr p_instance,
                                                             GDExtensionConstStringNamePtr p_name);
typedef GDExtensionBool (*GDExtensionClassPropertyGetRevert)(GDExtensionClassInstancePtr p_instance,
                                                             GDExtensionConstStringNamePtr p_name,
                                                             GDExtensionVariantPtr r_ret);
typedef GDExtensionBool (*GDExtensionClassValidateProperty)(GDExtensionClassInstancePtr p_instance,
                                                            GDExtensionPropertyInfo *p_property);
typedef void (*GDExtensionClassNotification2)(GDExtensionClassInstancePtr p_instance, int32_t p_what,
                                              GDExtensionBool p_reversed);
typedef void (*GDExtensionClassToString)(GDExtensionClassInstancePtr p_instance, GDExtensionBool *r_is_valid,
                                         GDExtensionStringPtr p_out);
typedef void (*GDExtensionClassReference)(GDExtensionClassInstancePtr p_instance);
typedef void (*GDExtensionClassUnreference)(GDExtensionClassInstancePtr p_instance);
typedef void (*GDExtensionClassCallVirtual)(GDExtensionClassInstancePtr p_instance,
                                            const GDExtensionConstTypePtr *p_args, GDExtensionTypePtr r_ret);
typedef GDExtensionObjectPtr (*GDExtensionClassCreateInstance2)(void *p_class_userdata,
                                                                GDExtensionBool p_notify_postinitialize);
typedef void (*GDExtensionClassFreeInstance)(void *p_class_userdata, GDExtensionClassInstancePtr p_instance);
typedef GDExtensionClassInstancePtr (*GDExtensionClassRecreateInstance)(void *p_class_userdata,
                                                                        GDExtensionObjectPtr p_object);
typedef GDExtensionClassCallVirtual (*GDExtensionClassGetVirtual2)(void *p_class_userdata,
                                                                   GDExtensionConstStringNamePtr p_name,
                                                                   uint32_t p_hash);
typedef void *(*GDExtensionClassGetVirtualCallData2)(void *p_class_userdata, GDExtensionConstStringNamePtr p_name,
                                                     uint32_t p_hash);
typedef void (*GDExtensionClassCallVirtualWithData)(GDExtensionClassInstancePtr p_instance,
                                                    GDExtensionConstStringNamePtr p_name,
                                                    void *p_virtual_call_userdata,
                                                    const GDExtensionConstTypePtr *p_args, GDExtensionTypePtr r_ret);

/* What classdb_register_extension_class5 takes (the 4.5 creation info). */
typedef struct {
    GDExtensionBool is_virtual;
    GDExtensionBool is_abstract;
    GDExtensionBool is_exposed;
    GDExtensionBool is_runtime;
    GDExtensionConstStringPtr icon_path;
    GDExtensionClassSet set_func;
    GDExtensionClassGet get_func;
    GDExtensionClassGetPropertyList get_property_list_func;
    GDExtensionClassFreePropertyList2 free_property_list_func;
    GDExtensionClassPropertyCanRevert property_can_revert_func;
    GDExtensionClassPropertyGetRevert property_get_revert_func;
    GDExtensionClassValidateProperty validate_property_func;
    GDExtensionClassNotification2 notification_func;
    GDExtensionClassToString to_string_func;
    GDExtensionClassReference reference_func;
    GDExtensionClassUnreference unreference_func;
    GDExtensionClassCreateInstance2 create_instance_func; /* required unless virtual or abstract */
    GDExtensionClassFreeInstance free_instance_func;       /* required */
    GDExtensionClassRecreateInstance recreate_instance_func;
    GDExtensionClassGetVirtual2 get_virtual_func;
    GDExtensionClassGetVirtualCallData2 get_virtual_call_data_func;
    GDExtensionClassCallVirtualWithData call_virtual_with_data_func;
    void *class_userdata;
} GDExtensionClassCreationInfo4;

typedef GDExtensionClassCreationInfo4 GDExtensionClassCreationInfo5;

/* ---- Bound methods ----------------------------------------------------- */

typedef void (*GDExtensionClassMethodCall)(void *method_userdata, GDExtensionClassInstancePtr p_instance,
                                           const GDExtensionConstVariantPtr *p_args, GDExtensionInt p_argument_count,
                                           GDExtensionVariantPtr r_return, GDExtensionCallError *r_error);
typedef void (*GDExtensionClassMethodValidatedCall)(void *method_userdata, GDExtensionClassInstancePtr p_instance,
                                                    const GDExtensionConstVariantPtr *p_args,
                                                    GDExtensionVariantPtr r_return);
typedef void (*GDExtensionClassMethodPtrCall)(void *method_userdata, GDExtensionClassInstancePtr p_instance,
                                              const GDExtensionConstTypePtr *p_args, GDExtensionTypePtr r_ret);

typedef struct {
    GDExtensionStringNamePtr name;
    void *method_userdata;
    GDExtensionClassMethodCall call_func;
    GDExtensionClassMethodPtrCall ptrcall_func;
    uint32_t method_flags; /* GDExtensionClassMethodFlags */
    GDExtensionBool has_return_value;
    GDExtensionPropertyInfo *return_value_info;
    GDExtensionClassMethodArgumentMetadata return_value_metadata;
    uint32_t argument_count;
    GDExtensionPropertyInfo *arguments_info;
    GDExtensionClassMethodArgumentMetadata *arguments_metadata;
    uint32_t default_argument_count;
    GDExtensionVariantPtr *default_arguments;
} GDExtensionClassMethodInfo;

/* ---- Entry and initialization ------------------------------------------ */

typedef void (*GDExtensionInitializeCallback)(void *p_userdata, GDExtensionInitializationLevel p_level);
typedef void (*GDExtensionDeinitializeCallback)(void *p_userdata, GDExtensionInitializationLevel p_level);

typedef struct {
    GDExtensionInitializationLevel minimum_initialization_level;
    void *userdata;
    GDExtensionInitializeCallback initialize;
    GDExtensionDeinitializeCallback deinitialize;
} GDExtensionInitialization;

typedef void (*GDExtensionInterfaceFunctionPtr)(void);
typedef GDExtensionInterfaceFunctionPtr (*GDExtensionInterfaceGetProcAddress)(const char *p_function_name);
typedef GDExtensionBool (*GDExtensionInitializationFunction)(GDExtensionInterfaceGetProcAddress p_get_proc_address,
                                                             GDExtensionClassLibraryPtr p_library,
                                                             GDExtensionInitialization *r_initialization);

/* ---- Interface functions (looked up by the name in the comment) -------- */

/* "get_godot_version2" (4.5) */
typedef void (*GDExtensionInterfaceGetGodotVersion2)(GDExtensionGodotVersion2 *r_godot_version);
/* "mem_alloc", "mem_free" */
typedef void *(*GDExtensionInterfaceMemAlloc)(size_t p_bytes);
typedef void (*GDExtensionInterfaceMemFree)(void *p_ptr);
/* "print_error" */
typedef void (*GDExtensionInterfacePrintError)(const char *p_description, const char *p_function, const char *p_file,
                                               int32_t p_line, GDExtensionBool p_editor_notify);
/* "print_warning" */
typedef void (*GDExtensionInterfacePrintWarning)(const char *p_description, const char *p_function, const char *p_file,
                                                 int32_t p_line, GDExtensionBool p_editor_notify);

/* Variants. */
/* "variant_new_copy" */
typedef void (*GDExtensionInterfaceVariantNewCopy)(GDExtensionUninitializedVariantPtr r_dest,
                                                   GDExtensionConstVariantPtr p_src);
/* "variant_new_nil" */
typedef void (*GDExtensionInterfaceVariantNewNil)(GDExtensionUninitializedVariantPtr r_dest);
/* "variant_destroy" */
typedef void (*GDExtensionInterfaceVariantDestroy)(GDExtensionVariantPtr p_self);
/* "variant_call" */
typedef void (*GDExtensionInterfaceVariantCall)(GDExtensionVariantPtr p_self, GDExtensionConstStringNamePtr p_method,
                                                const GDExtensionConstVariantPtr *p_args,
                                                GDExtensionInt p_argument_count,
                                                GDExtensionUninitializedVariantPtr r_return,
                                                GDExtensionCallError *r_error);
/* Custom callables: a function of the extension's the engine can call like
 * any Callable (signals included). */
typedef void (*GDExtensionCallableCustomCall)(void *callable_userdata, const GDExtensionConstVariantPtr *p_args,
                                              GDExtensionInt p_argument_count, GDExtensionVariantPtr r_return,
                                              GDExtensionCallError *r_error);
typedef GDExtensionBool (*GDExtensionCallableCustomIsValid)(void *callable_userdata);
typedef void (*GDExtensionCallableCustomFree)(void *callable_userdata);
typedef uint32_t (*GDExtensionCallableCustomHash)(void *callable_userdata);
typedef GDExtensionBool (*GDExtensionCallableCustomEqual)(void *callable_userdata_a, void *callable_userdata_b);
typedef GDExtensionBool (*GDExtensionCallableCustomLessThan)(void *callable_userdata_a, void *callable_userdata_b);
typedef void (*GDExtensionCallableCustomToString)(void *callable_userdata, GDExtensionBool *r_is_valid,
                                                  GDExtensionStringPtr r_out);
typedef GDExtensionInt (*GDExtensionCallableCustomGetArgumentCount)(void *callable_userdata,
                                                                   GDExtensionBool *r_is_valid);
typedef struct {
    void *callable_userdata;
    void *token;
    GDObjectInstanceID object_id;
    GDExtensionCallableCustomCall call_func;
    GDExtensionCallableCustomIsValid is_valid_func;
    GDExtensionCallableCustomFree free_func;
    GDExtensionCallableCustomHash hash_func;
    GDExtensionCallableCustomEqual equal_func;
    GDExtensionCallableCustomLessThan less_than_func;
    GDExtensionCallableCustomToString to_string_func;
    GDExtensionCallableCustomGetArgumentCount get_argument_count_func;
} GDExtensionCallableCustomInfo2;
/* "callable_custom_create2" (4.3) */
typedef void (*GDExtensionInterfaceCallableCustomCreate2)(GDExtensionUninitializedTypePtr r_callable,
                                                          GDExtensionCallableCustomInfo2 *p_callable_custom_info);
/* "variant_booleanize" */
typedef GDExtensionBool (*GDExtensionInterfaceVariantBooleanize)(GDExtensionConstVariantPtr p_self);
/* "variant_get_type" */
typedef GDExtensionVariantType (*GDExtensionInterfaceVariantGetType)(GDExtensionConstVariantPtr p_self);
/* "variant_can_convert", "variant_can_convert_strict" */
typedef GDExtensionBool (*GDExtensionInterfaceVariantCanConvert)(GDExtensionVariantType p_from,
                                                                 GDExtensionVariantType p_to);
typedef GDExtensionBool (*GDExtensionInterfaceVariantCanConvertStrict)(GDExtensionVariantType p_from,
                                                                       GDExtensionVariantType p_to);
/* "get_variant_from_type_constructor" */
typedef GDExtensionVariantFromTypeConstructorFunc (*GDExtensionInterfaceGetVariantFromTypeConstructor)(
    GDExtensionVariantType p_type);
/* "get_variant_to_type_constructor" */
typedef GDExtensionTypeFromVariantConstructorFunc (*GDExtensionInterfaceGetVariantToTypeConstructor)(
    GDExtensionVariantType p_type);
/* "variant_get_ptr_builtin_method" */
typedef GDExtensionPtrBuiltInMethod (*GDExtensionInterfaceVariantGetPtrBuiltinMethod)(
    GDExtensionVariantType p_type, GDExtensionConstStringNamePtr p_method, GDExtensionInt p_hash);
/* "variant_get_ptr_constructor" */
typedef GDExtensionPtrConstructor (*GDExtensionInterfaceVariantGetPtrConstructor)(GDExtensionVariantType p_type,
                                                                                  int32_t p_constructor);
/* "variant_get_ptr_operator_evaluator"; a comparison writes a GDExtensionBool */
typedef GDExtensionPtrOperatorEvaluator (*GDExtensionInterfaceVariantGetPtrOperatorEvaluator)(
    GDExtensionVariantOperator p_operator, GDExtensionVariantType p_type_a, GDExtensionVariantType p_type_b);
/* "variant_get_ptr_destructor" */
typedef GDExtensionPtrDestructor (*GDExtensionInterfaceVariantGetPtrDestructor)(GDExtensionVariantType p_type);

/* Strings. */
/* "string_new_with_latin1_chars", "string_new_with_utf8_chars" */
typedef void (*GDExtensionInterfaceStringNewWithLatin1Chars)(GDExtensionUninitializedStringPtr r_dest,
                                                             const char *p_contents);
typedef void (*GDExtensionInterfaceStringNewWithUtf8Chars)(GDExtensionUninitializedStringPtr r_dest,
                                                           const char *p_contents);
/* "string_name_new_with_latin1_chars" (4.2); p_is_static: the name keeps pointing at p_contents */
typedef void (*GDExtensionInterfaceStringNameNewWithLatin1Chars)(GDExtensionUninitializedStringNamePtr r_dest,
                                                                 const char *p_contents,
                                                                 GDExtensionBool p_is_static);
/* "string_name_new_with_utf8_chars" (4.2) */
typedef void (*GDExtensionInterfaceStringNameNewWithUtf8Chars)(GDExtensionUninitializedStringNamePtr r_dest,
                                                               const char *p_contents);

/* Arrays. */
/* "array_operator_index" */
typedef GDExtensionVariantPtr (*GDExtensionInterfaceArrayOperatorIndex)(GDExtensionTypePtr p_self,
                                                                        GDExtensionInt p_index);
/* "array_set_typed" */
typedef void (*GDExtensionInterfaceArraySetTyped)(GDExtensionTypePtr p_self, GDExtensionVariantType p_type,
                                                  GDExtensionConstStringNamePtr p_class_name,
                                                  GDExtensionConstVariantPtr p_script);

/* Objects. */
/* "object_call_script_method" */
typedef void (*GDExtensionInterfaceObjectCallScriptMethod)(GDExtensionObjectPtr p_object,
                                                           GDExtensionConstStringNamePtr p_method,
                                                           const GDExtensionConstVariantPtr *p_args,
                                                           GDExtensionInt p_argument_count,
                                                           GDExtensionUninitializedVariantPtr r_return,
                                                           GDExtensionCallError *r_error);
/* "object_method_bind_call" */
typedef void (*GDExtensionInterfaceObjectMethodBindCall)(GDExtensionMethodBindPtr p_method_bind,
                                                         GDExtensionObjectPtr p_instance,
                                                         const GDExtensionConstVariantPtr *p_args,
                                                         GDExtensionInt p_arg_count,
                                                         GDExtensionUninitializedVariantPtr r_ret,
                                                         GDExtensionCallError *r_error);
/* "object_method_bind_ptrcall" */
typedef void (*GDExtensionInterfaceObjectMethodBindPtrcall)(GDExtensionMethodBindPtr p_method_bind,
                                                            GDExtensionObjectPtr p_instance,
                                                            const GDExtensionConstTypePtr *p_args,
                                                            GDExtensionTypePtr r_ret);
/* "object_destroy" */
typedef void (*GDExtensionInterfaceObjectDestroy)(GDExtensionObjectPtr p_o);
/* "global_get_singleton" */
typedef GDExtensionObjectPtr (*GDExtensionInterfaceGlobalGetSingleton)(GDExtensionConstStringNamePtr p_name);
/* "object_get_instance_binding" */
typedef void *(*GDExtensionInterfaceObjectGetInstanceBinding)(GDExtensionObjectPtr p_o, void *p_token,
                                                              const GDExtensionInstanceBindingCallbacks *p_callbacks);
/* "object_set_instance_binding" */
typedef void (*GDExtensionInterfaceObjectSetInstanceBinding)(GDExtensionObjectPtr p_o, void *p_token,
                                                             void *p_binding,
                                                             const GDExtensionInstanceBindingCallbacks *p_callbacks);
/* "object_set_instance" */
typedef void (*GDExtensionInterfaceObjectSetInstance)(GDExtensionObjectPtr p_o,
                                                      GDExtensionConstStringNamePtr p_classname,
                                                      GDExtensionClassInstancePtr p_instance);
/* "object_cast_to" */
typedef GDExtensionObjectPtr (*GDExtensionInterfaceObjectCastTo)(GDExtensionConstObjectPtr p_object,
                                                                 void *p_class_tag);
/* "object_get_instance_from_id" */
typedef GDExtensionObjectPtr (*GDExtensionInterfaceObjectGetInstanceFromId)(GDObjectInstanceID p_instance_id);
/* "object_get_instance_id" */
typedef GDObjectInstanceID (*GDExtensionInterfaceObjectGetInstanceId)(GDExtensionConstObjectPtr p_object);

/* Class database. */
/* "classdb_construct_object2" (4.4) */
typedef GDExtensionObjectPtr (*GDExtensionInterfaceClassdbConstructObject2)(GDExtensionConstStringNamePtr p_classname);
/* "classdb_get_method_bind" */
typedef GDExtensionMethodBindPtr (*GDExtensionInterfaceClassdbGetMethodBind)(GDExtensionConstStringNamePtr p_classname,
                                                                             GDExtensionConstStringNamePtr p_methodname,
                                                                             GDExtensionInt p_hash);
/* "classdb_get_class_tag" */
typedef void *(*GDExtensionInterfaceClassdbGetClassTag)(GDExtensionConstStringNamePtr p_classname);
/* "classdb_register_extension_class5" (4.5) */
typedef void (*GDExtensionInterfaceClassdbRegisterExtensionClass5)(GDExtensionClassLibraryPtr p_library,
                                                                   GDExtensionConstStringNamePtr p_class_name,
                                                                   GDExtensionConstStringNamePtr p_parent_class_name,
                                                                   const GDExtensionClassCreationInfo5 *p_extension_funcs);
/* "classdb_register_extension_class_method" */
typedef void (*GDExtensionInterfaceClassdbRegisterExtensionClassMethod)(GDExtensionClassLibraryPtr p_library,
                                                                        GDExtensionConstStringNamePtr p_class_name,
                                                                        const GDExtensionClassMethodInfo *p_method_info);
/* "classdb_register_extension_class_property" */
typedef void (*GDExtensionInterfaceClassdbRegisterExtensionClassProperty)(GDExtensionClassLibraryPtr p_library,
                                                                          GDExtensionConstStringNamePtr p_class_name,
                                                                          const GDExtensionPropertyInfo *p_info,
                                                                          GDExtensionConstStringNamePtr p_setter,
                                                                          GDExtensionConstStringNamePtr p_getter);
/* "classdb_register_extension_class_integer_constant" */
typedef void (*GDExtensionInterfaceClassdbRegisterExtensionClassIntegerConstant)(
    GDExtensionClassLibraryPtr p_library, GDExtensionConstStringNamePtr p_class_name,
    GDExtensionConstStringNamePtr p_enum_name, GDExtensionConstStringNamePtr p_constant_name,
    GDExtensionInt p_constant_value, GDExtensionBool p_is_bitfield);
/* "classdb_unregister_extension_class" */
typedef void (*GDExtensionInterfaceClassdbUnregisterExtensionClass)(GDExtensionClassLibraryPtr p_library,
                                                                    GDExtensionConstStringNamePtr p_class_name);
/* "get_library_path" */
typedef void (*GDExtensionInterfaceGetLibraryPath)(GDExtensionClassLibraryPtr p_library,
                                                   GDExtensionUninitializedStringPtr r_path);

/* "variant_stringify" */
typedef void (*GDExtensionInterfaceVariantStringify)(GDExtensionConstVariantPtr p_self, GDExtensionStringPtr r_ret);
/* "string_to_utf8_chars" */
typedef GDExtensionInt (*GDExtensionInterfaceStringToUtf8Chars)(GDExtensionConstStringPtr p_self, char *r_text,
                                                                 GDExtensionInt p_max_write_length);
/* "editor_help_load_xml_from_utf8_chars_and_len" (4.3; the editor only) */
typedef void (*GDExtensionInterfaceEditorHelpLoadXmlFromUtf8CharsAndLen)(const char *p_data, GDExtensionInt p_size);

#ifdef __cplusplus
} /* extern "C" */

/* Layout checks against the engine's 64-bit sizes. */
#if UINTPTR_MAX == 0xFFFFFFFFFFFFFFFFu
static_assert(sizeof(GDExtensionCallError) == 12);
static_assert(sizeof(GDExtensionGodotVersion2) == 56);
static_assert(sizeof(GDExtensionPropertyInfo) == 48);
static_assert(sizeof(GDExtensionMethodInfo) == 96);
static_assert(sizeof(GDExtensionClassCreationInfo4) == 160);
static_assert(sizeof(GDExtensionClassMethodInfo) == 88);
static_assert(sizeof(GDExtensionInitialization) == 32);
static_assert(sizeof(GDExtensionInstanceBindingCallbacks) == 24);
#endif
#endif

#endif /* WARFIELD_GDE_ABI_H */
