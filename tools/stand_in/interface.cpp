// The interface functions themselves: each counts its call and forwards to
// the host's model, refusing (with the engine's error) what the engine
// would refuse.
#include "stand_in/interface.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <type_traits>

#include "stand_in/abi_extra.h"
#include "stand_in/array.h"
#include "stand_in/builtins.h"
#include "stand_in/callable.h"
#include "stand_in/class_db.h"
#include "stand_in/config.h"
#include "stand_in/counters.h"
#include "stand_in/engine_binds.h"
#include "stand_in/loader.h"
#include "stand_in/log.h"
#include "stand_in/objects.h"
#include "stand_in/signals.h"
#include "stand_in/singletons.h"
#include "stand_in/strings.h"
#include "stand_in/variant.h"

namespace stand_in {

namespace {

#define COUNT(name) ::stand_in::count(Fn::name)

std::string latin1_to_utf8(const char* p, size_t n) {
    std::string out;
    out.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        const auto c = static_cast<unsigned char>(p[i]);
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::string name_of(const void* p) { return p != nullptr ? std::string(name_text(p)) : std::string(); }

// Kept in class_db_calls(), whatever the host then makes of the call.
void note_class_db_call(const char* what, const void* name) {
    class_db_calls().push_back({what, name_of(name), current_level()});
}

bool check_library(const char* fn, void* library) {
    if (!is_library_token(library)) {
        log().engine_error(std::string(fn) + ": the library pointer is not one the host handed out.");
        return false;
    }
    return true;
}

std::string version_text() {
    const HostConfig& c = config();
    static std::string text;
    // Appended piece by piece: g++ 12 at -O3 misreads the chained operator+
    // as an overlapping copy (-Wrestrict) and fails the release build.
    text = "Godot Engine v";
    text.append(std::to_string(c.major)).append(".").append(std::to_string(c.minor));
    if (c.patch != 0) text.append(".").append(std::to_string(c.patch));
    text.append(".").append(c.status).append(".stand-in");
    return text;
}

// ---- Version, memory, messages ----

void get_godot_version(GDExtensionGodotVersion* r) {
    COUNT(get_godot_version);
    const HostConfig& c = config();
    *r = {c.major, c.minor, c.patch, version_text().c_str()};
}

void get_godot_version2(GDExtensionGodotVersion2* r) {
    COUNT(get_godot_version2);
    const HostConfig& c = config();
    static std::string status;
    status = c.status;
    *r = GDExtensionGodotVersion2{c.major, c.minor, c.patch, (c.major << 16) | (c.minor << 8) | c.patch,
                                  status.c_str(), "stand-in", "", 0, version_text().c_str()};
}

void* mem_alloc(size_t bytes) {
    COUNT(mem_alloc);
    return std::malloc(bytes != 0 ? bytes : 1);
}

void* mem_realloc(void* p, size_t bytes) {
    COUNT(mem_realloc);
    return std::realloc(p, bytes != 0 ? bytes : 1);
}

void mem_free(void* p) {
    COUNT(mem_free);
    std::free(p);
}

std::string where(const char* function, const char* file, int32_t line) {
    return std::string(" (") + (function != nullptr ? function : "") + " at " + (file != nullptr ? file : "") + ":" +
           std::to_string(line) + ")";
}

void print_error(const char* d, const char* f, const char* file, int32_t line, GDExtensionBool) {
    COUNT(print_error);
    log().extension(LogEntry::Level::error, std::string(d != nullptr ? d : "") + where(f, file, line));
}

void print_error_with_message(const char* d, const char* m, const char* f, const char* file, int32_t line,
                              GDExtensionBool) {
    COUNT(print_error_with_message);
    log().extension(LogEntry::Level::error,
                    std::string(d != nullptr ? d : "") + ": " + (m != nullptr ? m : "") + where(f, file, line));
}

void print_warning(const char* d, const char* f, const char* file, int32_t line, GDExtensionBool) {
    COUNT(print_warning);
    log().extension(LogEntry::Level::warning, std::string(d != nullptr ? d : "") + where(f, file, line));
}

void print_warning_with_message(const char* d, const char* m, const char* f, const char* file, int32_t line,
                                GDExtensionBool) {
    COUNT(print_warning_with_message);
    log().extension(LogEntry::Level::warning,
                    std::string(d != nullptr ? d : "") + ": " + (m != nullptr ? m : "") + where(f, file, line));
}

void print_script_error(const char* d, const char* f, const char* file, int32_t line, GDExtensionBool) {
    COUNT(print_script_error);
    log().extension(LogEntry::Level::error, std::string(d != nullptr ? d : "") + where(f, file, line));
}

void print_script_error_with_message(const char* d, const char* m, const char* f, const char* file, int32_t line,
                                     GDExtensionBool) {
    COUNT(print_script_error_with_message);
    log().extension(LogEntry::Level::error,
                    std::string(d != nullptr ? d : "") + ": " + (m != nullptr ? m : "") + where(f, file, line));
}

// ---- Variants ----

void variant_new_copy(void* dst, const void* src) {
    COUNT(variant_new_copy);
    var_copy(dst, src);
}

void variant_new_nil(void* dst) {
    COUNT(variant_new_nil);
    var_nil(dst);
}

void variant_destroy(void* v) {
    COUNT(variant_destroy);
    var_destroy(v);
}

void variant_call(void* self, const void* method, const GDExtensionConstVariantPtr* args, GDExtensionInt count,
                  void* r_return, GDExtensionCallError* r_error) {
    COUNT(variant_call);
    var_nil(r_return);
    GDExtensionCallError local{};
    GDExtensionCallError& err = r_error != nullptr ? *r_error : local;
    if (count > 0 && args == nullptr) {
        log().engine_error("variant_call: arguments announced but not passed.");
        err = {GDEXTENSION_CALL_ERROR_INVALID_ARGUMENT, 0, 0};
        return;
    }
    object_variant_call(self, name_of(method), args, count, static_cast<VariantData*>(r_return), err);
}

void callable_custom_create2(void* r_callable, GDExtensionCallableCustomInfo2* info) {
    COUNT(callable_custom_create2);
    if (info == nullptr) {
        log().engine_error("callable_custom_create2: no callable info.");
        callable_nil(r_callable);
        return;
    }
    callable_new_custom(r_callable, *info);
}

void variant_construct(GDExtensionVariantType type, void* r_base, const GDExtensionConstVariantPtr* args,
                       int32_t count, GDExtensionCallError* r_error) {
    COUNT(variant_construct);
    GDExtensionCallError ok{GDEXTENSION_CALL_OK, 0, 0};
    var_nil(r_base);
    if (count == 1 && var_type(args[0]) == static_cast<uint32_t>(type)) {
        var_copy(r_base, args[0]);
    } else if (count == 0) {
        alignas(8) unsigned char slot[16] = {};
        if (type == GDEXTENSION_VARIANT_TYPE_ARRAY) {
            array_new(slot);
        }
        var_from_slot(r_base, type, slot);
        if (type == GDEXTENSION_VARIANT_TYPE_ARRAY) {
            array_destroy(slot);
        }
    } else {
        ok = {GDEXTENSION_CALL_ERROR_INVALID_METHOD, 0, 0};
    }
    if (r_error != nullptr) {
        *r_error = ok;
    }
}

GDExtensionVariantType variant_get_type(const void* v) {
    COUNT(variant_get_type);
    return static_cast<GDExtensionVariantType>(var_type(v));
}

GDExtensionBool variant_booleanize(const void* v) {
    COUNT(variant_booleanize);
    return var_booleanize(v) ? 1 : 0;
}

GDExtensionBool variant_can_convert(GDExtensionVariantType from, GDExtensionVariantType to) {
    COUNT(variant_can_convert);
    return can_convert(from, to) ? 1 : 0;
}

GDExtensionBool variant_can_convert_strict(GDExtensionVariantType from, GDExtensionVariantType to) {
    COUNT(variant_can_convert_strict);
    return can_convert_strict(from, to) ? 1 : 0;
}

void variant_stringify(const void* v, void* r_string) {
    COUNT(variant_stringify);
    string_new(r_string, var_to_text(v));
}

GDObjectInstanceID variant_get_object_instance_id(const void* v) {
    COUNT(variant_get_object_instance_id);
    const Object* o = var_to_object(v);
    return o != nullptr ? o->id : 0;
}

GDExtensionVariantFromTypeConstructorFunc get_variant_from_type_constructor(GDExtensionVariantType type) {
    COUNT(get_variant_from_type_constructor);
    return variant_from_type(type);
}

GDExtensionTypeFromVariantConstructorFunc get_variant_to_type_constructor(GDExtensionVariantType type) {
    COUNT(get_variant_to_type_constructor);
    return type_from_variant(type);
}

GDExtensionPtrOperatorEvaluator variant_get_ptr_operator_evaluator(GDExtensionVariantOperator op,
                                                                   GDExtensionVariantType a,
                                                                   GDExtensionVariantType b) {
    COUNT(variant_get_ptr_operator_evaluator);
    return operator_evaluator(op, a, b);
}

GDExtensionPtrBuiltInMethod variant_get_ptr_builtin_method(GDExtensionVariantType type, const void* method,
                                                           GDExtensionInt hash) {
    COUNT(variant_get_ptr_builtin_method);
    return builtin_method(type, method, hash);
}

GDExtensionPtrConstructor variant_get_ptr_constructor(GDExtensionVariantType type, int32_t index) {
    COUNT(variant_get_ptr_constructor);
    return ptr_constructor(type, index);
}

GDExtensionPtrDestructor variant_get_ptr_destructor(GDExtensionVariantType type) {
    COUNT(variant_get_ptr_destructor);
    return ptr_destructor(type);
}

// ---- Strings ----

void string_new_with_latin1_chars(void* r, const char* s) {
    COUNT(string_new_with_latin1_chars);
    string_new(r, s != nullptr ? latin1_to_utf8(s, std::strlen(s)) : std::string());
}

void string_new_with_utf8_chars(void* r, const char* s) {
    COUNT(string_new_with_utf8_chars);
    string_new(r, s != nullptr ? std::string_view(s) : std::string_view());
}

void string_new_with_latin1_chars_and_len(void* r, const char* s, GDExtensionInt n) {
    COUNT(string_new_with_latin1_chars_and_len);
    string_new(r, s != nullptr && n > 0 ? latin1_to_utf8(s, static_cast<size_t>(n)) : std::string());
}

GDExtensionInt string_new_with_utf8_chars_and_len2(void* r, const char* s, GDExtensionInt n) {
    COUNT(string_new_with_utf8_chars_and_len2);
    string_new(r, s != nullptr && n > 0 ? std::string_view(s, static_cast<size_t>(n)) : std::string_view());
    return 0;
}

GDExtensionInt copy_out(std::string_view text, char* r_text, GDExtensionInt max) {
    if (r_text != nullptr && max > 0) {
        std::memcpy(r_text, text.data(), std::min(text.size(), static_cast<size_t>(max)));
    }
    return static_cast<GDExtensionInt>(text.size());
}

GDExtensionInt string_to_latin1_chars(const void* s, char* r_text, GDExtensionInt max) {
    COUNT(string_to_latin1_chars);
    return copy_out(string_text(s), r_text, max);
}

GDExtensionInt string_to_utf8_chars(const void* s, char* r_text, GDExtensionInt max) {
    COUNT(string_to_utf8_chars);
    return copy_out(string_text(s), r_text, max);
}

void string_name_new_with_latin1_chars(void* r, const char* s, GDExtensionBool) {
    COUNT(string_name_new_with_latin1_chars);
    ++counters().string_names_made;
    name_new(r, s != nullptr ? latin1_to_utf8(s, std::strlen(s)) : std::string());
}

void string_name_new_with_utf8_chars(void* r, const char* s) {
    COUNT(string_name_new_with_utf8_chars);
    ++counters().string_names_made;
    name_new(r, s != nullptr ? std::string_view(s) : std::string_view());
}

void string_name_new_with_utf8_chars_and_len(void* r, const char* s, GDExtensionInt n) {
    COUNT(string_name_new_with_utf8_chars_and_len);
    ++counters().string_names_made;
    name_new(r, s != nullptr && n > 0 ? std::string_view(s, static_cast<size_t>(n)) : std::string_view());
}

// ---- Arrays ----

GDExtensionVariantPtr array_operator_index(void* self, GDExtensionInt index) {
    COUNT(array_operator_index);
    return array_at(self, index);
}

GDExtensionVariantPtr array_operator_index_const(const void* self, GDExtensionInt index) {
    COUNT(array_operator_index_const);
    return array_at(const_cast<void*>(self), index);
}

void array_set_typed_fn(void* self, GDExtensionVariantType type, const void* class_name, const void*) {
    COUNT(array_set_typed);
    array_set_typed(self, type, class_name != nullptr ? name_text(class_name) : std::string_view());
}

// ---- Objects ----

void object_method_bind_call(GDExtensionMethodBindPtr bind, void* instance, const GDExtensionConstVariantPtr* args,
                             GDExtensionInt count, void* r_ret, GDExtensionCallError* r_error) {
    COUNT(object_method_bind_call);
    engine_bind_call(static_cast<const EngineBind*>(bind), instance, args, count, r_ret, r_error);
}

void object_method_bind_ptrcall(GDExtensionMethodBindPtr bind, void* instance, const GDExtensionConstTypePtr* args,
                                void* r_ret) {
    COUNT(object_method_bind_ptrcall);
    engine_bind_ptrcall(static_cast<const EngineBind*>(bind), instance, args, r_ret);
}

void object_destroy(void* o) {
    COUNT(object_destroy);
    destroy_object(static_cast<Object*>(o));
}

GDExtensionObjectPtr global_get_singleton(const void* name) {
    COUNT(global_get_singleton);
    Object* s = singleton(name_of(name));
    if (s == nullptr) {
        log().engine_error("Failed to retrieve non-existent singleton '" + name_of(name) + "'.");
    }
    return s;
}

Object* live(void* o, const char* fn) {
    if (!object_is_live(o)) {
        log().engine_error(std::string(fn) + ": not a live object.");
        return nullptr;
    }
    return static_cast<Object*>(o);
}

void* object_get_instance_binding(void* p, void* token, const GDExtensionInstanceBindingCallbacks* callbacks) {
    COUNT(object_get_instance_binding);
    Object* o = live(p, "object_get_instance_binding");
    if (o == nullptr) {
        return nullptr;
    }
    for (const InstanceBinding& b : o->bindings) {
        if (b.token == token) {
            return b.binding;
        }
    }
    if (callbacks == nullptr || callbacks->create_callback == nullptr) {
        return nullptr;
    }
    void* binding = callbacks->create_callback(token, o);
    o->bindings.push_back({token, binding, *callbacks});
    return binding;
}

void object_set_instance_binding(void* p, void* token, void* binding,
                                 const GDExtensionInstanceBindingCallbacks* callbacks) {
    COUNT(object_set_instance_binding);
    Object* o = live(p, "object_set_instance_binding");
    if (o == nullptr) {
        return;
    }
    const GDExtensionInstanceBindingCallbacks cb = callbacks != nullptr ? *callbacks : GDExtensionInstanceBindingCallbacks{};
    for (InstanceBinding& b : o->bindings) {
        if (b.token == token) {
            b.binding = binding;
            b.callbacks = cb;
            return;
        }
    }
    o->bindings.push_back({token, binding, cb});
}

void object_free_instance_binding(void* p, void* token) {
    COUNT(object_free_instance_binding);
    Object* o = live(p, "object_free_instance_binding");
    if (o == nullptr) {
        return;
    }
    for (size_t i = 0; i < o->bindings.size(); ++i) {
        if (o->bindings[i].token == token) {
            const InstanceBinding b = o->bindings[i];
            o->bindings.erase(o->bindings.begin() + static_cast<std::ptrdiff_t>(i));
            if (b.callbacks.free_callback != nullptr) {
                b.callbacks.free_callback(b.token, o, b.binding);
            }
            return;
        }
    }
}

void object_set_instance(void* p, const void* class_name, void* instance) {
    COUNT(object_set_instance);
    if (Object* o = live(p, "object_set_instance")) {
        set_extension_instance(o, name_of(class_name), instance);
    }
}

GDExtensionBool object_get_class_name(const void* p, void*, void* r_name) {
    COUNT(object_get_class_name);
    if (!object_is_live(p)) {
        return 0;
    }
    name_new(r_name, static_cast<const Object*>(p)->class_info()->name);
    return 1;
}

GDExtensionObjectPtr object_cast_to(const void* p, void* tag) {
    COUNT(object_cast_to);
    if (p == nullptr) {
        return nullptr;
    }
    if (!object_is_live(p)) {
        log().engine_error("object_cast_to: not a live object.");
        return nullptr;
    }
    Object* o = static_cast<Object*>(const_cast<void*>(p));
    return inherits(o->native, static_cast<const ClassInfo*>(tag)) ? o : nullptr;
}

GDExtensionObjectPtr object_get_instance_from_id(GDObjectInstanceID id) {
    COUNT(object_get_instance_from_id);
    return object_by_id(id);
}

GDObjectInstanceID object_get_instance_id(const void* p) {
    COUNT(object_get_instance_id);
    return object_is_live(p) ? static_cast<const Object*>(p)->id : 0;
}

GDExtensionBool object_has_script_method(const void* p, const void* method) {
    COUNT(object_has_script_method);
    if (!object_is_live(p)) {
        return 0;
    }
    const Object* o = static_cast<const Object*>(p);
    return o->script_methods.find(name_text(method)) != o->script_methods.end() ? 1 : 0;
}

void object_call_script_method(void* p, const void* method, const GDExtensionConstVariantPtr* args,
                               GDExtensionInt count, void* r_return, GDExtensionCallError* r_error) {
    COUNT(object_call_script_method);
    var_nil(r_return);
    Object* o = live(p, "object_call_script_method");
    GDExtensionCallError local{};
    GDExtensionCallError& err = r_error != nullptr ? *r_error : local;
    if (o == nullptr) {
        err = {GDEXTENSION_CALL_ERROR_INSTANCE_IS_NULL, 0, 0};
        return;
    }
    // As in 4.5: Object::callp, which tries the script and then the class.
    object_callp(o, name_text(method), args, count, static_cast<VariantData*>(r_return), &err);
}

// ---- Class database ----

GDExtensionObjectPtr classdb_construct_object(const void* name) {
    COUNT(classdb_construct_object);
    return instantiate(name_of(name), true);
}

GDExtensionObjectPtr classdb_construct_object2(const void* name) {
    COUNT(classdb_construct_object2);
    return construct_without_postinitialize(name_of(name));
}

GDExtensionMethodBindPtr classdb_get_method_bind(const void* cls, const void* method, GDExtensionInt hash) {
    COUNT(classdb_get_method_bind);
    return find_engine_bind(name_of(cls), name_of(method), hash);
}

void* classdb_get_class_tag(const void* name) {
    COUNT(classdb_get_class_tag);
    const ClassInfo* c = find_class(name_of(name));
    return c != nullptr ? const_cast<ClassInfo*>(c->tag()) : nullptr;
}

void classdb_register_extension_class5(void* lib, const void* name, const void* parent,
                                       const GDExtensionClassCreationInfo5* info) {
    COUNT(classdb_register_extension_class5);
    note_class_db_call("class", name);
    if (check_library("classdb_register_extension_class5", lib)) {
        register_class(lib, name_of(name), name_of(parent), info);
    }
}

void classdb_register_extension_class_method(void* lib, const void* cls, const GDExtensionClassMethodInfo* info) {
    COUNT(classdb_register_extension_class_method);
    note_class_db_call("method", info != nullptr ? info->name : nullptr);
    if (check_library("classdb_register_extension_class_method", lib)) {
        register_method(lib, name_of(cls), info);
    }
}

void classdb_register_extension_class_virtual_method(void* lib, const void* cls,
                                                     const GDExtensionClassVirtualMethodInfo* info) {
    COUNT(classdb_register_extension_class_virtual_method);
    note_class_db_call("virtual", info != nullptr ? info->name : nullptr);
    ExtensionClass* c = find_extension_class_mut(name_of(cls));
    if (check_library("classdb_register_extension_class_virtual_method", lib) && c != nullptr && info != nullptr) {
        c->virtual_methods.push_back(name_of(info->name));
    }
}

void classdb_register_extension_class_integer_constant(void* lib, const void* cls, const void* enum_name,
                                                       const void* constant, GDExtensionInt value,
                                                       GDExtensionBool is_bitfield) {
    COUNT(classdb_register_extension_class_integer_constant);
    note_class_db_call("constant", constant);
    ExtensionClass* c = find_extension_class_mut(name_of(cls));
    if (check_library("classdb_register_extension_class_integer_constant", lib) && c != nullptr) {
        c->constants.push_back({name_of(enum_name), name_of(constant), value, is_bitfield != 0});
    }
}

void classdb_register_extension_class_property(void* lib, const void* cls, const GDExtensionPropertyInfo* info,
                                               const void* setter, const void* getter) {
    COUNT(classdb_register_extension_class_property);
    note_class_db_call("property", info != nullptr ? info->name : nullptr);
    if (check_library("classdb_register_extension_class_property", lib)) {
        register_property(lib, name_of(cls), info, name_of(setter), name_of(getter), -1);
    }
}

void classdb_register_extension_class_property_indexed(void* lib, const void* cls, const GDExtensionPropertyInfo* info,
                                                       const void* setter, const void* getter, GDExtensionInt index) {
    COUNT(classdb_register_extension_class_property_indexed);
    note_class_db_call("property", info != nullptr ? info->name : nullptr);
    if (check_library("classdb_register_extension_class_property_indexed", lib)) {
        register_property(lib, name_of(cls), info, name_of(setter), name_of(getter), index);
    }
}

void classdb_register_extension_class_property_group(void* lib, const void*, const void*, const void*) {
    COUNT(classdb_register_extension_class_property_group);
    check_library("classdb_register_extension_class_property_group", lib);
}

void classdb_register_extension_class_property_subgroup(void* lib, const void*, const void*, const void*) {
    COUNT(classdb_register_extension_class_property_subgroup);
    check_library("classdb_register_extension_class_property_subgroup", lib);
}

void classdb_register_extension_class_signal(void* lib, const void* cls, const void* signal,
                                             const GDExtensionPropertyInfo*, GDExtensionInt) {
    COUNT(classdb_register_extension_class_signal);
    note_class_db_call("signal", signal);
    ExtensionClass* c = find_extension_class_mut(name_of(cls));
    if (check_library("classdb_register_extension_class_signal", lib) && c != nullptr) {
        c->signals.push_back(name_of(signal));
    }
}

void classdb_unregister_extension_class(void* lib, const void* cls) {
    COUNT(classdb_unregister_extension_class);
    note_class_db_call("unregister", cls);
    if (check_library("classdb_unregister_extension_class", lib)) {
        unregister_class(lib, name_of(cls));
    }
}

void get_library_path(void* lib, void* r_path) {
    COUNT(get_library_path);
    string_new(r_path, library_path(lib));
}

void editor_add_plugin(const void*) { COUNT(editor_add_plugin); }
void editor_remove_plugin(const void*) { COUNT(editor_remove_plugin); }
void editor_help_load_xml_from_utf8_chars(const char* data) {
    COUNT(editor_help_load_xml_from_utf8_chars);
    editor_help_documents().emplace_back(data != nullptr ? data : "");
}
void editor_help_load_xml_from_utf8_chars_and_len(const char* data, GDExtensionInt size) {
    COUNT(editor_help_load_xml_from_utf8_chars_and_len);
    editor_help_documents().emplace_back(data != nullptr && size > 0 ? std::string(data, static_cast<size_t>(size))
                                                                     : std::string());
}

#undef COUNT

// Each implementation has exactly the type the library casts it to.
static_assert(std::is_same_v<decltype(&get_godot_version2), GDExtensionInterfaceGetGodotVersion2>);
static_assert(std::is_same_v<decltype(&mem_alloc), GDExtensionInterfaceMemAlloc>);
static_assert(std::is_same_v<decltype(&mem_free), GDExtensionInterfaceMemFree>);
static_assert(std::is_same_v<decltype(&print_error), GDExtensionInterfacePrintError>);
static_assert(std::is_same_v<decltype(&variant_new_copy), GDExtensionInterfaceVariantNewCopy>);
static_assert(std::is_same_v<decltype(&variant_new_nil), GDExtensionInterfaceVariantNewNil>);
static_assert(std::is_same_v<decltype(&variant_destroy), GDExtensionInterfaceVariantDestroy>);
static_assert(std::is_same_v<decltype(&variant_call), GDExtensionInterfaceVariantCall>);
static_assert(std::is_same_v<decltype(&callable_custom_create2), GDExtensionInterfaceCallableCustomCreate2>);
static_assert(std::is_same_v<decltype(&variant_booleanize), GDExtensionInterfaceVariantBooleanize>);
static_assert(std::is_same_v<decltype(&variant_get_type), GDExtensionInterfaceVariantGetType>);
static_assert(std::is_same_v<decltype(&variant_can_convert), GDExtensionInterfaceVariantCanConvert>);
static_assert(std::is_same_v<decltype(&variant_can_convert_strict), GDExtensionInterfaceVariantCanConvertStrict>);
static_assert(std::is_same_v<decltype(&get_variant_from_type_constructor), GDExtensionInterfaceGetVariantFromTypeConstructor>);
static_assert(std::is_same_v<decltype(&get_variant_to_type_constructor), GDExtensionInterfaceGetVariantToTypeConstructor>);
static_assert(std::is_same_v<decltype(&variant_get_ptr_builtin_method), GDExtensionInterfaceVariantGetPtrBuiltinMethod>);
static_assert(std::is_same_v<decltype(&variant_get_ptr_constructor), GDExtensionInterfaceVariantGetPtrConstructor>);
static_assert(std::is_same_v<decltype(&variant_get_ptr_operator_evaluator), GDExtensionInterfaceVariantGetPtrOperatorEvaluator>);
static_assert(std::is_same_v<decltype(&variant_get_ptr_destructor), GDExtensionInterfaceVariantGetPtrDestructor>);
static_assert(std::is_same_v<decltype(&string_new_with_latin1_chars), GDExtensionInterfaceStringNewWithLatin1Chars>);
static_assert(std::is_same_v<decltype(&string_new_with_utf8_chars), GDExtensionInterfaceStringNewWithUtf8Chars>);
static_assert(std::is_same_v<decltype(&string_name_new_with_latin1_chars), GDExtensionInterfaceStringNameNewWithLatin1Chars>);
static_assert(std::is_same_v<decltype(&string_name_new_with_utf8_chars), GDExtensionInterfaceStringNameNewWithUtf8Chars>);
static_assert(std::is_same_v<decltype(&array_operator_index), GDExtensionInterfaceArrayOperatorIndex>);
static_assert(std::is_same_v<decltype(&array_set_typed_fn), GDExtensionInterfaceArraySetTyped>);
static_assert(std::is_same_v<decltype(&object_method_bind_call), GDExtensionInterfaceObjectMethodBindCall>);
static_assert(std::is_same_v<decltype(&object_method_bind_ptrcall), GDExtensionInterfaceObjectMethodBindPtrcall>);
static_assert(std::is_same_v<decltype(&object_destroy), GDExtensionInterfaceObjectDestroy>);
static_assert(std::is_same_v<decltype(&global_get_singleton), GDExtensionInterfaceGlobalGetSingleton>);
static_assert(std::is_same_v<decltype(&object_get_instance_binding), GDExtensionInterfaceObjectGetInstanceBinding>);
static_assert(std::is_same_v<decltype(&object_set_instance_binding), GDExtensionInterfaceObjectSetInstanceBinding>);
static_assert(std::is_same_v<decltype(&object_set_instance), GDExtensionInterfaceObjectSetInstance>);
static_assert(std::is_same_v<decltype(&object_cast_to), GDExtensionInterfaceObjectCastTo>);
static_assert(std::is_same_v<decltype(&object_get_instance_from_id), GDExtensionInterfaceObjectGetInstanceFromId>);
static_assert(std::is_same_v<decltype(&object_get_instance_id), GDExtensionInterfaceObjectGetInstanceId>);
static_assert(std::is_same_v<decltype(&classdb_construct_object2), GDExtensionInterfaceClassdbConstructObject2>);
static_assert(std::is_same_v<decltype(&classdb_get_method_bind), GDExtensionInterfaceClassdbGetMethodBind>);
static_assert(std::is_same_v<decltype(&classdb_get_class_tag), GDExtensionInterfaceClassdbGetClassTag>);
static_assert(std::is_same_v<decltype(&classdb_register_extension_class5), GDExtensionInterfaceClassdbRegisterExtensionClass5>);
static_assert(std::is_same_v<decltype(&classdb_register_extension_class_method), GDExtensionInterfaceClassdbRegisterExtensionClassMethod>);
static_assert(std::is_same_v<decltype(&classdb_register_extension_class_property), GDExtensionInterfaceClassdbRegisterExtensionClassProperty>);
static_assert(std::is_same_v<decltype(&classdb_register_extension_class_integer_constant), GDExtensionInterfaceClassdbRegisterExtensionClassIntegerConstant>);
static_assert(std::is_same_v<decltype(&classdb_unregister_extension_class), GDExtensionInterfaceClassdbUnregisterExtensionClass>);
static_assert(std::is_same_v<decltype(&get_library_path), GDExtensionInterfaceGetLibraryPath>);


struct Entry {
    const char* name;
    uint32_t major;
    uint32_t minor;
    GDExtensionInterfaceFunctionPtr fn;
};

template <typename F>
GDExtensionInterfaceFunctionPtr erase(F* f) {
    return reinterpret_cast<GDExtensionInterfaceFunctionPtr>(f);
}

// array_set_typed's implementation is named apart from the model's function.
#define array_set_typed array_set_typed_fn
const Entry kTable[] = {
#define STAND_IN_ENTRY(name, major, minor) {#name, major, minor, erase(&name)},
    STAND_IN_INTERFACE_FUNCTIONS(STAND_IN_ENTRY)
#undef STAND_IN_ENTRY
};
#undef array_set_typed

}  // namespace

GDExtensionInterfaceFunctionPtr get_proc_address(const char* name) {
    ++counters().proc_lookups;
    if (name == nullptr) {
        return nullptr;
    }
    const HostConfig& c = config();
    for (const std::string& w : c.withheld) {
        if (w == name) {
            return nullptr;
        }
    }
    for (const Entry& e : kTable) {
        if (std::strcmp(e.name, name) == 0) {
            const bool too_new = e.major > c.major || (e.major == c.major && e.minor > c.minor);
            return c.gate_by_version && too_new ? nullptr : e.fn;
        }
    }
    return nullptr;
}

}  // namespace stand_in
