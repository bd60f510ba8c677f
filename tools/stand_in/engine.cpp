#include "stand_in/engine.h"

#include <cstdlib>

#include "stand_in/array.h"
#include "stand_in/singletons.h"
#include "stand_in/strings.h"

namespace stand_in {

namespace {

Engine* g_engine = nullptr;

}  // namespace

Engine::Engine(Options options) {
    if (g_engine != nullptr) {
        log().engine_error("A second stand-in engine was started while one is running.");
        std::abort();
    }
    g_engine = this;
    HostConfig& c = config();
    c = HostConfig{};
    c.major = options.major;
    c.minor = options.minor;
    c.patch = options.patch;
    c.gate_by_version = options.gate_by_version;
    c.withheld = options.withheld;
    c.withheld_binds = options.withheld_binds;
    c.virtual_call_data = options.virtual_call_data;
    log().clear();
    log().set_echo(options.echo_errors);
    counters().reset();
    script_call_log().clear();
    set_script_call_log(false);
    class_db_calls().clear();
    editor_help_documents().clear();
    bind_requests().clear();
    create_singletons();
    create_scene_root();
}

Engine::~Engine() {
    shutdown();
    g_engine = nullptr;
}

bool Engine::load(const std::string& path, bool private_copy, GDExtensionInitializationLevel top) {
    if (!library_.open(path, private_copy)) {
        log().engine_error("Can't open GDExtension dynamic library: '" + path + "': " + library_.error());
        return false;
    }
    if (!library_.call_entry()) {
        return false;
    }
    library_.initialize(top);
    return true;
}

void Engine::set_editor_hint(bool editor) { engine_singleton()->editor_hint = editor; }

void Engine::set_visible_rect(Rect2 rect) { scene_root()->visible_rect = rect; }

Node* Engine::make_node(std::string_view name) {
    Node* n = static_cast<Node*>(stand_in::instantiate("Node", true));
    n->name = std::string(name);
    return n;
}

Node2D* Engine::make_node2d(std::string_view name, Vector2 position) {
    Node2D* n = static_cast<Node2D*>(stand_in::instantiate("Node2D", true));
    n->name = std::string(name);
    n->position = position;
    return n;
}

void Engine::set_script_method(Object* o, const std::string& name, ScriptFn fn, int arity) {
    o->script_methods[name] = std::make_shared<ScriptFn>(std::move(fn));
    o->script_arity[name] = arity;
}

uint64_t Engine::script_calls(const Object* o, std::string_view name) {
    const auto it = o->script_calls.find(name);
    return it != o->script_calls.end() ? it->second : 0;
}

CallResult Engine::call(Object* o, std::string_view method, std::initializer_list<Variant> args) {
    std::vector<const Variant*> ptrs;
    for (const Variant& a : args) {
        ptrs.push_back(&a);
    }
    return call_method(o, method, ptrs.data(), static_cast<int64_t>(ptrs.size()));
}

bool Engine::ptrcall(Object* o, std::string_view method, std::initializer_list<const void*> args, void* ret) {
    std::vector<const void*> ptrs(args);
    return ptrcall_method(o, method, ptrs.data(), ret);
}

void Engine::block_tree_signals(bool blocked) {
    if (SceneTree* t = scene_tree()) {
        t->signals_blocked = blocked;
    }
}

void Engine::disconnect_tree_signals() {
    SceneTree* t = scene_tree();
    if (t == nullptr) {
        return;
    }
    for (const char* signal : {kNodeAdded, kNodeRemoved, kNodeRenamed}) {
        // A connection made n times with CONNECT_REFERENCE_COUNTED takes n disconnects.
        while (connection_count(t, signal) > 0) {
            const Callable first(t->connections.find(std::string_view(signal))->second.front().callable);
            disconnect_signal(t, signal, first.ptr());
        }
    }
}

size_t Engine::tree_connections(std::string_view signal) { return connection_count(scene_tree(), signal); }

Engine::Leaks Engine::shutdown() {
    Leaks leaks;
    if (shut_down_) {
        return leaks;
    }
    shut_down_ = true;
    // The tree finalises and goes first, as the engine's main loop does.
    destroy_scene_root();
    flush_deletion_queue();
    // Objects outside the tree, except the singleton, go before the library
    // (the engine would leak them; freeing them lets a test see the rest).
    for (Object* o : live_objects()) {
        if (o->kind != Kind::engine && object_is_live(o)) {
            destroy_object(o);
        }
    }
    library_.close();
    destroy_singletons();
    reset_class_db();
    leaks.objects = live_object_count();
    const LiveTexts t = live_texts();
    leaks.strings = t.strings;
    leaks.names = t.names;
    leaks.paths = t.paths;
    leaks.arrays = live_arrays();
    leaks.callables = live_custom_callables();
    return leaks;
}

}  // namespace stand_in
