// The stand-in engine as tests, the demo and benchmarks drive it: one per
// process at a time. It loads the extension library, owns the scene tree and
// the Engine singleton, creates and frees objects, runs physics frames, and
// calls the extension's bound methods and virtuals the way Godot 4.5 does.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "stand_in/class_db.h"
#include "stand_in/config.h"
#include "stand_in/counters.h"
#include "stand_in/engine_binds.h"
#include "stand_in/loader.h"
#include "stand_in/log.h"
#include "stand_in/objects.h"
#include "stand_in/scene_tree.h"
#include "stand_in/signals.h"
#include "stand_in/variant.h"

namespace stand_in {

class Engine {
public:
    struct Options {
        uint32_t major = 4;
        uint32_t minor = 5;
        uint32_t patch = 0;
        bool gate_by_version = true;
        bool echo_errors = true;
        std::vector<std::string> withheld = {};  // functions it lacks, whatever its version
        std::vector<std::string> withheld_binds = {};  // "Class.method" it has no bind for
        bool virtual_call_data = true;           // false: virtuals through get_virtual2 alone
    };

    Engine() : Engine(Options{}) {}
    explicit Engine(Options options);
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;
    ~Engine();

    // Opens the library, calls its entry and, if it accepts, initializes
    // every level up to `top`. Returns the entry's answer.
    bool load(const std::string& path, bool private_copy = false,
              GDExtensionInitializationLevel top = GDEXTENSION_INITIALIZATION_EDITOR);
    Library& library() { return library_; }

    Viewport* root() const { return scene_root(); }
    SceneTree* tree() const { return scene_tree(); }
    void set_editor_hint(bool editor);
    void set_visible_rect(Rect2 rect);

    Node* make_node(std::string_view name = {});
    Node2D* make_node2d(std::string_view name = {}, Vector2 position = {});
    // ClassDB::instantiate (post-initialize notification asked for).
    Object* instantiate(std::string_view cls) { return stand_in::instantiate(cls, true); }
    void add_child(Node* parent, Node* child) { stand_in::add_child(parent, child); }
    void remove_child(Node* parent, Node* child) { stand_in::remove_child(parent, child); }
    void reparent(Node* node, Node* new_parent) { stand_in::reparent(node, new_parent); }
    void set_name(Node* node, std::string_view name) { set_node_name(node, name); }
    // Object.free(): at once, from anywhere (also inside a callback).
    void free(Object* o) { destroy_object(o); }
    // Node.queue_free(): at the end of the next physics frame.
    void queue_free(Node* node) { stand_in::queue_free(node); }
    void physics_frame(double delta) { stand_in::physics_frame(delta); }

    // A script method the object answers through Object.call; one declared
    // with `arity` arguments refuses calls that pass fewer.
    void set_script_method(Object* o, const std::string& name, ScriptFn fn, int arity = 0);
    static uint64_t script_calls(const Object* o, std::string_view name);

    // A bound method of the object's extension class, dynamic path.
    CallResult call(Object* o, std::string_view method, std::initializer_list<Variant> args = {});
    // The typed path: pointers to ptrcall-encoded arguments and result.
    bool ptrcall(Object* o, std::string_view method, std::initializer_list<const void*> args, void* ret);

    const ExtensionClass* extension_class(std::string_view name) const { return find_extension_class(name); }

    // The tree's signals, as a script can touch them: blocked (nothing is
    // emitted while they are, as with set_block_signals), every connection
    // to node_added, node_removed and node_renamed undone (as disconnect
    // does), and how many connections a signal has.
    void block_tree_signals(bool blocked);
    void disconnect_tree_signals();
    static size_t tree_connections(std::string_view signal);

    // Values and objects still alive once everything was freed and the
    // library closed: all zero unless something leaked.
    struct Leaks {
        uint64_t objects = 0;
        uint64_t strings = 0;
        uint64_t names = 0;
        uint64_t paths = 0;
        uint64_t arrays = 0;
        uint64_t callables = 0;  // custom callables whose free_func never ran
        bool none() const {
            return objects == 0 && strings == 0 && names == 0 && paths == 0 && arrays == 0 && callables == 0;
        }
    };
    Leaks shutdown();

private:
    Library library_;
    bool shut_down_ = false;
};

}  // namespace stand_in
