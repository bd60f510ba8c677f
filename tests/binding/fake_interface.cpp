#include "fake_interface.h"

#include <cstring>
#include <new>

namespace fake {

namespace {

Engine g_engine;
Object g_engine_singleton("Engine");
int g_node2d_tag = 0;

const std::string* intern(const std::string& s) {
    static std::set<std::string> names;
    return &*names.insert(s).first;
}

template <typename T>
T load(const void* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

template <typename T>
void store(void* p, T v) {
    std::memcpy(p, &v, sizeof v);
}

Var& var(void* p) { return *static_cast<Var*>(p); }
const Var& var(const void* p) { return *static_cast<const Var*>(p); }

void unref(ArrayData* a) {
    if (a != nullptr && --a->refs == 0) {
        delete a;
        --g_engine.live_arrays;
    }
}

// ---- Variants ----------------------------------------------------------

void variant_new_nil(GDExtensionUninitializedVariantPtr r) { new (r) Var(); }

void variant_destroy(GDExtensionVariantPtr p) {
    Var& v = var(p);
    if (v.type == GDEXTENSION_VARIANT_TYPE_ARRAY) {
        unref(static_cast<ArrayData*>(v.u.p));
    } else if (v.type == GDEXTENSION_VARIANT_TYPE_STRING) {
        delete static_cast<std::string*>(v.u.p);
        --g_engine.live_strings;
    }
    v.type = GDEXTENSION_VARIANT_TYPE_NIL;
}

GDExtensionVariantType variant_get_type(GDExtensionConstVariantPtr p) {
    return static_cast<GDExtensionVariantType>(var(p).type);
}

GDExtensionBool can_convert_strict(GDExtensionVariantType from, GDExtensionVariantType to) {
    if (from == to) return 1;
    using T = GDExtensionVariantType;
    auto is = [](T t, std::initializer_list<T> set) {
        for (T s : set) {
            if (s == t) return true;
        }
        return false;
    };
    switch (to) {
        case GDEXTENSION_VARIANT_TYPE_INT:
            return is(from, {GDEXTENSION_VARIANT_TYPE_BOOL, GDEXTENSION_VARIANT_TYPE_FLOAT});
        case GDEXTENSION_VARIANT_TYPE_FLOAT:
            return is(from, {GDEXTENSION_VARIANT_TYPE_BOOL, GDEXTENSION_VARIANT_TYPE_INT});
        case GDEXTENSION_VARIANT_TYPE_BOOL:
            return is(from, {GDEXTENSION_VARIANT_TYPE_INT, GDEXTENSION_VARIANT_TYPE_FLOAT});
        case GDEXTENSION_VARIANT_TYPE_VECTOR2:
            return from == GDEXTENSION_VARIANT_TYPE_VECTOR2I;
        case GDEXTENSION_VARIANT_TYPE_VECTOR2I:
            return from == GDEXTENSION_VARIANT_TYPE_VECTOR2;
        default:
            return 0;
    }
}

GDExtensionBool booleanize(GDExtensionConstVariantPtr p) {
    const Var& v = var(p);
    switch (v.type) {
        case GDEXTENSION_VARIANT_TYPE_BOOL: return v.u.b;
        case GDEXTENSION_VARIANT_TYPE_INT: return v.u.i != 0;
        default: return 0;
    }
}

double number(const Var& v) {
    switch (v.type) {
        case GDEXTENSION_VARIANT_TYPE_INT: return static_cast<double>(v.u.i);
        case GDEXTENSION_VARIANT_TYPE_FLOAT: return v.u.f;
        case GDEXTENSION_VARIANT_TYPE_BOOL: return v.u.b;
        default: return 0.0;
    }
}

void from_bool(GDExtensionUninitializedVariantPtr r, GDExtensionTypePtr p) {
    Var& v = *new (r) Var();
    v.type = GDEXTENSION_VARIANT_TYPE_BOOL;
    v.u.b = load<uint8_t>(p) != 0;
}
void from_int(GDExtensionUninitializedVariantPtr r, GDExtensionTypePtr p) {
    Var& v = *new (r) Var();
    v.type = GDEXTENSION_VARIANT_TYPE_INT;
    v.u.i = load<int64_t>(p);
}
void from_float(GDExtensionUninitializedVariantPtr r, GDExtensionTypePtr p) {
    Var& v = *new (r) Var();
    v.type = GDEXTENSION_VARIANT_TYPE_FLOAT;
    v.u.f = load<double>(p);
}
void from_vector2(GDExtensionUninitializedVariantPtr r, GDExtensionTypePtr p) {
    Var& v = *new (r) Var();
    v.type = GDEXTENSION_VARIANT_TYPE_VECTOR2;
    std::memcpy(v.u.v2, p, 8);
}
void from_vector2i(GDExtensionUninitializedVariantPtr r, GDExtensionTypePtr p) {
    Var& v = *new (r) Var();
    v.type = GDEXTENSION_VARIANT_TYPE_VECTOR2I;
    std::memcpy(v.u.v2i, p, 8);
}
void from_string_name(GDExtensionUninitializedVariantPtr r, GDExtensionTypePtr p) {
    Var& v = *new (r) Var();
    v.type = GDEXTENSION_VARIANT_TYPE_STRING_NAME;
    v.u.p = load<void*>(p);
}
void from_array(GDExtensionUninitializedVariantPtr r, GDExtensionTypePtr p) {
    Var& v = *new (r) Var();
    v.type = GDEXTENSION_VARIANT_TYPE_ARRAY;
    auto* a = load<ArrayData*>(p);
    ++a->refs;
    v.u.p = a;
}

void to_bool(GDExtensionUninitializedTypePtr r, GDExtensionVariantPtr p) { store<uint8_t>(r, number(var(p)) != 0.0); }
void to_int(GDExtensionUninitializedTypePtr r, GDExtensionVariantPtr p) {
    const Var& v = var(p);
    store<int64_t>(r, v.type == GDEXTENSION_VARIANT_TYPE_INT ? v.u.i : static_cast<int64_t>(number(v)));
}
void to_float(GDExtensionUninitializedTypePtr r, GDExtensionVariantPtr p) { store<double>(r, number(var(p))); }
void to_vector2(GDExtensionUninitializedTypePtr r, GDExtensionVariantPtr p) {
    const Var& v = var(p);
    float out[2] = {v.u.v2[0], v.u.v2[1]};
    if (v.type == GDEXTENSION_VARIANT_TYPE_VECTOR2I) {
        out[0] = static_cast<float>(v.u.v2i[0]);
        out[1] = static_cast<float>(v.u.v2i[1]);
    }
    std::memcpy(r, out, 8);
}
void to_vector2i(GDExtensionUninitializedTypePtr r, GDExtensionVariantPtr p) {
    const Var& v = var(p);
    int32_t out[2] = {v.u.v2i[0], v.u.v2i[1]};
    if (v.type == GDEXTENSION_VARIANT_TYPE_VECTOR2) {
        out[0] = static_cast<int32_t>(v.u.v2[0]);
        out[1] = static_cast<int32_t>(v.u.v2[1]);
    }
    std::memcpy(r, out, 8);
}

GDExtensionVariantFromTypeConstructorFunc get_from_type(GDExtensionVariantType t) {
    switch (t) {
        case GDEXTENSION_VARIANT_TYPE_BOOL: return from_bool;
        case GDEXTENSION_VARIANT_TYPE_INT: return from_int;
        case GDEXTENSION_VARIANT_TYPE_FLOAT: return from_float;
        case GDEXTENSION_VARIANT_TYPE_VECTOR2: return from_vector2;
        case GDEXTENSION_VARIANT_TYPE_VECTOR2I: return from_vector2i;
        case GDEXTENSION_VARIANT_TYPE_STRING_NAME: return from_string_name;
        case GDEXTENSION_VARIANT_TYPE_ARRAY: return from_array;
        default: return nullptr;
    }
}

GDExtensionTypeFromVariantConstructorFunc get_to_type(GDExtensionVariantType t) {
    switch (t) {
        case GDEXTENSION_VARIANT_TYPE_BOOL: return to_bool;
        case GDEXTENSION_VARIANT_TYPE_INT: return to_int;
        case GDEXTENSION_VARIANT_TYPE_FLOAT: return to_float;
        case GDEXTENSION_VARIANT_TYPE_VECTOR2: return to_vector2;
        case GDEXTENSION_VARIANT_TYPE_VECTOR2I: return to_vector2i;
        default: return nullptr;
    }
}

// ---- Strings, names, paths, arrays --------------------------------------

void string_new(GDExtensionUninitializedStringPtr r, const char* s) {
    store(r, new std::string(s));
    ++g_engine.live_strings;
}
void string_destroy(GDExtensionTypePtr p) {
    delete load<std::string*>(p);
    --g_engine.live_strings;
}
void string_name_new(GDExtensionUninitializedStringNamePtr r, const char* s, GDExtensionBool) { make_name(r, s); }
void string_name_destroy(GDExtensionTypePtr) {}
// Names are interned pointers; the empty name is null.
void string_name_empty(GDExtensionUninitializedTypePtr r, const GDExtensionConstTypePtr*) { store<const void*>(r, nullptr); }
void node_path_from_string(GDExtensionUninitializedTypePtr r, const GDExtensionConstTypePtr* args) {
    string_new(r, load<std::string*>(args[0])->c_str());
}
void array_new(GDExtensionUninitializedTypePtr r, const GDExtensionConstTypePtr*) {
    store(r, new ArrayData());
    ++g_engine.live_arrays;
}
void array_destroy(GDExtensionTypePtr p) { unref(load<ArrayData*>(p)); }
void array_resize(GDExtensionTypePtr base, const GDExtensionConstTypePtr* args, GDExtensionTypePtr r, int32_t) {
    auto* a = load<ArrayData*>(base);
    Var fill;
    if (a->typed == GDEXTENSION_VARIANT_TYPE_INT) fill.type = GDEXTENSION_VARIANT_TYPE_INT;
    a->items.resize(static_cast<size_t>(load<int64_t>(args[0])), fill);
    store<int64_t>(r, 0);
}
void string_name_equal(GDExtensionConstTypePtr a, GDExtensionConstTypePtr b, GDExtensionTypePtr r) {
    store<uint8_t>(r, load<const void*>(a) == load<const void*>(b));
}

GDExtensionPtrConstructor get_constructor(GDExtensionVariantType t, int32_t index) {
    if (t == GDEXTENSION_VARIANT_TYPE_NODE_PATH && index == 2) return node_path_from_string;
    if (t == GDEXTENSION_VARIANT_TYPE_ARRAY && index == 0) return array_new;
    if (t == GDEXTENSION_VARIANT_TYPE_STRING_NAME && index == 0) return string_name_empty;
    return nullptr;
}
GDExtensionPtrDestructor get_destructor(GDExtensionVariantType t) {
    switch (t) {
        case GDEXTENSION_VARIANT_TYPE_STRING:
        case GDEXTENSION_VARIANT_TYPE_NODE_PATH: return string_destroy;
        case GDEXTENSION_VARIANT_TYPE_STRING_NAME: return string_name_destroy;
        case GDEXTENSION_VARIANT_TYPE_ARRAY: return array_destroy;
        default: return nullptr;
    }
}
GDExtensionPtrBuiltInMethod get_builtin(GDExtensionVariantType t, GDExtensionConstStringNamePtr name, GDExtensionInt h) {
    return t == GDEXTENSION_VARIANT_TYPE_ARRAY && name_of(name) == "resize" && h == 848867239 ? array_resize : nullptr;
}
GDExtensionPtrOperatorEvaluator get_operator(GDExtensionVariantOperator op, GDExtensionVariantType a,
                                             GDExtensionVariantType b) {
    return op == GDEXTENSION_VARIANT_OP_EQUAL && a == GDEXTENSION_VARIANT_TYPE_STRING_NAME && a == b ? string_name_equal
                                                                                                     : nullptr;
}

GDExtensionVariantPtr array_index(GDExtensionTypePtr p, GDExtensionInt i) {
    auto* a = load<ArrayData*>(p);
    return i >= 0 && static_cast<size_t>(i) < a->items.size() ? &a->items[static_cast<size_t>(i)] : nullptr;
}
void array_set_typed(GDExtensionTypePtr p, GDExtensionVariantType t, GDExtensionConstStringNamePtr cls,
                     GDExtensionConstVariantPtr script) {
    if (cls == nullptr || script == nullptr) return;  // the engine dereferences both
    load<ArrayData*>(p)->typed = t;
}

// ---- Objects and the class database -------------------------------------

void bind_call(GDExtensionMethodBindPtr, GDExtensionObjectPtr o, const GDExtensionConstVariantPtr*, GDExtensionInt,
               GDExtensionUninitializedVariantPtr r, GDExtensionCallError* e) {
    e->error = GDEXTENSION_CALL_OK;
    if (!g_engine.on_script_call) {
        new (r) Var();
        return;
    }
    const uint8_t answer = g_engine.on_script_call(static_cast<Object*>(o)) ? 1 : 0;
    from_bool(r, const_cast<uint8_t*>(&answer));
}
void call_script_method(GDExtensionObjectPtr o, GDExtensionConstStringNamePtr, const GDExtensionConstVariantPtr*,
                        GDExtensionInt, GDExtensionUninitializedVariantPtr r, GDExtensionCallError* e) {
    bind_call(nullptr, o, nullptr, 0, r, e);
}
void bind_ptrcall(GDExtensionMethodBindPtr bind, GDExtensionObjectPtr o, const GDExtensionConstTypePtr* args,
                  GDExtensionTypePtr r) {
    const std::string& name = *static_cast<const std::string*>(bind);
    g_engine.ptrcalls.push_back(name);
    if (name == "Object.notification") {
        static_cast<Object*>(o)->notifications.push_back(load<int64_t>(args[0]));
    } else if (name == "Engine.is_editor_hint") {
        store<uint8_t>(r, 0);
    } else if (name == "Node.get_viewport") {
        store<void*>(r, nullptr);
    }
}
void object_destroy(GDExtensionObjectPtr o) {
    delete static_cast<Object*>(o);
    --g_engine.live_objects;
}
GDExtensionObjectPtr get_singleton(GDExtensionConstStringNamePtr name) {
    return name_of(name) == "Engine" ? &g_engine_singleton : nullptr;
}
GDExtensionObjectPtr instance_from_id(GDObjectInstanceID id) {
    const auto it = g_engine.objects_by_id.find(id);
    return it != g_engine.objects_by_id.end() ? it->second : nullptr;
}
GDObjectInstanceID instance_id_of(GDExtensionConstObjectPtr o) {
    for (const auto& [id, object] : g_engine.objects_by_id) {
        if (object == o) return id;
    }
    return 0;
}
GDExtensionObjectPtr cast_to(GDExtensionConstObjectPtr o, void* tag) {
    auto* obj = const_cast<Object*>(static_cast<const Object*>(o));
    return tag == &g_node2d_tag && obj->class_name == "Node2D" ? obj : nullptr;
}
void set_instance(GDExtensionObjectPtr o, GDExtensionConstStringNamePtr cls, GDExtensionClassInstancePtr inst) {
    static_cast<Object*>(o)->instance = inst;
    static_cast<Object*>(o)->instance_class = name_of(cls);
}
GDExtensionObjectPtr construct_object(GDExtensionConstStringNamePtr cls) {
    ++g_engine.live_objects;
    return new Object(name_of(cls));
}
GDExtensionMethodBindPtr get_method_bind(GDExtensionConstStringNamePtr cls, GDExtensionConstStringNamePtr method,
                                         GDExtensionInt hash) {
    const std::string key = name_of(cls) + "." + name_of(method);
    g_engine.bind_hashes[key] = hash;
    return intern(key);
}
void* get_class_tag(GDExtensionConstStringNamePtr cls) { return name_of(cls) == "Node2D" ? &g_node2d_tag : nullptr; }
void register_class(GDExtensionClassLibraryPtr, GDExtensionConstStringNamePtr cls, GDExtensionConstStringNamePtr parent,
                    const GDExtensionClassCreationInfo5* info) {
    g_engine.class_name = name_of(cls);
    g_engine.parent_name = name_of(parent);
    g_engine.info = *info;
    g_engine.order.push_back("class:" + g_engine.class_name);
}
std::string string_text(const void* s) { return *load<std::string*>(s); }
void register_method(GDExtensionClassLibraryPtr, GDExtensionConstStringNamePtr, const GDExtensionClassMethodInfo* mi) {
    RegisteredMethod m;
    m.name = name_of(mi->name);
    m.flags = mi->method_flags;
    m.has_return = mi->has_return_value != 0;
    m.return_type = m.has_return ? mi->return_value_info->type : GDEXTENSION_VARIANT_TYPE_NIL;
    m.return_hint = m.has_return ? mi->return_value_info->hint : 0;
    m.return_hint_string = m.has_return ? string_text(mi->return_value_info->hint_string) : "";
    m.return_metadata = mi->return_value_metadata;
    for (uint32_t i = 0; i < mi->argument_count; ++i) {
        const GDExtensionPropertyInfo& a = mi->arguments_info[i];
        (void)name_of(a.class_name);
        (void)string_text(a.hint_string);
        m.args.push_back({name_of(a.name), a.type, mi->arguments_metadata[i], a.usage});
    }
    m.default_count = mi->default_argument_count;
    m.call = mi->call_func;
    m.ptrcall = mi->ptrcall_func;
    m.userdata = mi->method_userdata;
    g_engine.methods.push_back(m);
    g_engine.order.push_back("method:" + m.name);
}
void register_property(GDExtensionClassLibraryPtr, GDExtensionConstStringNamePtr, const GDExtensionPropertyInfo* p,
                       GDExtensionConstStringNamePtr setter, GDExtensionConstStringNamePtr getter) {
    g_engine.properties.push_back({name_of(p->name), name_of(p->class_name), string_text(p->hint_string),
                                   name_of(setter), name_of(getter), p->type, p->hint, p->usage});
    g_engine.order.push_back("property:" + name_of(p->name));
}
void register_constant(GDExtensionClassLibraryPtr, GDExtensionConstStringNamePtr, GDExtensionConstStringNamePtr enum_name,
                       GDExtensionConstStringNamePtr name, GDExtensionInt value, GDExtensionBool bitfield) {
    g_engine.constants.push_back({name_of(enum_name), name_of(name), value, bitfield != 0});
    g_engine.order.push_back("constant:" + name_of(name));
}
void load_help(const char* data, GDExtensionInt size) {
    g_engine.help_documents.emplace_back(data, static_cast<size_t>(size));
}
void unregister_class(GDExtensionClassLibraryPtr, GDExtensionConstStringNamePtr cls) {
    g_engine.order.push_back("unregister:" + name_of(cls));
}
void get_version(GDExtensionGodotVersion2* v) {
    *v = GDExtensionGodotVersion2{};
    v->major = g_engine.major;
    v->minor = g_engine.minor;
}
void print_error(const char*, const char*, const char*, int32_t, GDExtensionBool) {}

template <typename F>
GDExtensionInterfaceFunctionPtr fn(F f) {
    return reinterpret_cast<GDExtensionInterfaceFunctionPtr>(f);
}

const std::map<std::string, GDExtensionInterfaceFunctionPtr>& functions() {
    static const std::map<std::string, GDExtensionInterfaceFunctionPtr> table = {
        {"print_error", fn(print_error)},
        {"get_godot_version2", fn(get_version)},
        {"variant_new_nil", fn(variant_new_nil)},
        {"variant_destroy", fn(variant_destroy)},
        {"variant_get_type", fn(variant_get_type)},
        {"variant_can_convert_strict", fn(can_convert_strict)},
        {"variant_booleanize", fn(booleanize)},
        {"get_variant_from_type_constructor", fn(get_from_type)},
        {"get_variant_to_type_constructor", fn(get_to_type)},
        {"variant_get_ptr_constructor", fn(get_constructor)},
        {"variant_get_ptr_destructor", fn(get_destructor)},
        {"variant_get_ptr_builtin_method", fn(get_builtin)},
        {"variant_get_ptr_operator_evaluator", fn(get_operator)},
        {"string_new_with_utf8_chars", fn(string_new)},
        {"string_name_new_with_latin1_chars", fn(string_name_new)},
        {"array_operator_index", fn(array_index)},
        {"array_set_typed", fn(array_set_typed)},
        {"object_method_bind_call", fn(bind_call)},
        {"object_call_script_method", fn(call_script_method)},
        {"object_method_bind_ptrcall", fn(bind_ptrcall)},
        {"object_destroy", fn(object_destroy)},
        {"global_get_singleton", fn(get_singleton)},
        {"object_get_instance_from_id", fn(instance_from_id)},
        {"object_get_instance_id", fn(instance_id_of)},
        {"object_cast_to", fn(cast_to)},
        {"object_set_instance", fn(set_instance)},
        {"classdb_construct_object2", fn(construct_object)},
        {"classdb_get_method_bind", fn(get_method_bind)},
        {"classdb_get_class_tag", fn(get_class_tag)},
        {"classdb_register_extension_class5", fn(register_class)},
        {"classdb_register_extension_class_method", fn(register_method)},
        {"classdb_register_extension_class_property", fn(register_property)},
        {"classdb_register_extension_class_integer_constant", fn(register_constant)},
        {"editor_help_load_xml_from_utf8_chars_and_len", fn(load_help)},
        {"classdb_unregister_extension_class", fn(unregister_class)},
    };
    return table;
}

}  // namespace

Engine& engine() { return g_engine; }

void reset(uint32_t major, uint32_t minor) {
    g_engine = Engine{};
    g_engine.major = major;
    g_engine.minor = minor;
}

GDExtensionInterfaceFunctionPtr get_proc_address(const char* name) {
    if (g_engine.missing.count(name) != 0) return nullptr;
    const auto it = functions().find(name);
    return it != functions().end() ? it->second : nullptr;
}

Value make_int(int64_t v) {
    Value out;
    from_int(out.ptr(), &v);
    return out;
}
Value make_float(double v) {
    Value out;
    from_float(out.ptr(), &v);
    return out;
}
Value make_bool(bool v) {
    Value out;
    uint8_t b = v;
    from_bool(out.ptr(), &b);
    return out;
}
Value make_vector2(float x, float y) {
    Value out;
    float xy[2] = {x, y};
    from_vector2(out.ptr(), xy);
    return out;
}
Value make_string(const char* s) {
    Value out;
    out.var().type = GDEXTENSION_VARIANT_TYPE_STRING;
    out.var().u.p = new std::string(s);
    ++g_engine.live_strings;
    return out;
}
void destroy(Value& v) { variant_destroy(v.ptr()); }

const std::string& name_of(GDExtensionConstStringNamePtr name) { return *load<const std::string*>(name); }
void make_name(void* r_dest, const char* text) { store(r_dest, intern(text)); }
const ArrayData* array_of(const void* array_opaque) { return load<ArrayData*>(array_opaque); }
const ArrayData* array_in_variant(const Value& v) {
    return v.var().type == GDEXTENSION_VARIANT_TYPE_ARRAY ? static_cast<const ArrayData*>(v.var().u.p) : nullptr;
}

}  // namespace fake
