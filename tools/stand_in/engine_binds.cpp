#include "stand_in/engine_binds.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include "stand_in/class_db.h"
#include "stand_in/config.h"
#include "stand_in/counters.h"
#include "stand_in/log.h"
#include "stand_in/scene_tree.h"
#include "stand_in/strings.h"

namespace stand_in {

namespace {

template <typename T>
T arg(const void* const* args, size_t i) {
    T v;
    std::memcpy(&v, args[i], sizeof v);
    return v;
}

bool arg_bool(const void* const* args, size_t i) { return *static_cast<const uint8_t*>(args[i]) != 0; }

// An Object argument: the slot holds the pointer. Dead pointers are caught
// here; the engine would crash on them.
Object* arg_object(const void* const* args, size_t i) {
    Object* o = arg<Object*>(args, i);
    if (o != nullptr && !object_is_live(o)) {
        log().engine_error("An Object argument points at no live object.");
        return nullptr;
    }
    return o;
}

template <typename T>
void put(void* ret, const T& v) {
    if (ret != nullptr) {
        std::memcpy(ret, &v, sizeof v);
    }
}

void put_bool(void* ret, bool b) { put(ret, static_cast<uint8_t>(b ? 1 : 0)); }
void put_object(void* ret, Object* o) { put(ret, o); }

void put_string(void* ret, std::string_view text) {
    if (ret != nullptr) {
        string_destroy(ret);
        string_new(ret, text);
    }
}

void put_name(void* ret, std::string_view text) {
    if (ret != nullptr) {
        name_destroy(ret);
        name_new(ret, text);
    }
}

Node* node(Object* o) { return static_cast<Node*>(o); }

// Node.get_path: absolute, from the root, as the engine writes it.
std::string absolute_path(const Node* n) {
    std::string path;
    for (; n != nullptr; n = n->parent) path.insert(0, "/" + n->name);
    return path;
}
Node2D* node2d(Object* o) { return static_cast<Node2D*>(o); }

bool has_method(Object* o, std::string_view name) {
    if (o->script_methods.find(name) != o->script_methods.end()) {
        return true;
    }
    if (o->extension != nullptr && o->extension->method(name) != nullptr) {
        return true;
    }
    return engine_bind_named(o->class_info(), name) != nullptr;
}

void deliver_notification(Object* o, int64_t what, bool reversed) {
    ++o->notifications_received;
    if (what == 0) {
        o->postinitialized = true;
    }
    if (o->extension != nullptr && o->extension->funcs.notification_func != nullptr) {
        o->extension->funcs.notification_func(o->extension_instance, static_cast<int32_t>(what), reversed ? 1 : 0);
    }
}

void object_call(Object* self, const void* const* args, int64_t count, VariantData* ret, GDExtensionCallError* error) {
    if (count < 1) {
        *error = {GDEXTENSION_CALL_ERROR_TOO_FEW_ARGUMENTS, 0, 1};
        return;
    }
    const uint32_t t = var_type(args[0]);
    if (t != GDEXTENSION_VARIANT_TYPE_STRING_NAME && t != GDEXTENSION_VARIANT_TYPE_STRING) {
        *error = {GDEXTENSION_CALL_ERROR_INVALID_ARGUMENT, 0, GDEXTENSION_VARIANT_TYPE_STRING_NAME};
        return;
    }
    const void* payload = var_payload(args[0]);
    const std::string_view method = t == GDEXTENSION_VARIANT_TYPE_STRING_NAME ? name_text(payload) : string_text(payload);
    object_callp(self, method, args + 1, count - 1, ret, error);
}

constexpr uint32_t kNil = GDEXTENSION_VARIANT_TYPE_NIL;
constexpr uint32_t kBool = GDEXTENSION_VARIANT_TYPE_BOOL;
constexpr uint32_t kInt = GDEXTENSION_VARIANT_TYPE_INT;
constexpr uint32_t kFloat = GDEXTENSION_VARIANT_TYPE_FLOAT;
constexpr uint32_t kString = GDEXTENSION_VARIANT_TYPE_STRING;
constexpr uint32_t kVector2 = GDEXTENSION_VARIANT_TYPE_VECTOR2;
constexpr uint32_t kRect2 = GDEXTENSION_VARIANT_TYPE_RECT2;
constexpr uint32_t kTransform2D = GDEXTENSION_VARIANT_TYPE_TRANSFORM2D;
constexpr uint32_t kName = GDEXTENSION_VARIANT_TYPE_STRING_NAME;
constexpr uint32_t kPath = GDEXTENSION_VARIANT_TYPE_NODE_PATH;
constexpr uint32_t kObject = GDEXTENSION_VARIANT_TYPE_OBJECT;

EngineBind bind(const char* cls, const char* name, int64_t hash, std::vector<uint32_t> args, uint32_t ret,
                bool is_const, EngineBind::PtrFn fn) {
    EngineBind b{cls, name, hash, {}, std::move(args), 0, {}, ret != kNil, ret, is_const, fn, nullptr, 0};
    return b;
}

std::vector<EngineBind> make_binds() {
    std::vector<EngineBind> v;
    // Object
    {
        EngineBind call{"Object", "call", 3400424181, {}, {kName}, 0, {}, true, kNil, false, nullptr, &object_call, 0};
        v.push_back(std::move(call));
    }
    v.push_back(bind("Object", "get_instance_id", 3905245786, {}, kInt, true,
                     [](Object* s, const void* const*, void* r) { put(r, static_cast<int64_t>(s->id)); }));
    v.push_back(bind("Object", "is_class", 3927539163, {kString}, kBool, true, [](Object* s, const void* const* a, void* r) {
        put_bool(r, s->is_class(string_text(a[0])));
    }));
    // Stand-in objects carry no Script resource.
    v.push_back(bind("Object", "get_script", 0, {}, kObject, true,
                     [](Object*, const void* const*, void* r) { put_object(r, nullptr); }));
    v.push_back(bind("Object", "has_method", 2619796661, {kName}, kBool, true, [](Object* s, const void* const* a, void* r) {
        put_bool(r, has_method(s, name_text(a[0])));
    }));
    v.push_back(bind("Object", "get_class", 201670096, {}, kString, true,
                     [](Object* s, const void* const*, void* r) { put_string(r, s->class_info()->name); }));
    {
        EngineBind n = bind("Object", "notification", 4023243586, {kInt, kBool}, kNil, false,
                            [](Object* s, const void* const* a, void*) {
                                deliver_notification(s, arg<int64_t>(a, 0), arg_bool(a, 1));
                            });
        n.default_count = 1;
        n.defaults.emplace_back(false);
        v.push_back(std::move(n));
    }
    // Node
    v.push_back(bind("Node", "get_node_or_null", 2734337346, {kPath}, kObject, true,
                     [](Object* s, const void* const* a, void* r) { put_object(r, find_node(node(s), path_text(a[0]))); }));
    v.push_back(bind("Node", "is_inside_tree", 36873697, {}, kBool, true,
                     [](Object* s, const void* const*, void* r) { put_bool(r, node(s)->inside_tree); }));
    v.push_back(bind("Node", "get_viewport", 3596683776, {}, kObject, true,
                     [](Object* s, const void* const*, void* r) { put_object(r, node(s)->viewport); }));
    v.push_back(bind("Node", "get_parent", 3160264692, {}, kObject, true,
                     [](Object* s, const void* const*, void* r) { put_object(r, node(s)->parent); }));
    {
        EngineBind add = bind("Node", "add_child", 3863233950, {kObject, kBool, kInt}, kNil, false,
                              [](Object* s, const void* const* a, void*) {
                                  Node* child = as_node(arg_object(a, 0));
                                  if (child == nullptr) {
                                      log().engine_error("Node::add_child: Parameter \"p_child\" is null.");
                                      return;
                                  }
                                  add_child(node(s), child, arg_bool(a, 1));
                              });
        add.compatibility = {3070154285};
        add.default_count = 2;
        add.defaults.emplace_back(false);
        add.defaults.emplace_back(int64_t{0});
        v.push_back(std::move(add));
    }
    v.push_back(bind("Node", "remove_child", 1078189570, {kObject}, kNil, false, [](Object* s, const void* const* a, void*) {
        remove_child(node(s), as_node(arg_object(a, 0)));
    }));
    {
        EngineBind count = bind("Node", "get_child_count", 894402480, {kBool}, kInt, true,
                                [](Object* s, const void* const*, void* r) {
                                    put(r, static_cast<int64_t>(node(s)->children.size()));
                                });
        count.default_count = 1;
        count.defaults.emplace_back(false);
        v.push_back(std::move(count));
    }
    v.push_back(bind("Node", "queue_free", 3218959716, {}, kNil, false,
                     [](Object* s, const void* const*, void*) { queue_free(node(s)); }));
    v.push_back(bind("Node", "set_name", 3304788590, {kName}, kNil, false,
                     [](Object* s, const void* const* a, void*) { set_node_name(node(s), name_text(a[0])); }));
    // The String form 4.5 keeps for older extensions.
    v.push_back(bind("Node", "set_name", 83702148, {kString}, kNil, false,
                     [](Object* s, const void* const* a, void*) { set_node_name(node(s), string_text(a[0])); }));
    v.push_back(bind("Node", "get_name", 2002593661, {}, kName, true,
                     [](Object* s, const void* const*, void* r) { put_name(r, node(s)->name); }));
    // Reached by name only (variant_call), so without their engine hashes.
    // Outside the tree a node has no path: the engine's error, and an empty one.
    v.push_back(bind("Node", "get_path", 0, {}, kPath, true, [](Object* s, const void* const*, void* r) {
        if (!node(s)->inside_tree) log().engine_error("Cannot get path of node as it is not in a scene tree.");
        if (r != nullptr) {
            path_destroy(r);
            path_new(r, node(s)->inside_tree ? absolute_path(node(s)) : std::string());
        }
    }));
    // Node2D
    v.push_back(bind("Node2D", "get_position", 3341600327, {}, kVector2, true,
                     [](Object* s, const void* const*, void* r) { put(r, node2d(s)->position); }));
    v.push_back(bind("Node2D", "set_position", 743155724, {kVector2}, kNil, false,
                     [](Object* s, const void* const* a, void*) { node2d(s)->position = arg<Vector2>(a, 0); }));
    v.push_back(bind("Node2D", "get_global_position", 3341600327, {}, kVector2, true,
                     [](Object* s, const void* const*, void* r) { put(r, global_transform(node2d(s)).origin); }));
    v.push_back(bind("Node2D", "set_global_position", 743155724, {kVector2}, kNil, false,
                     [](Object* s, const void* const* a, void*) { set_global_position(node2d(s), arg<Vector2>(a, 0)); }));
    v.push_back(bind("Node2D", "get_rotation", 1740695150, {}, kFloat, true,
                     [](Object* s, const void* const*, void* r) { put(r, static_cast<double>(node2d(s)->rotation)); }));
    v.push_back(bind("Node2D", "set_rotation", 373806689, {kFloat}, kNil, false, [](Object* s, const void* const* a, void*) {
        node2d(s)->rotation = static_cast<float>(arg<double>(a, 0));
    }));
    v.push_back(bind("Node2D", "get_scale", 3341600327, {}, kVector2, true,
                     [](Object* s, const void* const*, void* r) { put(r, node2d(s)->scale); }));
    v.push_back(bind("Node2D", "set_scale", 743155724, {kVector2}, kNil, false,
                     [](Object* s, const void* const* a, void*) { node2d(s)->scale = arg<Vector2>(a, 0); }));
    v.push_back(bind("CanvasItem", "get_global_transform", 3814499831, {}, kTransform2D, true,
                     [](Object* s, const void* const*, void* r) { put(r, global_transform(node2d(s))); }));
    // Viewport, Engine
    v.push_back(bind("Viewport", "get_visible_rect", 1639390495, {}, kRect2, true,
                     [](Object* s, const void* const*, void* r) { put(r, static_cast<Viewport*>(s)->visible_rect); }));
    v.push_back(bind("Engine", "is_editor_hint", 36873697, {}, kBool, true, [](Object* s, const void* const*, void* r) {
        put_bool(r, static_cast<EngineSingleton*>(s)->editor_hint);
    }));
    for (size_t i = 0; i < v.size(); ++i) {
        v[i].index = i;
    }
    return v;
}

BindRequest::Found match(const EngineBind& b, int64_t hash) {
    if (b.hash == hash) {
        return BindRequest::Found::current;
    }
    for (int64_t h : b.compatibility) {
        if (h == hash) {
            return BindRequest::Found::compatibility;
        }
    }
    return BindRequest::Found::none;
}

// Whether `self` may be passed to the bind: a live object of its class.
Object* checked_self(const EngineBind* bind, void* self) {
    if (!object_is_live(self)) {
        log().engine_error(std::string("Method bind ") + bind->cls + "." + bind->name + " called on no live object.");
        return nullptr;
    }
    Object* o = static_cast<Object*>(self);
    if (!inherits(o->class_info(), engine_class(bind->cls))) {
        log().engine_error(std::string("Method bind ") + bind->cls + "." + bind->name + " called on a " +
                           o->class_info()->name + ".");
        return nullptr;
    }
    return o;
}

bool g_log_calls = false;

// Releases what a ptrcall slot of this type owns.
void drop_slot(uint32_t type, const void* bytes) {
    if (type == kString || type == kName || type == kPath || type == GDEXTENSION_VARIANT_TYPE_ARRAY) {
        VariantData tmp;
        tmp.type = type;
        std::memcpy(tmp.payload, bytes, 8);
        var_destroy(&tmp);
    }
}

}  // namespace

const std::vector<EngineBind>& engine_binds() {
    static const std::vector<EngineBind> binds = make_binds();
    static_assert(kMaxEngineBinds >= 32);
    return binds;
}

std::vector<BindRequest>& bind_requests() {
    static std::vector<BindRequest> requests;
    return requests;
}

const EngineBind* find_engine_bind(std::string_view cls, std::string_view name, int64_t hash) {
    bind_requests().push_back({std::string(cls), std::string(name), hash, BindRequest::Found::none});
    const ClassInfo* start = find_class(cls);
    if (start == nullptr) {
        log().engine_error("Method bind lookup on unknown class '" + std::string(cls) + "'.");
        return nullptr;
    }
    bool name_seen = false;
    const std::string full_name = std::string(cls) + "." + std::string(name);
    const std::vector<std::string>& withheld = config().withheld_binds;
    const bool bound = std::find(withheld.begin(), withheld.end(), full_name) == withheld.end();
    for (const ClassInfo* c = bound ? start->tag() : nullptr; c != nullptr; c = c->parent) {
        for (const EngineBind& b : engine_binds()) {
            if (c->name == b.cls && name == b.name) {
                name_seen = true;
                const BindRequest::Found found = match(b, hash);
                if (found != BindRequest::Found::none) {
                    bind_requests().back().found = found;
                    return &b;
                }
            }
        }
    }
    if (name_seen) {
        log().engine_error("Method bind '" + std::string(cls) + "." + std::string(name) + "' with hash " +
                           std::to_string(hash) + " not found: likely the engine method changed to an incompatible version.");
    } else {
        log().engine_error("Method '" + std::string(cls) + "." + std::string(name) + "' with hash " +
                           std::to_string(hash) + " not found.");
    }
    return nullptr;
}

const EngineBind* engine_bind_named(const ClassInfo* cls, std::string_view name) {
    for (const ClassInfo* c = cls != nullptr ? cls->tag() : nullptr; c != nullptr; c = c->parent) {
        for (const EngineBind& b : engine_binds()) {
            if (c->name == b.cls && name == b.name) {
                return &b;
            }
        }
    }
    return nullptr;
}

// Only pointers classdb_get_method_bind handed out are binds.
bool is_engine_bind(const EngineBind* bind) {
    const std::vector<EngineBind>& all = engine_binds();
    const std::less<const EngineBind*> before;
    return bind != nullptr && !before(bind, all.data()) && before(bind, all.data() + all.size()) &&
           &all[static_cast<size_t>(bind - all.data())] == bind;
}

void engine_bind_ptrcall(const EngineBind* bind, void* self, const void* const* args, void* ret) {
    if (!is_engine_bind(bind)) {
        log().engine_error("object_method_bind_ptrcall: not a method bind.");
        return;
    }
    ++counters().binds[bind->index];
    if (bind->vararg != nullptr) {
        log().engine_error("Vararg methods don't have ptrcall support. This is most likely an engine bug.");
        return;
    }
    Object* o = checked_self(bind, self);
    if (o == nullptr) {
        return;
    }
    if (!bind->args.empty() && args == nullptr) {
        log().engine_error(std::string("ptrcall of ") + bind->name + " without its arguments.");
        return;
    }
    bind->ptrcall(o, args, ret);
}

void engine_bind_call(const EngineBind* bind, void* self, const void* const* args, int64_t count, void* ret,
                      GDExtensionCallError* error) {
    GDExtensionCallError local{GDEXTENSION_CALL_OK, 0, 0};
    GDExtensionCallError& err = error != nullptr ? *error : local;
    err = {GDEXTENSION_CALL_OK, 0, 0};
    var_nil(ret);
    VariantData* out = static_cast<VariantData*>(ret);
    if (!is_engine_bind(bind)) {
        log().engine_error("object_method_bind_call: not a method bind.");
        err.error = GDEXTENSION_CALL_ERROR_INVALID_METHOD;
        return;
    }
    if (count > 0 && args == nullptr) {
        log().engine_error("object_method_bind_call: arguments announced but not passed.");
        err.error = GDEXTENSION_CALL_ERROR_INVALID_ARGUMENT;
        return;
    }
    ++counters().binds[bind->index];
    Object* o = checked_self(bind, self);
    if (o == nullptr) {
        err.error = GDEXTENSION_CALL_ERROR_INSTANCE_IS_NULL;
        return;
    }
    if (bind->vararg != nullptr) {
        bind->vararg(o, args, count, out, &err);
        return;
    }
    const int64_t declared = static_cast<int64_t>(bind->args.size());
    const int64_t required = declared - static_cast<int64_t>(bind->default_count);
    if (count > declared) {
        err = {GDEXTENSION_CALL_ERROR_TOO_MANY_ARGUMENTS, 0, static_cast<int32_t>(declared)};
        return;
    }
    if (count < required) {
        err = {GDEXTENSION_CALL_ERROR_TOO_FEW_ARGUMENTS, 0, static_cast<int32_t>(required)};
        return;
    }
    struct alignas(8) Slot {
        unsigned char bytes[24];
    };
    Slot slots[4] = {};
    const void* ptrs[4] = {};
    for (int64_t i = 0; i < declared; ++i) {
        const void* value = i < count ? args[i] : bind->defaults[static_cast<size_t>(i - required)].raw();
        const uint32_t want = bind->args[static_cast<size_t>(i)];
        const uint32_t have = var_type(value);
        bool ok = can_convert_strict(have, want);
        if (ok && want == kObject) {
            Object* given = var_to_object(value);
            ok = given == nullptr || given->is_node();  // the engine checks the class: all Object args here are Nodes
        }
        if (!ok) {
            for (int64_t j = 0; j < i; ++j) {
                drop_slot(bind->args[static_cast<size_t>(j)], slots[j].bytes);
            }
            err = {GDEXTENSION_CALL_ERROR_INVALID_ARGUMENT, static_cast<int32_t>(i), static_cast<int32_t>(want)};
            return;
        }
        var_convert_into(want, slots[i].bytes, value);
        ptrs[i] = slots[i].bytes;
    }
    Slot result{};
    if (bind->return_type == kString || bind->return_type == kName || bind->return_type == kPath) {
        std::memset(result.bytes, 0, sizeof result.bytes);  // the empty value
    }
    bind->ptrcall(o, ptrs, bind->has_return ? result.bytes : nullptr);
    for (int64_t i = 0; i < declared; ++i) {
        drop_slot(bind->args[static_cast<size_t>(i)], slots[i].bytes);
    }
    if (bind->has_return) {
        if (bind->return_type == kTransform2D) {
            log().engine_error("The stand-in host holds no Transform2D in a Variant.");
            return;
        }
        VariantData tmp;
        tmp.type = bind->return_type;
        std::memcpy(tmp.payload, result.bytes, sizeof tmp.payload);
        if (bind->return_type == kObject) {
            Object* r = nullptr;
            std::memcpy(&r, result.bytes, sizeof r);
            var_from_object(out, r);
        } else {
            std::memcpy(out, &tmp, sizeof tmp);  // the Variant takes over what the slot owned
        }
    }
}

uint64_t bind_calls(std::string_view cls, std::string_view name) {
    uint64_t n = 0;
    for (const EngineBind& b : engine_binds()) {
        if (cls == b.cls && name == b.name) {
            n += counters().binds[b.index];
        }
    }
    return n;
}

void object_callp(Object* o, std::string_view method, const void* const* args, int64_t count, VariantData* ret,
                  GDExtensionCallError* error) {
    GDExtensionCallError local{GDEXTENSION_CALL_OK, 0, 0};
    GDExtensionCallError& err = error != nullptr ? *error : local;
    err = {GDEXTENSION_CALL_OK, 0, 0};
    const auto script = o->script_methods.find(method);
    if (script != o->script_methods.end()) {
        const auto arity = o->script_arity.find(method);
        if (arity != o->script_arity.end() && count < arity->second) {
            err = {GDEXTENSION_CALL_ERROR_TOO_FEW_ARGUMENTS, 0, arity->second};
            return;
        }
        // Held while it runs: the method may free its own object.
        const std::shared_ptr<ScriptFn> fn = script->second;
        auto counter = o->script_calls.find(method);
        if (counter == o->script_calls.end()) {
            counter = o->script_calls.emplace(std::string(method), 0).first;
        }
        ++counter->second;
        ++counters().script_calls;
        if (g_log_calls) {
            script_call_log().push_back({o->id, std::string(method)});
        }
        Variant result = (*fn)(*o);
        var_destroy(ret);
        std::memcpy(ret, result.raw(), sizeof(VariantData));
        var_nil(result.raw());
        return;
    }
    if (o->extension != nullptr) {
        if (const MethodRecord* m = o->extension->method(method)) {
            m->call(m->userdata, o->extension_instance, args, count, ret, &err);
            return;
        }
    }
    if (const EngineBind* b = engine_bind_named(o->class_info(), method)) {
        VariantData result;
        engine_bind_call(b, o, args, count, &result, &err);
        var_destroy(ret);
        std::memcpy(ret, &result, sizeof result);
        return;
    }
    err = {GDEXTENSION_CALL_ERROR_INVALID_METHOD, 0, 0};
}

void set_script_call_log(bool enabled) { g_log_calls = enabled; }

std::vector<ScriptCall>& script_call_log() {
    static std::vector<ScriptCall> calls;
    return calls;
}

}  // namespace stand_in
