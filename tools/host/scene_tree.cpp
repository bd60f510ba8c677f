#include "host/scene_tree.h"

#include <algorithm>
#include <string>
#include <vector>

#include "host/class_db.h"
#include "host/log.h"

namespace whost {

namespace {

Viewport* g_root = nullptr;
std::vector<uint64_t> g_deletion_queue;
uint64_t g_name_serial = 0;

bool is_ancestor(const Node* ancestor, const Node* node) {
    for (const Node* p = node->parent; p != nullptr; p = p->parent) {
        if (p == ancestor) {
            return true;
        }
    }
    return false;
}

Node* child_named(const Node* parent, std::string_view name) {
    for (Node* c : parent->children) {
        if (c->name == name) {
            return c;
        }
    }
    return nullptr;
}

std::string unique_name(const Node* parent, const Node* child, std::string base) {
    if (base.empty()) {
        base = "@" + child->class_info()->name + "@" + std::to_string(++g_name_serial);
    }
    std::string name = base;
    for (int n = 2; child_named(parent, name) != nullptr && child_named(parent, name) != child; ++n) {
        name = base + std::to_string(n);
    }
    return name;
}

void enter_tree(Node* node, Viewport* viewport) {
    node->inside_tree = true;
    node->viewport = node->kind == Kind::viewport ? static_cast<Viewport*>(node) : viewport;
    const uint64_t id = node->id;
    call_virtual(node, "_enter_tree", virtual_hash::kNoArgs, nullptr, nullptr);
    if (object_by_id(id) != node) {
        return;  // freed by its own callback
    }
    const std::vector<Node*> children = node->children;
    std::vector<uint64_t> ids;
    for (Node* c : children) {
        ids.push_back(c->id);
    }
    for (uint64_t cid : ids) {
        if (Node* c = as_node(object_by_id(cid)); c != nullptr && c->parent == node) {
            enter_tree(c, node->viewport);
        }
    }
}

void exit_tree(Node* node) {
    for (Node* c : node->children) {
        exit_tree(c);
    }
    if (node->inside_tree) {
        call_virtual(node, "_exit_tree", virtual_hash::kNoArgs, nullptr, nullptr);
    }
    node->inside_tree = false;
    node->viewport = nullptr;
}

// What Node's READY notification does: enable the processing its
// overrides ask for, then run _ready.
void notify_ready(Node* node) {
    node->ready_done = true;
    if (node->extension == nullptr) {
        return;
    }
    // Each is asked, as the engine asks them all.
    bool input = false;
    for (const char* name : {"_input", "_shortcut_input", "_unhandled_input", "_unhandled_key_input"}) {
        input = virtual_overridden(node, name, virtual_hash::kInputEvent) || input;
    }
    node->input_processing = input;
    node->processing = virtual_overridden(node, "_process", virtual_hash::kDelta);
    node->physics_processing = virtual_overridden(node, "_physics_process", virtual_hash::kDelta);
    call_virtual(node, "_ready", virtual_hash::kNoArgs, nullptr, nullptr);
}

void propagate_ready(uint64_t id) {
    Node* node = as_node(object_by_id(id));
    if (node == nullptr || !node->inside_tree) {
        return;
    }
    std::vector<uint64_t> ids;
    for (Node* c : node->children) {
        ids.push_back(c->id);
    }
    for (uint64_t cid : ids) {
        propagate_ready(cid);
    }
    node = as_node(object_by_id(id));
    if (node != nullptr && node->inside_tree && !node->ready_done) {
        notify_ready(node);
    }
}

void collect_physics(Node* node, std::vector<uint64_t>& out) {
    if (node->physics_processing) {
        out.push_back(node->id);
    }
    for (Node* c : node->children) {
        collect_physics(c, out);
    }
}

}  // namespace

Viewport* scene_root() { return g_root; }

void create_scene_root() {
    if (g_root != nullptr) {
        return;
    }
    g_root = static_cast<Viewport*>(new_engine_object(engine_class("Viewport"), true));
    g_root->name = "root";
    g_root->visible_rect = Rect2{{0.0f, 0.0f}, {1152.0f, 648.0f}};
    g_root->inside_tree = true;
    g_root->ready_done = true;
    g_root->viewport = g_root;
}

void destroy_scene_root() {
    g_deletion_queue.clear();
    if (g_root != nullptr) {
        Viewport* root = g_root;
        g_root = nullptr;
        destroy_object(root);
    }
}

bool add_child(Node* parent, Node* child) {
    if (parent == nullptr || child == nullptr) {
        log().engine_error("Node::add_child: Parameter \"p_child\" is null.");
        return false;
    }
    if (child == parent) {
        log().engine_error("Can't add child '" + child->name + "' to itself.");
        return false;
    }
    if (child->parent != nullptr) {
        log().engine_error("Can't add child '" + child->name + "' to '" + parent->name + "', already has a parent.");
        return false;
    }
    if (is_ancestor(child, parent)) {
        log().engine_error("Can't add child '" + child->name + "' to '" + parent->name + "' as it would result in a cyclic dependency.");
        return false;
    }
    child->name = unique_name(parent, child, child->name);
    child->parent = parent;
    parent->children.push_back(child);
    if (parent->inside_tree) {
        const uint64_t id = child->id;
        enter_tree(child, parent->viewport);
        propagate_ready(id);
    }
    return true;
}

bool remove_child(Node* parent, Node* child) {
    if (parent == nullptr || child == nullptr || child->parent != parent) {
        log().engine_error("Cannot remove child node as it is not a child of this node.");
        return false;
    }
    if (child->inside_tree) {
        exit_tree(child);
    }
    auto& siblings = parent->children;
    siblings.erase(std::find(siblings.begin(), siblings.end(), child));
    child->parent = nullptr;
    return true;
}

void set_node_name(Node* node, std::string_view name) {
    if (node == nullptr) {
        return;
    }
    node->name = node->parent != nullptr ? unique_name(node->parent, node, std::string(name)) : std::string(name);
}

Node* find_node(Node* from, std::string_view path) {
    if (from == nullptr) {
        return nullptr;
    }
    Node* current = from;
    if (!path.empty() && path.front() == '/') {
        if (!from->inside_tree) {
            log().engine_error("Can't use get_node() with absolute paths from outside the active scene tree.");
            return nullptr;
        }
        current = nullptr;  // the first name must be the root's
        path.remove_prefix(1);
    }
    while (!path.empty()) {
        const size_t slash = path.find('/');
        std::string_view part = path.substr(0, slash);
        path = slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
        if (part.empty() || part == ".") {
            continue;
        }
        if (current == nullptr) {
            current = part == g_root->name ? g_root : nullptr;
        } else if (part == "..") {
            current = current->parent;
        } else {
            current = child_named(current, part);
        }
        if (current == nullptr) {
            return nullptr;
        }
    }
    return current;
}

Transform2D global_transform(Node2D* node) {
    const Transform2D local = Transform2D::from(node->position, node->rotation, node->scale);
    if (!node->inside_tree) {
        log().engine_error("CanvasItem::get_global_transform: Condition \"!is_inside_tree()\" is true. Returning: get_transform()");
        return local;
    }
    Node2D* parent = as_node2d(node->parent);
    return parent != nullptr ? global_transform(parent) * local : local;
}

void set_global_position(Node2D* node, Vector2 position) {
    Node2D* parent = as_node2d(node->parent);
    node->position = parent != nullptr ? global_transform(parent).affine_inverse().xform(position) : position;
}

void physics_frame(double delta) {
    std::vector<uint64_t> ids;
    if (g_root != nullptr) {
        collect_physics(g_root, ids);
    }
    for (uint64_t id : ids) {
        Node* node = as_node(object_by_id(id));
        if (node == nullptr || !node->inside_tree || !node->physics_processing) {
            continue;  // freed or removed earlier in this frame
        }
        const double arg = delta;
        const GDExtensionConstTypePtr args[1] = {&arg};
        call_virtual(node, "_physics_process", virtual_hash::kDelta, args, nullptr);
    }
    flush_deletion_queue();
}

void queue_free(Node* node) {
    if (node == nullptr || node->queued_for_deletion) {
        return;
    }
    node->queued_for_deletion = true;
    g_deletion_queue.push_back(node->id);
}

void flush_deletion_queue() {
    std::vector<uint64_t> queue;
    queue.swap(g_deletion_queue);
    for (uint64_t id : queue) {
        if (Object* o = object_by_id(id)) {
            destroy_object(o);
        }
    }
}

}  // namespace whost
