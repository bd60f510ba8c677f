#include "fuzz_scene.h"

#include <cstdio>
#include <cstdlib>

namespace warfield::fuzz {

FuzzScene::FuzzScene() {
    viewport_.is_viewport = true;
    viewport_.is_node2d = false;
    nodes_.reserve(node_limit());
}

void FuzzScene::tick() {
    // A frame or query that keeps calling the host without end would never
    // return to the harness; stop it here rather than wait for a timeout.
    if (++host_calls_ > call_limit_) {
        std::fprintf(stderr, "warfield fuzz: more than %llu host calls in one operation\n",
                     static_cast<unsigned long long>(call_limit_));
        std::abort();
    }
}

void FuzzScene::fail(const std::string& what) {
    if (violation_.empty()) violation_ = what;
}

SceneNode* FuzzScene::make_node(bool is_node2d, bool in_tree) {
    auto node = std::make_unique<SceneNode>();
    const uint64_t serial = next_serial_++;
    // Every third id has its top bit set, as the engine's ids often do, so
    // that the full 64 bits must survive every store.
    node->instance_id = 0x100 + serial + (serial % 3 == 2 ? (uint64_t{1} << 63) : 0);
    node->is_node2d = is_node2d;
    node->in_tree = in_tree;
    SceneNode* raw = node.get();
    known_[raw] = nodes_.size();
    live_by_id_[raw->instance_id] = raw;
    nodes_.push_back(std::move(node));
    return raw;
}

SceneNode* FuzzScene::spawn(bool is_node2d, bool in_tree, uint8_t child_mask, uint8_t odd_children_mask) {
    constexpr std::size_t kChildren = static_cast<std::size_t>(ChildPath::count);
    if (nodes_.size() + 1 + kChildren > node_limit()) return nullptr;
    SceneNode* root = make_node(is_node2d, in_tree);
    for (std::size_t i = 0; i < kChildren; ++i) {
        if ((child_mask & (1u << i)) == 0) continue;
        const auto path = static_cast<ChildPath>(i);
        SceneNode* parent = root;
        if (path == ChildPath::projectile_sprite) {
            parent = root->children[static_cast<std::size_t>(ChildPath::projectile_body)];
            if (parent == nullptr) continue;
        }
        SceneNode* child = make_node((odd_children_mask & (1u << i)) == 0, in_tree);
        child->parent = parent;
        child->name = path;
        // The sprite is stored on the root under its full path and on the
        // body under the body-relative slot, so both lookups find it.
        root->children[i] = child;
        if (parent != root) parent->children[i] = child;
    }
    return root;
}

void FuzzScene::free_node(SceneNode& node) {
    if (node.freed || node.is_viewport) return;
    // Every child goes, also those no path reaches (renamed ones).
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
        SceneNode& other = *nodes_[i];
        if (!other.freed && other.parent == &node) free_node(other);
    }
    node.freed = true;
    node.in_tree = false;
    live_by_id_.erase(node.instance_id);
    // Detach from every node that names it: its parent and, for the sprite,
    // the root that reaches it through the body.
    for (auto& other : nodes_) {
        for (SceneNode*& child : other->children) {
            if (child == &node) child = nullptr;
        }
    }
    node.children.fill(nullptr);
}

void FuzzScene::unlink(SceneNode& root, ChildPath path) {
    constexpr auto body = static_cast<std::size_t>(ChildPath::projectile_body);
    constexpr auto sprite = static_cast<std::size_t>(ChildPath::projectile_sprite);
    const auto i = static_cast<std::size_t>(path);
    SceneNode* child = root.children[i];
    if (child == nullptr) return;
    root.children[i] = nullptr;
    // The sprite's path runs through the body.
    if (i == body) root.children[sprite] = nullptr;
    if (i == sprite && child->parent != nullptr) child->parent->children[sprite] = nullptr;
}

void FuzzScene::set_in_tree(SceneNode& node, bool in) {
    if (node.freed || node.is_viewport) return;
    if (node.parent == nullptr) {
        node.in_tree = in;
        return;
    }
    if (in) return;
    // Removed from its parent: no path below any node reaches it any more.
    for (auto& other : nodes_) {
        for (std::size_t i = 0; i < other->children.size(); ++i) {
            if (other->children[i] != &node) continue;
            other->children[i] = nullptr;
            // The sprite's path runs through the body.
            if (i == static_cast<std::size_t>(ChildPath::projectile_body)) {
                other->children[static_cast<std::size_t>(ChildPath::projectile_sprite)] = nullptr;
            }
        }
    }
    node.parent = nullptr;
    node.in_tree = false;
}

bool FuzzScene::in_tree(const SceneNode& node) const {
    const SceneNode* top = &node;
    while (top->parent != nullptr) top = top->parent;
    return top->in_tree;
}

void FuzzScene::rename_child(SceneNode& root, ChildPath path) {
    SceneNode* child = root.children[static_cast<std::size_t>(path)];
    if (child == nullptr || root.freed) return;
    unlink(root, path);
    child->name = ChildPath::count;
}

void FuzzScene::reparent_child(SceneNode& root, ChildPath path, SceneNode& new_root) {
    constexpr auto body = static_cast<std::size_t>(ChildPath::projectile_body);
    constexpr auto sprite = static_cast<std::size_t>(ChildPath::projectile_sprite);
    const auto i = static_cast<std::size_t>(path);
    SceneNode* child = root.children[i];
    if (child == nullptr || root.freed || new_root.freed || new_root.is_viewport || &new_root == &root ||
        new_root.children[i] != nullptr || child == &new_root) {
        return;
    }
    SceneNode* parent = &new_root;
    if (i == sprite) {
        parent = new_root.children[body];
        if (parent == nullptr || parent->children[sprite] != nullptr) return;
    }
    // A node cannot move below its own subtree.
    for (const SceneNode* up = parent; up != nullptr; up = up->parent) {
        if (up == child) return;
    }
    unlink(root, path);
    if (i == sprite) parent->children[sprite] = child;
    child->parent = parent;
    child->in_tree = new_root.in_tree;
    new_root.children[i] = child;
    if (i == body) {
        new_root.children[sprite] = child->children[sprite];
        if (child->children[sprite] != nullptr) child->children[sprite]->in_tree = new_root.in_tree;
    }
}

void FuzzScene::replace_child(SceneNode& root, ChildPath path) {
    const auto i = static_cast<std::size_t>(path);
    SceneNode* child = root.children[i];
    if (child == nullptr || root.freed || nodes_.size() >= node_limit()) return;
    SceneNode* parent = child->parent;
    const bool node2d = child->is_node2d;
    const bool in_tree = child->in_tree;
    free_node(*child);
    SceneNode* fresh = make_node(node2d, in_tree);
    fresh->parent = parent;
    fresh->name = path;
    fresh->position = {1.0f, 2.0f};  // unlike the old one, so a stale handle would show
    root.children[i] = fresh;
    if (path == ChildPath::projectile_sprite && parent != nullptr) parent->children[i] = fresh;
}

SceneNode* FuzzScene::find_live(uint64_t instance_id) const {
    const auto it = live_by_id_.find(instance_id);
    return it == live_by_id_.end() ? nullptr : it->second;
}

Vector2 FuzzScene::global_position_of(const SceneNode& node) const {
    Vector2 p = node.position;
    for (const SceneNode* up = node.parent; up != nullptr; up = up->parent) {
        p.x += up->position.x;
        p.y += up->position.y;
    }
    return p;
}

SceneNode* FuzzScene::object(ObjectHandle handle, const char* operation) {
    auto* node = static_cast<SceneNode*>(handle);
    if (handle == nullptr) {
        fail(std::string(operation) + " on a null object");
        return nullptr;
    }
    if (node == &viewport_) return node;
    if (known_.find(node) == known_.end()) {
        fail(std::string(operation) + " on a handle the host never gave out");
        return nullptr;
    }
    if (node->freed) {
        fail(std::string(operation) + " on freed node " + std::to_string(node->instance_id));
        return nullptr;
    }
    return node;
}

SceneNode* FuzzScene::node2d(ObjectHandle handle, const char* operation) {
    SceneNode* node = object(handle, operation);
    if (node != nullptr && !node->is_node2d) {
        fail(std::string(operation) + " on an object that is not a Node2D");
        return nullptr;
    }
    return node;
}

SceneNode* FuzzScene::writable(ObjectHandle handle, const char* operation) {
    SceneNode* node = node2d(handle, operation);
    if (node == nullptr || !check_writes_) return node;
    // A projectile's node may itself be a child (scripts register any node).
    bool owned = false;
    for (const SceneNode* up = node; up != nullptr && !owned; up = up->parent) {
        owned = movable_roots_.count(up->instance_id) != 0;
    }
    if (!owned) {
        fail(std::string(operation) + " on node " + std::to_string(node->instance_id) +
             ", which belongs to no projectile in flight");
        return nullptr;
    }
    return node;
}

bool FuzzScene::is_editor_hint() {
    tick();
    return editor_;
}

ObjectHandle FuzzScene::get_viewport() {
    tick();
    return has_viewport_ ? &viewport_ : nullptr;
}

Rect2 FuzzScene::get_visible_rect(ObjectHandle viewport) {
    tick();
    if (viewport != &viewport_) {
        fail("get_visible_rect on an object that is not the viewport");
        return {};
    }
    return visible_rect_;
}

ObjectHandle FuzzScene::object_from_instance_id(uint64_t instance_id) {
    tick();
    return find_live(instance_id);
}

ObjectHandle FuzzScene::cast_to_node2d(ObjectHandle handle) {
    tick();
    SceneNode* node = object(handle, "cast_to_node2d");
    return node != nullptr && node->is_node2d ? node : nullptr;
}

bool FuzzScene::is_inside_tree(ObjectHandle handle) {
    tick();
    SceneNode* node = object(handle, "is_inside_tree");
    return node != nullptr && in_tree(*node);
}

ObjectHandle FuzzScene::get_node_or_null(ObjectHandle handle, ChildPath path) {
    tick();
    SceneNode* node = object(handle, "get_node_or_null");
    if (node == nullptr) return nullptr;
    const auto i = static_cast<std::size_t>(path);
    if (i >= node->children.size()) {
        fail("get_node_or_null with a path outside ChildPath");
        return nullptr;
    }
    // The sprite's path runs through the body: without the body it is gone.
    if (path == ChildPath::projectile_sprite &&
        node->children[static_cast<std::size_t>(ChildPath::projectile_body)] == nullptr) {
        return nullptr;
    }
    return node->children[i];
}

uint64_t FuzzScene::get_instance_id(ObjectHandle handle) {
    tick();
    SceneNode* node = object(handle, "get_instance_id");
    return node != nullptr ? node->instance_id : 0;
}

ObjectHandle FuzzScene::get_parent(ObjectHandle handle) {
    tick();
    SceneNode* node = object(handle, "get_parent");
    return node != nullptr ? node->parent : nullptr;
}

bool FuzzScene::has_name(ObjectHandle handle, ChildPath path) {
    tick();
    SceneNode* node = object(handle, "has_name");
    return node != nullptr && node->name == path;
}

Vector2 FuzzScene::get_global_position(ObjectHandle handle) {
    tick();
    SceneNode* node = node2d(handle, "get_global_position");
    return node != nullptr ? global_position_of(*node) : Vector2{};
}

void FuzzScene::set_global_position(ObjectHandle handle, Vector2 p) {
    tick();
    SceneNode* node = writable(handle, "set_global_position");
    if (node == nullptr) return;
    const Vector2 base = node->parent != nullptr ? global_position_of(*node->parent) : Vector2{};
    if (base.x != 0.0f || base.y != 0.0f) moved_under_offset_parent_ = true;
    node->position = {p.x - base.x, p.y - base.y};
}

Vector2 FuzzScene::get_position(ObjectHandle handle) {
    tick();
    SceneNode* node = node2d(handle, "get_position");
    return node != nullptr ? node->position : Vector2{};
}

void FuzzScene::set_position(ObjectHandle handle, Vector2 p) {
    tick();
    if (SceneNode* node = writable(handle, "set_position")) node->position = p;
}

float FuzzScene::get_rotation(ObjectHandle handle) {
    tick();
    SceneNode* node = node2d(handle, "get_rotation");
    return node != nullptr ? node->rotation : 0.0f;
}

void FuzzScene::set_rotation(ObjectHandle handle, float radians) {
    tick();
    if (SceneNode* node = writable(handle, "set_rotation")) node->rotation = radians;
}

void FuzzScene::set_scale(ObjectHandle handle, Vector2 s) {
    tick();
    if (SceneNode* node = writable(handle, "set_scale")) node->scale = s;
}

void FuzzScene::call(ObjectHandle handle, ScriptMethod method) {
    tick();
    SceneNode* node = object(handle, "call");
    if (node != nullptr && handler_ != nullptr) handler_->on_script_call(*node, method);
}

bool FuzzScene::call_bool(ObjectHandle handle, ScriptMethod method) {
    tick();
    SceneNode* node = object(handle, "call_bool");
    return node != nullptr && handler_ != nullptr && handler_->on_script_call(*node, method);
}

}  // namespace warfield::fuzz
