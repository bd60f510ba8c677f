#include "stand_in/signals.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "stand_in/counters.h"
#include "stand_in/engine_binds.h"
#include "stand_in/log.h"
#include "stand_in/scene_tree.h"
#include "stand_in/strings.h"

namespace stand_in {

namespace {

bool modelled_signal(std::string_view s) { return s == kNodeAdded || s == kNodeRemoved || s == kNodeRenamed; }

// The tree's other signals in 4.5, and Object's: they exist, so connecting
// to one is no engine error, but the host never emits them.
bool unmodelled_signal(std::string_view s) {
    for (const char* name : {"tree_changed", "scene_changed", "tree_process_mode_changed",
                             "node_configuration_warning_changed", "process_frame", "physics_frame", "script_changed",
                             "property_list_changed"}) {
        if (s == name) {
            return true;
        }
    }
    return false;
}

std::string object_text(const Object* o) { return "<" + o->class_info()->name + "#" + std::to_string(o->id) + ">"; }

std::vector<SceneTree::Connection>::iterator find_connection(std::vector<SceneTree::Connection>& list,
                                                              const void* callable) {
    return std::find_if(list.begin(), list.end(),
                        [&](const SceneTree::Connection& c) { return callable_equal(c.callable.ptr(), callable); });
}

// Variant::get_callable_error_text, as far as the host's calls can fail.
std::string call_error_text(const void* callable, const void* const* args, int64_t count,
                            const GDExtensionCallError& e) {
    std::string why;
    switch (e.error) {
        case GDEXTENSION_CALL_ERROR_INVALID_METHOD: why = "Method not found"; break;
        case GDEXTENSION_CALL_ERROR_INVALID_ARGUMENT:
            if (e.argument >= 0 && e.argument < count) {
                why = "Cannot convert argument " + std::to_string(e.argument + 1) + " from " +
                      type_name(var_type(args[e.argument])) + " to " + type_name(static_cast<uint32_t>(e.expected));
            } else {
                why = "Invalid argument " + std::to_string(e.argument);
            }
            break;
        case GDEXTENSION_CALL_ERROR_TOO_MANY_ARGUMENTS:
        case GDEXTENSION_CALL_ERROR_TOO_FEW_ARGUMENTS:
            why = "Method expected " + std::to_string(e.expected) + " argument(s), but called with " +
                  std::to_string(count);
            break;
        case GDEXTENSION_CALL_ERROR_INSTANCE_IS_NULL: why = "Instance is null"; break;
        case GDEXTENSION_CALL_ERROR_METHOD_NOT_CONST: why = "Method not const in const instance"; break;
        default: why = "Call error " + std::to_string(static_cast<int>(e.error)); break;
    }
    // Appended piece by piece: g++ 12 at -O3 misreads the chained operator+
    // as an overlapping copy (-Wrestrict).
    std::string text = "'";
    text.append(callable_text(callable)).append("': ").append(why);
    return text;
}

void call_get_tree(Node* node, int64_t count, VariantData* ret, GDExtensionCallError& error) {
    if (count > 0) {
        error = {GDEXTENSION_CALL_ERROR_TOO_MANY_ARGUMENTS, 0, 0};
        return;
    }
    SceneTree* tree = node->inside_tree ? scene_tree() : nullptr;
    if (tree == nullptr) {
        log().engine_error("Node::get_tree: Parameter \"data.tree\" is null.");
    }
    var_from_object(ret, tree);
}

// Object.connect(signal: StringName, callable: Callable, flags: int = 0) -> Error,
// with the checks its method bind makes on a dynamic call.
void call_connect(SceneTree* tree, const void* const* args, int64_t count, VariantData* ret,
                  GDExtensionCallError& error) {
    if (count > 3) {
        error = {GDEXTENSION_CALL_ERROR_TOO_MANY_ARGUMENTS, 0, 3};
        return;
    }
    if (count < 2) {
        error = {GDEXTENSION_CALL_ERROR_TOO_FEW_ARGUMENTS, 0, 2};
        return;
    }
    const uint32_t wanted[3] = {GDEXTENSION_VARIANT_TYPE_STRING_NAME, GDEXTENSION_VARIANT_TYPE_CALLABLE,
                                GDEXTENSION_VARIANT_TYPE_INT};
    for (int64_t i = 0; i < count; ++i) {
        if (!can_convert_strict(var_type(args[i]), wanted[i])) {
            error = {GDEXTENSION_CALL_ERROR_INVALID_ARGUMENT, static_cast<int32_t>(i), static_cast<int32_t>(wanted[i])};
            return;
        }
    }
    const void* signal = var_payload(args[0]);
    const std::string_view name =
        var_type(args[0]) == GDEXTENSION_VARIANT_TYPE_STRING_NAME ? name_text(signal) : string_text(signal);
    const uint32_t flags = count > 2 ? static_cast<uint32_t>(var_to_int(args[2])) : 0u;
    const int64_t result = connect_signal(tree, name, var_payload(args[1]), flags);
    var_from_int(ret, result);
}

}  // namespace

int64_t connect_signal(SceneTree* tree, std::string_view signal, const void* callable, uint32_t flags) {
    const std::string s(signal);
    if (callable_is_null(callable)) {
        log().engine_error("Cannot connect to '" + s + "': the provided callable is null.");
        return kErrInvalidParameter;
    }
    if (!callable_is_valid(callable)) {
        log().engine_error("Cannot connect to '" + s + "': the provided callable is not valid: '" +
                           callable_text(callable) + "'.");
        return kErrInvalidParameter;
    }
    if (!modelled_signal(signal)) {
        if (unmodelled_signal(signal)) {
            log().engine_error("The SceneTree signal '" + s + "' is not modelled by the stand-in host.");
        } else {
            log().engine_error("In Object of type 'SceneTree': Attempt to connect nonexistent signal '" + s +
                               "' to callable '" + callable_text(callable) + "'.");
        }
        return kErrInvalidParameter;
    }
    if ((flags & (kConnectDeferred | kConnectAppendSourceObject)) != 0) {
        log().engine_error("Connecting with flags " + std::to_string(flags) + " is not modelled by the stand-in host.");
        return kErrInvalidParameter;
    }
    std::vector<SceneTree::Connection>& list = tree->connections[s];
    const auto existing = find_connection(list, callable);
    if (existing != list.end()) {
        if ((flags & kConnectReferenceCounted) != 0) {
            ++existing->references;
            return kOk;
        }
        log().engine_error("Signal '" + s + "' is already connected to given callable '" + callable_text(callable) +
                           "' in that object.");
        return kErrInvalidParameter;
    }
    SceneTree::Connection c;
    c.callable = Callable(callable);
    c.flags = flags;
    c.references = (flags & kConnectReferenceCounted) != 0 ? 1 : 0;
    c.sequence = ++tree->connects;
    list.push_back(std::move(c));
    return kOk;
}

bool disconnect_signal(SceneTree* tree, std::string_view signal, const void* callable) {
    const auto it = tree->connections.find(signal);
    auto found = it != tree->connections.end() ? find_connection(it->second, callable)
                                               : std::vector<SceneTree::Connection>::iterator();
    if (it == tree->connections.end() || found == it->second.end()) {
        log().engine_error("Attempt to disconnect a nonexistent connection from '" + object_text(tree) + "'. Signal: '" +
                           std::string(signal) + "', callable: '" + callable_text(callable) + "'.");
        return false;
    }
    if (--found->references > 0) {
        return false;  // connected more often than disconnected
    }
    // Out of the list before the last reference can run the extension's free_func.
    const SceneTree::Connection gone = std::move(*found);
    it->second.erase(found);
    return true;
}

size_t connection_count(const SceneTree* tree, std::string_view signal) {
    if (tree == nullptr) {
        return 0;
    }
    const auto it = tree->connections.find(signal);
    return it != tree->connections.end() ? it->second.size() : 0;
}

void emit_tree_signal(const char* signal, Node* node) {
    SceneTree* tree = scene_tree();
    if (tree == nullptr || tree->signals_blocked) {
        return;
    }
    const auto it = tree->connections.find(std::string_view(signal));
    if (it == tree->connections.end() || it->second.empty()) {
        return;
    }
    // Copies: what a callee connects, disconnects or frees does not change
    // who this emission calls.
    struct Slot {
        Callable callable;
        uint32_t flags;
    };
    std::vector<Slot> slots;
    slots.reserve(it->second.size());
    for (const SceneTree::Connection& c : it->second) {
        slots.push_back({c.callable, c.flags});
    }
    // One-shot connections go before anyone is called, so none runs twice.
    for (const Slot& s : slots) {
        if ((s.flags & kConnectOneShot) != 0) {
            disconnect_signal(tree, signal, s.callable.ptr());
        }
    }
    const Variant arg(static_cast<Object*>(node));
    const void* args[1] = {arg.raw()};
    for (const Slot& s : slots) {
        if (!callable_is_valid(s.callable.ptr())) {
            continue;  // its target may have been freed by an earlier callee
        }
        VariantData ret;
        var_nil(&ret);
        GDExtensionCallError error{};
        ++counters().signal_calls;
        callable_call(s.callable.ptr(), args, 1, &ret, &error);
        var_destroy(&ret);
        if (error.error != GDEXTENSION_CALL_OK) {
            log().engine_error(std::string("Error calling from signal '") + signal + "' to callable: " +
                               call_error_text(s.callable.ptr(), args, 1, error) + ".");
        }
    }
}

void drop_connections_of(Object* o) {
    std::vector<SceneTree::Connection> gone;
    if (o->kind == Kind::scene_tree) {
        for (auto& [name, list] : static_cast<SceneTree*>(o)->connections) {
            for (SceneTree::Connection& c : list) {
                gone.push_back(std::move(c));
            }
        }
        static_cast<SceneTree*>(o)->connections.clear();
    }
    SceneTree* tree = scene_tree();
    if (tree != nullptr && tree != o) {
        for (auto& [name, list] : tree->connections) {
            for (auto c = list.begin(); c != list.end();) {
                if (callable_object(c->callable.ptr()) == o) {
                    gone.push_back(std::move(*c));
                    c = list.erase(c);
                } else {
                    ++c;
                }
            }
        }
        // The engine undoes them in the order they were made.
        std::sort(gone.begin(), gone.end(), [](const SceneTree::Connection& a, const SceneTree::Connection& b) {
            return a.sequence < b.sequence;
        });
    }
    // Released here, out of every list: a free_func may call back in.
    while (!gone.empty()) {
        gone.pop_back();
    }
}

void object_variant_call(const void* self, std::string_view method, const void* const* args, int64_t count,
                         VariantData* ret, GDExtensionCallError& error) {
    error = {GDEXTENSION_CALL_OK, 0, 0};
    if (var_type(self) != GDEXTENSION_VARIANT_TYPE_OBJECT) {
        log().engine_error("variant_call of '" + std::string(method) + "' on a " + type_name(var_type(self)) +
                           " is not modelled by the stand-in host.");
        error = {GDEXTENSION_CALL_ERROR_INVALID_METHOD, 0, 0};
        return;
    }
    Object* o = var_to_object(self);
    if (o == nullptr) {
        // A null object is the engine's answer too; a freed one would crash it.
        if (var_object_id(self) != 0) {
            log().engine_error("variant_call of '" + std::string(method) + "' on a freed object.");
        }
        error = {GDEXTENSION_CALL_ERROR_INSTANCE_IS_NULL, 0, 0};
        return;
    }
    if (o->script_methods.find(method) != o->script_methods.end()) {
        object_callp(o, method, args, count, ret, &error);
        return;
    }
    if (method == "get_tree" && o->is_node()) {
        call_get_tree(static_cast<Node*>(o), count, ret, error);
        return;
    }
    if (method == "get_tree") {
        error = {GDEXTENSION_CALL_ERROR_INVALID_METHOD, 0, 0};  // no such method on this class
        return;
    }
    if (method == "connect" && o->kind == Kind::scene_tree) {
        call_connect(static_cast<SceneTree*>(o), args, count, ret, error);
        return;
    }
    // Any other bound method of the object's class, as Object::callp finds it.
    if (const EngineBind* b = engine_bind_named(o->class_info(), method)) {
        engine_bind_call(b, o, args, count, ret, &error);
        return;
    }
    log().engine_error("variant_call of '" + std::string(method) + "' on a " + o->class_info()->name +
                       " is not modelled by the stand-in host.");
    error = {GDEXTENSION_CALL_ERROR_INVALID_METHOD, 0, 0};
}

}  // namespace stand_in
