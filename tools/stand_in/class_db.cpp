#include "stand_in/class_db.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>

#include "stand_in/config.h"
#include "stand_in/counters.h"
#include "stand_in/engine_binds.h"
#include "stand_in/log.h"
#include "stand_in/scene_tree.h"
#include "stand_in/signals.h"
#include "stand_in/strings.h"

namespace stand_in {

namespace {

struct Database {
    std::map<std::string, std::unique_ptr<ExtensionClass>, std::less<>> classes;
    // Classes unregistered while instances lived: kept so those objects
    // never point at freed memory.
    std::vector<std::unique_ptr<ExtensionClass>> retired;
    int level = -1;
};

Database& database() {
    static Database r;
    return r;
}

bool valid_identifier(std::string_view s) {
    if (s.empty() || std::isdigit(static_cast<unsigned char>(s.front()))) {
        return false;
    }
    for (char c : s) {
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_')) {
            return false;
        }
    }
    return true;
}

std::string text_of_name(const void* p) { return p != nullptr ? std::string(name_text(p)) : std::string(); }

// The engine's static StringName per virtual: built once, kept until the
// host shuts down.
std::map<std::string, std::unique_ptr<Name>, std::less<>>& virtual_names() {
    static std::map<std::string, std::unique_ptr<Name>, std::less<>> names;
    return names;
}

const Name& virtual_name(const char* name) {
    auto& names = virtual_names();
    auto it = names.find(name);
    if (it == names.end()) {
        it = names.emplace(name, std::make_unique<Name>(name)).first;
    }
    return *it->second;
}

bool gives_call_data(const ExtensionClass& cls) {
    return cls.funcs.get_virtual_call_data_func != nullptr && cls.funcs.call_virtual_with_data_func != nullptr;
}

// Which of the class's callbacks the engine asks, and calls through.
bool asks_with_call_data(const ExtensionClass& cls) { return config().virtual_call_data && gives_call_data(cls); }

void* ask_with_call_data(const ExtensionClass& cls, const char* name, uint32_t hash) {
    ++counters().virtual_lookups;
    return cls.funcs.get_virtual_call_data_func(cls.funcs.class_userdata, virtual_name(name).ptr(), hash);
}

void* ask_directly(const ExtensionClass& cls, const char* name, uint32_t hash) {
    ++counters().virtual_lookups;
    return reinterpret_cast<void*>(cls.funcs.get_virtual_func(cls.funcs.class_userdata, virtual_name(name).ptr(), hash));
}

void* ask_class(const ExtensionClass& cls, const char* name, uint32_t hash) {
    if (asks_with_call_data(cls)) {
        return ask_with_call_data(cls, name, hash);
    }
    return cls.funcs.get_virtual_func != nullptr ? ask_directly(cls, name, hash) : nullptr;
}

void* cached_virtual(Object* o, const char* name, uint32_t hash) {
    for (const Object::VirtualSlot& slot : o->virtuals) {
        if (slot.name == name) {
            return slot.function;
        }
    }
    void* f = ask_class(*o->extension, name, hash);
    o->virtuals.push_back({name, f});
    return f;
}

}  // namespace

const MethodRecord* ExtensionClass::method(std::string_view name) const {
    for (const MethodRecord& m : methods) {
        if (m.name == name) {
            return &m;
        }
    }
    return nullptr;
}

void set_current_level(int level) { database().level = level; }
int current_level() { return database().level; }

std::vector<ClassDbCall>& class_db_calls() {
    static std::vector<ClassDbCall> calls;
    return calls;
}

std::vector<std::string>& editor_help_documents() {
    static std::vector<std::string> documents;
    return documents;
}

const ExtensionClass* find_extension_class(std::string_view name) { return find_extension_class_mut(name); }

ExtensionClass* find_extension_class_mut(std::string_view name) {
    auto& classes = database().classes;
    const auto it = classes.find(name);
    return it != classes.end() ? it->second.get() : nullptr;
}

const ClassInfo* find_class(std::string_view name) {
    if (const ClassInfo* c = engine_class(name)) {
        return c;
    }
    const ExtensionClass* e = find_extension_class(name);
    return e != nullptr ? &e->info : nullptr;
}

std::vector<const ExtensionClass*> extension_classes() {
    std::vector<const ExtensionClass*> out;
    for (const auto& [name, cls] : database().classes) {
        out.push_back(cls.get());
    }
    return out;
}

PropertyRecord read_property_info(const GDExtensionPropertyInfo& info) {
    PropertyRecord r;
    r.type = static_cast<uint32_t>(info.type);
    r.name = text_of_name(info.name);
    r.class_name = text_of_name(info.class_name);
    r.hint = info.hint;
    r.hint_string = info.hint_string != nullptr ? std::string(string_text(info.hint_string)) : std::string();
    r.usage = info.usage;
    return r;
}

void register_class(void* library, std::string_view name, std::string_view parent,
                    const GDExtensionClassCreationInfo5* funcs) {
    const std::string n(name);
    if (funcs == nullptr) {
        log().engine_error("classdb_register_extension_class5: null creation info for '" + n + "'.");
        return;
    }
    if (!valid_identifier(name)) {
        log().engine_error("Attempt to register extension class '" + n + "', which is not a valid class identifier.");
        return;
    }
    if (find_class(name) != nullptr) {
        log().engine_error("Attempt to register extension class '" + n + "', which appears to be already registered.");
        return;
    }
    const ClassInfo* parent_info = find_class(parent);
    if (parent_info == nullptr) {
        log().engine_error("Attempt to register an extension class '" + n + "' using non-existing parent class '" +
                           std::string(parent) + "'.");
        return;
    }
    if (funcs->free_instance_func == nullptr) {
        log().engine_error("Extension class '" + n + "' has no free_instance_func, which is mandatory.");
        return;
    }
    auto cls = std::make_unique<ExtensionClass>();
    cls->info.name = n;
    cls->info.parent = parent_info;
    cls->info.extension = cls.get();
    cls->parent_name = std::string(parent);
    cls->funcs = *funcs;
    cls->library = library;
    cls->registered_at_level = database().level;
    database().classes.emplace(n, std::move(cls));
}

void register_method(void* library, std::string_view cls_name, const GDExtensionClassMethodInfo* info) {
    ExtensionClass* cls = find_extension_class_mut(cls_name);
    const std::string method_name = info != nullptr ? text_of_name(info->name) : std::string();
    if (cls == nullptr || cls->library != library) {
        log().engine_error("Attempt to register extension method '" + method_name + "' for unexisting class '" +
                           std::string(cls_name) + "'.");
        return;
    }
    if (info == nullptr || method_name.empty()) {
        log().engine_error("classdb_register_extension_class_method: method without a name.");
        return;
    }
    if (cls->method(method_name) != nullptr) {
        log().engine_error("Method already bound '" + cls->info.name + "::" + method_name + "'.");
        return;
    }
    if ((info->argument_count > 0 && (info->arguments_info == nullptr || info->arguments_metadata == nullptr)) ||
        (info->has_return_value && info->return_value_info == nullptr) ||
        (info->default_argument_count > 0 && info->default_arguments == nullptr)) {
        log().engine_error("Method '" + method_name + "' is described with a null table.");
        return;
    }
    MethodRecord m;
    m.name = method_name;
    m.userdata = info->method_userdata;
    m.call = info->call_func;
    m.ptrcall = info->ptrcall_func;
    m.flags = info->method_flags;
    m.has_return = info->has_return_value != 0;
    if (m.has_return) {
        m.return_info = read_property_info(*info->return_value_info);
        m.return_metadata = static_cast<uint32_t>(info->return_value_metadata);
    }
    for (uint32_t i = 0; i < info->argument_count; ++i) {
        m.arguments.push_back(read_property_info(info->arguments_info[i]));
        m.argument_metadata.push_back(static_cast<uint32_t>(info->arguments_metadata[i]));
    }
    for (uint32_t i = 0; i < info->default_argument_count; ++i) {
        Variant v;
        var_destroy(v.raw());
        var_copy(v.raw(), info->default_arguments[i]);
        m.defaults.push_back(std::move(v));
    }
    cls->methods.push_back(std::move(m));
}

void register_property(void* library, std::string_view cls_name, const GDExtensionPropertyInfo* info,
                       std::string_view setter, std::string_view getter, int64_t index) {
    ExtensionClass* cls = find_extension_class_mut(cls_name);
    if (cls == nullptr || cls->library != library || info == nullptr) {
        log().engine_error("Attempt to register extension class property for unexisting class '" +
                           std::string(cls_name) + "'.");
        return;
    }
    PropertyEntry p;
    p.info = read_property_info(*info);
    p.setter = std::string(setter);
    p.getter = std::string(getter);
    p.index = index;
    const size_t extra = index >= 0 ? 1 : 0;
    if (!p.setter.empty()) {
        const MethodRecord* m = cls->method(p.setter);
        if (m == nullptr) {
            log().engine_error("Invalid setter '" + cls->info.name + "::" + p.setter + "' for property '" + p.info.name + "'.");
            return;
        }
        if (m->arguments.size() != 1 + extra) {
            log().engine_error("Invalid function for setter '" + cls->info.name + "::" + p.setter + "' for property '" + p.info.name + "'.");
            return;
        }
    }
    if (!p.getter.empty()) {
        const MethodRecord* m = cls->method(p.getter);
        if (m == nullptr) {
            log().engine_error("Invalid getter '" + cls->info.name + "::" + p.getter + "' for property '" + p.info.name + "'.");
            return;
        }
        if (m->arguments.size() != extra) {
            log().engine_error("Invalid function for getter '" + cls->info.name + "::" + p.getter + "' for property '" + p.info.name + "'.");
            return;
        }
    }
    for (const PropertyEntry& e : cls->properties) {
        if (e.info.name == p.info.name) {
            log().engine_error("Object '" + cls->info.name + "' already has property '" + p.info.name + "'.");
            return;
        }
    }
    cls->properties.push_back(std::move(p));
}

void unregister_class(void* library, std::string_view name) {
    auto& classes = database().classes;
    const auto it = classes.find(name);
    if (it == classes.end() || it->second->library != library) {
        log().engine_error("Attempt to unregister unexisting extension class '" + std::string(name) + "'.");
        return;
    }
    if (it->second->live_instances > 0) {
        log().engine_error("Extension class '" + std::string(name) + "' unregistered while " +
                           std::to_string(it->second->live_instances) + " instance(s) still live.");
        database().retired.push_back(std::move(it->second));
    }
    classes.erase(it);
}

void reset_class_db() {
    database().classes.clear();
    database().retired.clear();
    database().level = -1;
    virtual_names().clear();
}

std::vector<std::string> drop_classes_of(void* library) {
    std::vector<std::string> names;
    for (const auto& [name, cls] : database().classes) {
        if (cls->library == library) {
            names.push_back(name);
        }
    }
    for (const std::string& n : names) {
        unregister_class(library, n);
    }
    return names;
}

Object* instantiate(std::string_view cls_name, bool notify_postinitialize) {
    if (const ClassInfo* native = engine_class(cls_name)) {
        Object* o = new_engine_object(native, notify_postinitialize);
        if (o == nullptr) {
            log().engine_error("Class '" + std::string(cls_name) + "' can't be instantiated.");
        }
        return o;
    }
    ExtensionClass* cls = find_extension_class_mut(cls_name);
    if (cls == nullptr) {
        log().engine_error("Cannot get class '" + std::string(cls_name) + "'.");
        return nullptr;
    }
    if (cls->funcs.is_abstract || cls->funcs.is_virtual || cls->funcs.create_instance_func == nullptr) {
        log().engine_error("Class '" + cls->info.name + "' can't be instantiated.");
        return nullptr;
    }
    void* made = cls->funcs.create_instance_func(cls->funcs.class_userdata, notify_postinitialize ? 1 : 0);
    if (made == nullptr) {
        return nullptr;
    }
    if (!object_is_live(made)) {
        log().engine_error("create_instance of '" + cls->info.name + "' returned something that is no engine object.");
        return nullptr;
    }
    Object* o = static_cast<Object*>(made);
    if (o->extension != cls) {
        log().engine_error("create_instance of '" + cls->info.name + "' returned an object without its instance set.");
    }
    return o;
}

Object* construct_without_postinitialize(std::string_view cls_name) { return instantiate(cls_name, false); }

bool set_extension_instance(Object* o, std::string_view cls_name, void* instance) {
    ExtensionClass* cls = find_extension_class_mut(cls_name);
    if (o == nullptr || cls == nullptr) {
        log().engine_error("object_set_instance: unknown object or class '" + std::string(cls_name) + "'.");
        return false;
    }
    if (!inherits(o->native, cls->info.tag())) {
        log().engine_error("object_set_instance: a " + o->native->name + " can't carry an instance of '" +
                           cls->info.name + "'.");
        return false;
    }
    if (o->extension != nullptr) {
        log().engine_error("object_set_instance: the object already has an extension instance.");
        return false;
    }
    o->extension = cls;
    o->extension_instance = instance;
    ++cls->live_instances;
    return true;
}

void destroy_object(Object* o) {
    if (!object_is_live(o)) {
        log().engine_error("Attempted to free an object that is not live.");
        return;
    }
    const ExtensionClass* ext = o->extension;
    if (ext != nullptr && ext->funcs.notification_func != nullptr) {
        ext->funcs.notification_func(o->extension_instance, 1 /* PREDELETE */, 1);
    }
    if (Node* n = as_node(o)) {
        if (n->parent != nullptr && !remove_child(n->parent, n)) {
            // Refused while the parent is busy: the engine would keep a
            // dangling child (its error is logged); the host lets go of it.
            auto& siblings = n->parent->children;
            siblings.erase(std::find(siblings.begin(), siblings.end(), n));
            n->parent = nullptr;
        }
        while (!n->children.empty()) {
            destroy_object(n->children.back());
        }
    }
    if (ext != nullptr) {
        ext->funcs.free_instance_func(ext->funcs.class_userdata, o->extension_instance);
        --const_cast<ExtensionClass*>(ext)->live_instances;
        o->extension = nullptr;
        o->extension_instance = nullptr;
    }
    drop_connections_of(o);
    for (const InstanceBinding& b : o->bindings) {
        if (b.callbacks.free_callback != nullptr) {
            b.callbacks.free_callback(b.token, o, b.binding);
        }
    }
    unregister_object(o);
    delete o;
}

bool class_has_virtual(const ExtensionClass& cls, const char* name, uint32_t hash) {
    return ask_class(cls, name, hash) != nullptr;
}

VirtualAnswers class_virtual_answers(const ExtensionClass& cls, const char* name, uint32_t hash) {
    VirtualAnswers a;
    a.with_call_data = gives_call_data(cls) && ask_with_call_data(cls, name, hash) != nullptr;
    a.direct = cls.funcs.get_virtual_func != nullptr && ask_directly(cls, name, hash) != nullptr;
    return a;
}

bool virtual_overridden(Object* o, const char* name, uint32_t hash) {
    return o != nullptr && o->extension != nullptr && cached_virtual(o, name, hash) != nullptr;
}

bool call_virtual(Object* o, const char* name, uint32_t hash, const GDExtensionConstTypePtr* args, void* ret) {
    if (o == nullptr || o->extension == nullptr) {
        return false;
    }
    void* f = cached_virtual(o, name, hash);
    if (f == nullptr) {
        return false;
    }
    ++counters().virtual_calls;
    const GDExtensionClassCreationInfo5& funcs = o->extension->funcs;
    if (asks_with_call_data(*o->extension)) {
        funcs.call_virtual_with_data_func(o->extension_instance, virtual_name(name).ptr(), f, args, ret);
    } else {
        reinterpret_cast<GDExtensionClassCallVirtual>(f)(o->extension_instance, args, ret);
    }
    return true;
}

CallResult call_method(Object* o, std::string_view method, const Variant* const* args, int64_t count) {
    CallResult r;
    if (o == nullptr || !object_is_live(o)) {
        r.error.error = GDEXTENSION_CALL_ERROR_INSTANCE_IS_NULL;
        return r;
    }
    std::vector<const void*> raw(static_cast<size_t>(count > 0 ? count : 0));
    for (size_t i = 0; i < raw.size(); ++i) {
        raw[i] = args[i]->raw();
    }
    VariantData ret;
    var_nil(&ret);
    object_callp(o, method, raw.data(), count, &ret, &r.error);
    r.value = Variant::adopt(ret);
    return r;
}

bool ptrcall_method(Object* o, std::string_view method, const GDExtensionConstTypePtr* args, void* ret) {
    const MethodRecord* m = o != nullptr && o->extension != nullptr ? o->extension->method(method) : nullptr;
    if (m == nullptr || m->ptrcall == nullptr) {
        log().engine_error("ptrcall: no method '" + std::string(method) + "'.");
        return false;
    }
    m->ptrcall(m->userdata, o->extension_instance, args, ret);
    return true;
}

}  // namespace stand_in
