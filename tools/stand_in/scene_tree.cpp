#include "stand_in/scene_tree.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "stand_in/class_db.h"
#include "stand_in/log.h"
#include "stand_in/signals.h"

namespace stand_in {

namespace {

Viewport* g_root = nullptr;
SceneTree* g_tree = nullptr;
std::vector<uint64_t> g_deletion_queue;
// The engine's counter for "@Class@N" names: starts at 1, bumped before use.
uint64_t g_name_serial = 1;

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

// Whether a child other than `child` has the name.
bool name_taken(const Node* parent, const Node* child, std::string_view name) {
    for (const Node* c : parent->children) {
        if (c != child && c->name == name) {
            return true;
        }
    }
    return false;
}

// String::validate_node_name: characters a path would misread become '_'.
std::string valid_node_name(std::string_view name) {
    std::string out(name);
    for (char& c : out) {
        if (c == '.' || c == ':' || c == '@' || c == '/' || c == '"' || c == '%') {
            c = '_';
        }
    }
    return out;
}

// The digits as a number plus one, keeping their width ("09" -> "10").
std::string increased(std::string digits) {
    for (size_t i = digits.size(); i-- > 0;) {
        if (digits[i] != '9') {
            ++digits[i];
            return digits;
        }
        digits[i] = '0';
    }
    return "1" + digits;
}

// Node::_generate_serial_child_name, with the default empty separator: a
// taken name gets its trailing number raised, or 2 if it had none.
std::string readable_name(const Node* parent, const Node* child, std::string name) {
    if (name.empty()) {
        name = child->class_info()->name;
    }
    if (!name_taken(parent, child, name)) {
        return name;
    }
    size_t digits = name.size();
    while (digits > 0 && name[digits - 1] >= '0' && name[digits - 1] <= '9') {
        --digits;
    }
    std::string base = name.substr(0, digits);
    std::string number = name.substr(digits);
    for (;;) {
        const std::string attempt = base + number;
        if (!name_taken(parent, child, attempt)) {
            return attempt;
        }
        number = number.empty() ? std::string("2") : increased(number);
    }
}

// Node::_validate_child_name.
void validate_child_name(const Node* parent, Node* child, bool force_readable) {
    if (force_readable) {
        child->name = readable_name(parent, child, child->name);
    } else if (child->name.empty() || name_taken(parent, child, child->name)) {
        child->name = "@" + child->class_info()->name + "@" + std::to_string(++g_name_serial);
    }
}

std::vector<uint64_t> child_ids(const Node* node) {
    std::vector<uint64_t> ids;
    ids.reserve(node->children.size());
    for (const Node* c : node->children) {
        ids.push_back(c->id);
    }
    return ids;
}

bool alive(const Node* node, uint64_t id) { return object_by_id(id) == node; }

// Node::_propagate_enter_tree: the node first (_enter_tree, then node_added),
// then its children in order. A callback may free any of them.
void enter_tree(Node* node, Viewport* viewport) {
    node->inside_tree = true;
    node->viewport = node->kind == Kind::viewport ? static_cast<Viewport*>(node) : viewport;
    const uint64_t id = node->id;
    call_virtual(node, "_enter_tree", virtual_hash::kNoArgs, nullptr, nullptr);
    if (!alive(node, id)) {
        return;
    }
    emit_tree_signal(kNodeAdded, node);
    if (!alive(node, id) || !node->inside_tree) {
        return;
    }
    ++node->blocked;
    for (uint64_t cid : child_ids(node)) {
        Node* c = as_node(object_by_id(cid));
        if (c != nullptr && c->parent == node && !c->inside_tree && alive(node, id)) {
            enter_tree(c, node->viewport);
        }
    }
    if (alive(node, id)) {
        --node->blocked;
    }
}

// Node::_propagate_exit_tree: the children first, last child first, then
// the node (_exit_tree, then node_removed) while it is still inside the
// tree and still its parent's child.
void exit_tree(Node* node) {
    const uint64_t id = node->id;
    ++node->blocked;
    const std::vector<uint64_t> ids = child_ids(node);
    for (auto it = ids.rbegin(); it != ids.rend() && alive(node, id); ++it) {
        Node* c = as_node(object_by_id(*it));
        if (c != nullptr && c->parent == node && c->inside_tree) {
            exit_tree(c);
        }
    }
    if (!alive(node, id)) {
        return;
    }
    --node->blocked;
    if (!node->inside_tree) {
        return;
    }
    call_virtual(node, "_exit_tree", virtual_hash::kNoArgs, nullptr, nullptr);
    if (!alive(node, id)) {
        return;
    }
    emit_tree_signal(kNodeRemoved, node);
    if (!alive(node, id)) {
        return;
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
    ++node->blocked;
    for (uint64_t cid : child_ids(node)) {
        propagate_ready(cid);
    }
    node = as_node(object_by_id(id));
    if (node == nullptr) {
        return;
    }
    --node->blocked;
    if (node->inside_tree && !node->ready_done) {
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

SceneTree* scene_tree() { return g_tree; }

void create_scene_root() {
    if (g_tree == nullptr) {
        g_tree = new SceneTree();
        register_object(g_tree);
        g_tree->postinitialized = true;
    }
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
    flush_deletion_queue();
    if (g_root != nullptr) {
        Viewport* root = g_root;
        const uint64_t id = root->id;
        if (root->inside_tree) {
            exit_tree(root);
        }
        g_root = nullptr;
        if (object_by_id(id) == root) {
            destroy_object(root);
        }
        // What freeing the tree queued.
        flush_deletion_queue();
    }
    if (g_tree != nullptr) {
        SceneTree* tree = g_tree;
        g_tree = nullptr;
        destroy_object(tree);
    }
}

bool add_child(Node* parent, Node* child, bool force_readable_name) {
    if (parent == nullptr || child == nullptr) {
        log().engine_error("Node::add_child: Parameter \"p_child\" is null.");
        return false;
    }
    if (child == parent) {
        log().engine_error("Can't add child '" + child->name + "' to itself.");
        return false;
    }
    if (child->parent != nullptr) {
        log().engine_error("Can't add child '" + child->name + "' to '" + parent->name + "', already has a parent '" +
                           child->parent->name + "'.");
        return false;
    }
    if (is_ancestor(child, parent)) {
        log().engine_error("Can't add child '" + child->name + "' to '" + parent->name +
                           "' as it would result in a cyclic dependency since '" + child->name +
                           "' is already a parent of '" + parent->name + "'.");
        return false;
    }
    if (parent->blocked > 0) {
        log().engine_error("Parent node is busy setting up children, `add_child()` failed. Consider using "
                           "`add_child.call_deferred(child)` instead.");
        return false;
    }
    validate_child_name(parent, child, force_readable_name);
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
    if (parent == nullptr || child == nullptr) {
        log().engine_error("Node::remove_child: Parameter \"p_child\" is null.");
        return false;
    }
    if (parent->blocked > 0) {
        log().engine_error("Parent node is busy adding/removing children, `remove_child()` can't be called at this "
                           "time. Consider using `remove_child.call_deferred(child)` instead.");
        return false;
    }
    if (child->parent != parent) {
        log().engine_error("Cannot remove child node as it is not a child of this node.");
        return false;
    }
    const uint64_t pid = parent->id;
    const uint64_t cid = child->id;
    if (child->inside_tree) {
        ++parent->blocked;
        exit_tree(child);
        if (!alive(parent, pid)) {
            return true;
        }
        --parent->blocked;
    }
    // A callback that freed the child has already detached it.
    if (alive(child, cid) && child->parent == parent) {
        auto& siblings = parent->children;
        siblings.erase(std::find(siblings.begin(), siblings.end(), child));
        child->parent = nullptr;
    }
    return true;
}

bool reparent(Node* node, Node* new_parent, bool keep_global_transform) {
    if (node == nullptr || new_parent == nullptr) {
        log().engine_error("Node::reparent: Parameter \"p_parent\" is null.");
        return false;
    }
    if (node->parent == nullptr) {
        log().engine_error("Node needs a parent to be reparented.");
        return false;
    }
    if (new_parent == node) {
        log().engine_error("Can't reparent '" + node->name + "' to itself.");
        return false;
    }
    if (new_parent == node->parent) {
        return true;
    }
    // Node2D::reparent keeps where the node is on screen.
    Node2D* n2d = keep_global_transform ? as_node2d(node) : nullptr;
    const Transform2D kept = n2d != nullptr ? global_transform(n2d) : Transform2D{};
    if (!remove_child(node->parent, node) || !add_child(new_parent, node)) {
        return false;
    }
    if (n2d != nullptr) {
        set_global_transform(n2d, kept);
    }
    return true;
}

void set_node_name(Node* node, std::string_view name) {
    if (node == nullptr) {
        return;
    }
    if (name.empty()) {
        log().engine_error("Node::set_name: Condition \"p_name.is_empty()\" is true.");
        return;
    }
    node->name = valid_node_name(name);
    if (node->parent != nullptr) {
        node->name = readable_name(node->parent, node, node->name);
    }
    // Reported whether or not the name changed, as the engine does.
    if (node->inside_tree) {
        emit_tree_signal(kNodeRenamed, node);
    }
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

// Node2D::set_global_transform: relative to the parent, then split into
// position, rotation and scale as Node2D::set_transform does (no skew).
void set_global_transform(Node2D* node, const Transform2D& transform) {
    Node2D* parent = as_node2d(node->parent);
    const Transform2D local = parent != nullptr ? global_transform(parent).affine_inverse() * transform : transform;
    const float det = local.x.x * local.y.y - local.x.y * local.y.x;
    const float sign = det < 0.0f ? -1.0f : 1.0f;
    node->position = local.origin;
    node->rotation = std::atan2(local.x.y, local.x.x);
    node->scale = {std::hypot(local.x.x, local.x.y), sign * std::hypot(local.y.x, local.y.y)};
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

}  // namespace stand_in
