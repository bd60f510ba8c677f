#include "host/engine.h"

#include <cstdlib>

#include "host/array.h"
#include "host/singletons.h"
#include "host/strings.h"

namespace whost {

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
    log().clear();
    log().set_echo(options.echo_errors);
    counters().reset();
    script_call_log().clear();
    set_script_call_log(false);
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
    Node* n = static_cast<Node*>(whost::instantiate("Node", true));
    n->name = std::string(name);
    return n;
}

Node2D* Engine::make_node2d(std::string_view name, Vector2 position) {
    Node2D* n = static_cast<Node2D*>(whost::instantiate("Node2D", true));
    n->name = std::string(name);
    n->position = position;
    return n;
}

void Engine::set_script_method(Object* o, const std::string& name, ScriptFn fn) {
    o->script_methods[name] = std::make_shared<ScriptFn>(std::move(fn));
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

Engine::Leaks Engine::shutdown() {
    Leaks leaks;
    if (shut_down_) {
        return leaks;
    }
    shut_down_ = true;
    destroy_scene_root();
    flush_deletion_queue();
    // Objects outside the tree, except the singleton, go before the library.
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
    return leaks;
}

}  // namespace whost
