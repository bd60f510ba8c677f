// The engine objects the host models: Object, Node, Node2D, Viewport, the
// SceneTree and the Engine singleton, with an object database of instance
// ids. An object found by id is live; a freed object's id finds nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "gdextension/gde_abi.h"
#include "stand_in/callable.h"
#include "stand_in/value_types.h"
#include "stand_in/variant.h"

namespace stand_in {

struct ExtensionClass;
struct Object;

// One engine class: native ones are fixed, extension ones are registered.
struct ClassInfo {
    std::string name;
    const ClassInfo* parent = nullptr;
    const ExtensionClass* extension = nullptr;  // null for engine classes
    // The class tag classdb_get_class_tag hands out: the nearest engine
    // class's own record, as extension classes share their parent's.
    const ClassInfo* tag() const;
};

bool inherits(const ClassInfo* cls, const ClassInfo* base);
// Object, Node, CanvasItem, Node2D, Viewport, MainLoop, SceneTree, Engine;
// null otherwise.
const ClassInfo* engine_class(std::string_view name);

// A script method on a game node: what Object.call runs.
using ScriptFn = std::function<Variant(Object& self)>;

struct InstanceBinding {
    void* token;
    void* binding;
    GDExtensionInstanceBindingCallbacks callbacks;
};

enum class Kind : uint8_t { object, node, node2d, viewport, scene_tree, engine };

struct Object {
    explicit Object(Kind k, const ClassInfo* cls);
    virtual ~Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    uint64_t id = 0;
    Kind kind;
    const ClassInfo* native;  // the engine class of the object itself
    const ExtensionClass* extension = nullptr;
    void* extension_instance = nullptr;
    bool postinitialized = false;
    uint32_t notifications_received = 0;

    // Looked up by string_view without building a string.
    struct NameHash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    template <typename V>
    using NameMap = std::unordered_map<std::string, V, NameHash, std::equal_to<>>;
    NameMap<std::shared_ptr<ScriptFn>> script_methods;
    // Arguments a script method declares (none when absent): a call with
    // fewer fails before it runs, as a script function's does.
    NameMap<int> script_arity;
    NameMap<uint64_t> script_calls;
    // The engine's per-object virtual cache: looked up once, then reused.
    struct VirtualSlot {
        std::string name;
        void* function = nullptr;
    };
    std::vector<VirtualSlot> virtuals;
    std::vector<InstanceBinding> bindings;

    const ClassInfo* class_info() const;
    bool is_class(std::string_view name) const;
    bool is_node() const { return kind == Kind::node || kind == Kind::node2d || kind == Kind::viewport; }
};

struct Viewport;

struct Node : Object {
    explicit Node(Kind k = Kind::node, const ClassInfo* cls = engine_class("Node")) : Object(k, cls) {}
    std::string name;
    Node* parent = nullptr;
    std::vector<Node*> children;
    bool inside_tree = false;
    bool ready_done = false;
    bool processing = false;
    bool physics_processing = false;
    bool input_processing = false;
    bool queued_for_deletion = false;
    // Above zero while the node walks its children (entering, leaving, ready)
    // or is removing one: add_child and remove_child on it are refused then.
    int blocked = 0;
    Viewport* viewport = nullptr;
};

struct Node2D : Node {
    Node2D() : Node(Kind::node2d, engine_class("Node2D")) {}
    Vector2 position;
    float rotation = 0.0f;
    Vector2 scale{1.0f, 1.0f};
};

struct Viewport : Node {
    Viewport() : Node(Kind::viewport, engine_class("Viewport")) {}
    Rect2 visible_rect;
};

// The engine's SceneTree: one per engine, what get_tree of every node inside
// it answers. The only object with signals in the host.
struct SceneTree : Object {
    SceneTree() : Object(Kind::scene_tree, engine_class("SceneTree")) {}
    struct Connection {
        Callable callable;
        uint32_t flags = 0;
        int32_t references = 0;  // connects made with CONNECT_REFERENCE_COUNTED
        uint64_t sequence = 0;   // connect order across all signals
    };
    // Per signal, in connect order: the order an emission calls them.
    std::map<std::string, std::vector<Connection>, std::less<>> connections;
    uint64_t connects = 0;
    bool signals_blocked = false;  // Object::set_block_signals
};

struct EngineSingleton : Object {
    EngineSingleton() : Object(Kind::engine, engine_class("Engine")) {}
    bool editor_hint = false;
};

Node* as_node(Object* o);
Node2D* as_node2d(Object* o);
Viewport* as_viewport(Object* o);

// The object database.
Object* object_by_id(uint64_t id);
// Checks an object pointer an extension passed: live objects only.
bool object_is_live(const void* o);
void register_object(Object* o);
void unregister_object(Object* o);
size_t live_object_count();
std::vector<Object*> live_objects();

// Engine objects without an extension class, fully constructed (the
// post-initialize notification delivered unless asked not to).
Object* new_engine_object(const ClassInfo* cls, bool postinitialize);

}  // namespace stand_in
