#include "fake_host.h"

#include <string_view>

namespace warfield::test {

const char* host_op_name(HostOp op) {
    switch (op) {
        case HostOp::is_editor_hint: return "is_editor_hint";
        case HostOp::get_viewport: return "get_viewport";
        case HostOp::get_visible_rect: return "get_visible_rect";
        case HostOp::object_from_instance_id: return "object_from_instance_id";
        case HostOp::cast_to_node2d: return "cast_to_node2d";
        case HostOp::is_inside_tree: return "is_inside_tree";
        case HostOp::get_node_or_null: return "get_node_or_null";
        case HostOp::get_instance_id: return "get_instance_id";
        case HostOp::get_parent: return "get_parent";
        case HostOp::has_name: return "has_name";
        case HostOp::get_global_position: return "get_global_position";
        case HostOp::set_global_position: return "set_global_position";
        case HostOp::get_position: return "get_position";
        case HostOp::set_position: return "set_position";
        case HostOp::get_rotation: return "get_rotation";
        case HostOp::set_rotation: return "set_rotation";
        case HostOp::set_scale: return "set_scale";
        case HostOp::call: return "call";
        case HostOp::call_bool: return "call_bool";
        case HostOp::count: break;
    }
    return "?";
}

FakeHost::FakeHost() { log_.reserve(1024); }

uint64_t FakeHost::add_node(bool node2d) {
    Node& n = nodes_.emplace_back();
    n.id = nodes_.size();
    n.name = "Node" + std::to_string(n.id);
    n.node2d = node2d;
    handles_.insert(&n);
    return n.id;
}

uint64_t FakeHost::add_child(uint64_t parent, const char* name, bool node2d) {
    const uint64_t id = add_node(node2d);
    Node& child = nodes_[id - 1];
    Node& p = node(parent);
    child.parent = &p;
    p.children.push_back(&child);
    rename(id, name);
    return id;
}

void FakeHost::rename(uint64_t id, const char* name) {
    Node& n = node(id);
    std::string unique = name;
    if (n.parent != nullptr) {
        // Sibling names are unique, as in the engine.
        for (int k = 2;; ++k) {
            bool taken = false;
            for (const Node* c : n.parent->children) taken = taken || (c != &n && c->name == unique);
            if (!taken) break;
            unique = std::string(name) + std::to_string(k);
        }
    }
    n.name = unique;
}

void FakeHost::reparent(uint64_t id, uint64_t new_parent) {
    Node& n = node(id);
    unlink_from_parent(n);
    n.parent = nullptr;
    if (new_parent == 0) {
        n.in_tree = false;
        return;
    }
    Node& p = node(new_parent);
    n.parent = &p;
    n.in_tree = true;
    p.children.push_back(&n);
    const std::string name = n.name;
    rename(id, name.c_str());
}

ProjectileScene FakeHost::add_projectile_scene(ChildParts parts) {
    ProjectileScene s;
    s.root = add_node();
    if (parts.body) {
        s.body = add_child(s.root, child_path_name(ChildPath::projectile_body));
        if (parts.sprite) s.sprite = add_child(s.body, "ProjectileSprite");
    }
    if (parts.shadow) s.shadow = add_child(s.root, child_path_name(ChildPath::shadow_sprite));
    if (parts.hit_box) s.hit_box = add_child(s.root, child_path_name(ChildPath::hit_box));
    return s;
}

void FakeHost::unlink_from_parent(Node& n) {
    if (n.parent == nullptr) return;
    auto& siblings = n.parent->children;
    for (std::size_t i = 0; i < siblings.size(); ++i) {
        if (siblings[i] == &n) {
            siblings.erase(siblings.begin() + static_cast<std::ptrdiff_t>(i));
            return;
        }
    }
}

void FakeHost::free_tree(Node& n) {
    n.freed = true;
    for (Node* c : n.children) free_tree(*c);
}

void FakeHost::free_node(uint64_t id) {
    Node& n = node(id);
    if (n.freed) return;
    free_tree(n);
    unlink_from_parent(n);
}

FakeHost::Node& FakeHost::node(uint64_t id) { return nodes_.at(id - 1); }

bool FakeHost::exists(uint64_t id) const { return lookup(id) != nullptr; }

FakeHost::Node* FakeHost::lookup(uint64_t id) {
    if (id == 0 || id > nodes_.size()) return nullptr;
    Node& n = nodes_[id - 1];
    return n.freed ? nullptr : &n;
}

const FakeHost::Node* FakeHost::lookup(uint64_t id) const {
    if (id == 0 || id > nodes_.size()) return nullptr;
    const Node& n = nodes_[id - 1];
    return n.freed ? nullptr : &n;
}

Vector2 FakeHost::global_of(const Node& n) {
    if (n.parent == nullptr) return n.position;
    const Vector2 p = global_of(*n.parent);
    return {p.x + n.position.x, p.y + n.position.y};
}

Vector2 FakeHost::global_position_of(uint64_t id) const { return global_of(nodes_.at(id - 1)); }

void FakeHost::place(uint64_t id, Vector2 g) {
    Node& n = node(id);
    const Vector2 p = n.parent != nullptr ? global_of(*n.parent) : Vector2{};
    n.position = {g.x - p.x, g.y - p.y};
}

bool FakeHost::in_tree(const Node& n) const {
    for (const Node* a = &n; a != nullptr; a = a->parent) {
        if (a->freed || !a->in_tree) return false;
    }
    return true;
}

void FakeHost::on(uint64_t id, ScriptMethod method, std::function<void()> fn) {
    node(id).methods[static_cast<std::size_t>(method)] =
        std::make_shared<const std::function<bool()>>([fn = std::move(fn)] {
            fn();
            return false;
        });
}

void FakeHost::on_bool(uint64_t id, ScriptMethod method, std::function<bool()> fn) {
    node(id).methods[static_cast<std::size_t>(method)] = std::make_shared<const std::function<bool()>>(std::move(fn));
}

void FakeHost::clear_log() {
    log_.clear();
    counts_.fill(0);
}

std::size_t FakeHost::total_calls() const {
    std::size_t n = 0;
    for (std::size_t c : counts_) n += c;
    return n;
}

std::vector<ScriptMethod> FakeHost::script_calls(uint64_t id) const {
    std::vector<ScriptMethod> out;
    for (const HostCall& c : log_) {
        if ((c.op == HostOp::call || c.op == HostOp::call_bool) && (id == 0 || c.node == id)) {
            out.push_back(c.method);
        }
    }
    return out;
}

std::size_t FakeHost::script_call_count(uint64_t id, ScriptMethod method) const {
    std::size_t n = 0;
    for (const HostCall& c : log_) {
        if ((c.op == HostOp::call || c.op == HostOp::call_bool) && c.node == id && c.method == method) ++n;
    }
    return n;
}

void FakeHost::record(HostOp op, const Node* n, ScriptMethod method, ChildPath path, Vector2 value) {
    ++counts_[static_cast<std::size_t>(op)];
    if (logging) log_.push_back({op, n != nullptr ? n->id : 0, method, path, value});
}

FakeHost::Node* FakeHost::touch(ObjectHandle handle, HostOp op) {
    if (handle == nullptr) {
        violations_.push_back(std::string(host_op_name(op)) + " on a null handle");
        return nullptr;
    }
    if (handles_.count(handle) == 0) {
        violations_.push_back(std::string(host_op_name(op)) + " on a handle that is no node");
        return nullptr;
    }
    Node* n = static_cast<Node*>(handle);
    if (n->freed) {
        violations_.push_back(std::string("use after free: ") + host_op_name(op) + " on node " +
                              std::to_string(n->id));
        return nullptr;
    }
    return n;
}

bool FakeHost::is_editor_hint() {
    record(HostOp::is_editor_hint, nullptr);
    return editor_hint;
}

ObjectHandle FakeHost::get_viewport() {
    record(HostOp::get_viewport, nullptr);
    return has_viewport ? static_cast<ObjectHandle>(&viewport_) : nullptr;
}

Rect2 FakeHost::get_visible_rect(ObjectHandle viewport) {
    record(HostOp::get_visible_rect, nullptr);
    if (viewport != &viewport_) violations_.push_back("get_visible_rect on something that is no viewport");
    return viewport_rect;
}

ObjectHandle FakeHost::object_from_instance_id(uint64_t instance_id) {
    Node* n = lookup(instance_id);
    record(HostOp::object_from_instance_id, n);
    return n;
}

ObjectHandle FakeHost::cast_to_node2d(ObjectHandle object) {
    Node* n = touch(object, HostOp::cast_to_node2d);
    record(HostOp::cast_to_node2d, n);
    return n != nullptr && n->node2d ? n : nullptr;
}

bool FakeHost::is_inside_tree(ObjectHandle node) {
    Node* n = touch(node, HostOp::is_inside_tree);
    record(HostOp::is_inside_tree, n);
    return n != nullptr && in_tree(*n);
}

ObjectHandle FakeHost::get_node_or_null(ObjectHandle node, ChildPath path) {
    Node* n = touch(node, HostOp::get_node_or_null);
    record(HostOp::get_node_or_null, n, ScriptMethod::count, path);
    if (n == nullptr) return nullptr;
    std::string_view rest = child_path_name(path);
    while (n != nullptr && !rest.empty()) {
        const std::size_t slash = rest.find('/');
        const std::string_view part = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view{} : rest.substr(slash + 1);
        Node* found = nullptr;
        for (Node* c : n->children) {
            if (!c->freed && c->name == part) {
                found = c;
                break;
            }
        }
        n = found;
    }
    return n;
}

uint64_t FakeHost::get_instance_id(ObjectHandle object) {
    Node* n = touch(object, HostOp::get_instance_id);
    record(HostOp::get_instance_id, n);
    return n != nullptr ? n->id : 0;
}

ObjectHandle FakeHost::get_parent(ObjectHandle node) {
    Node* n = touch(node, HostOp::get_parent);
    record(HostOp::get_parent, n);
    return n != nullptr ? n->parent : nullptr;
}

bool FakeHost::has_name(ObjectHandle node, ChildPath path) {
    Node* n = touch(node, HostOp::has_name);
    record(HostOp::has_name, n, ScriptMethod::count, path);
    return n != nullptr && n->name == child_name(path);
}

Vector2 FakeHost::get_global_position(ObjectHandle node2d) {
    Node* n = touch(node2d, HostOp::get_global_position);
    record(HostOp::get_global_position, n);
    return n != nullptr ? global_of(*n) : Vector2{};
}

void FakeHost::set_global_position(ObjectHandle node2d, Vector2 p) {
    Node* n = touch(node2d, HostOp::set_global_position);
    record(HostOp::set_global_position, n, ScriptMethod::count, ChildPath::count, p);
    if (n == nullptr) return;
    const Vector2 base = n->parent != nullptr ? global_of(*n->parent) : Vector2{};
    n->position = {p.x - base.x, p.y - base.y};
}

Vector2 FakeHost::get_position(ObjectHandle node2d) {
    Node* n = touch(node2d, HostOp::get_position);
    record(HostOp::get_position, n);
    return n != nullptr ? n->position : Vector2{};
}

void FakeHost::set_position(ObjectHandle node2d, Vector2 p) {
    Node* n = touch(node2d, HostOp::set_position);
    record(HostOp::set_position, n, ScriptMethod::count, ChildPath::count, p);
    if (n != nullptr) n->position = p;
}

float FakeHost::get_rotation(ObjectHandle node2d) {
    Node* n = touch(node2d, HostOp::get_rotation);
    record(HostOp::get_rotation, n);
    return n != nullptr ? n->rotation : 0.0f;
}

void FakeHost::set_rotation(ObjectHandle node2d, float radians) {
    Node* n = touch(node2d, HostOp::set_rotation);
    record(HostOp::set_rotation, n, ScriptMethod::count, ChildPath::count, {radians, 0.0f});
    if (n != nullptr) n->rotation = radians;
}

void FakeHost::set_scale(ObjectHandle node2d, Vector2 s) {
    Node* n = touch(node2d, HostOp::set_scale);
    record(HostOp::set_scale, n, ScriptMethod::count, ChildPath::count, s);
    if (n != nullptr) n->scale = s;
}

bool FakeHost::run(ObjectHandle object, ScriptMethod method, HostOp op) {
    Node* n = touch(object, op);
    record(op, n, method);
    if (n == nullptr || method == ScriptMethod::count) return false;
    // Held: the method may replace itself or free its node while it runs.
    const std::shared_ptr<const std::function<bool()>> fn = n->methods[static_cast<std::size_t>(method)];
    return fn != nullptr && *fn ? (*fn)() : false;
}

void FakeHost::call(ObjectHandle object, ScriptMethod method) { run(object, method, HostOp::call); }

bool FakeHost::call_bool(ObjectHandle object, ScriptMethod method) { return run(object, method, HostOp::call_bool); }

}  // namespace warfield::test
