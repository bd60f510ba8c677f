// The fake scene itself: building, changing and inspecting it. The Host
// operations are in fake_host_calls.cpp.
#include "fake_host.h"

#include <stdexcept>

namespace warfield::test {

namespace {

ChildPath tag_of(const std::string& name) {
    for (std::size_t p = 0; p < static_cast<std::size_t>(ChildPath::count); ++p) {
        if (name == child_name(static_cast<ChildPath>(p))) return static_cast<ChildPath>(p);
    }
    return ChildPath::count;
}

}  // namespace

FakeHost::FakeHost(Options options) : observed_(options.observed), engine_ids_(options.engine_ids) {
    viewport_.node2d = false;
    log_.reserve(1024);
}

FakeHost::~FakeHost() {
    const std::vector<TreeWatcher*> watchers = std::move(watchers_);
    for (TreeWatcher* w : watchers) w->tree_gone();
}

uint64_t FakeHost::next_id() const {
    const uint64_t serial = nodes_.size();
    if (!engine_ids_) return serial + 1;
    return kFirstEngineId + serial + (serial % 3 == 2 ? kTopBit : 0);
}

FakeHost::Node* FakeHost::find_chosen(uint64_t id) const {
    const auto it = chosen_ids_.find(id);
    return it == chosen_ids_.end() ? nullptr : it->second;
}

FakeHost::Node& FakeHost::node(uint64_t id) {
    if (Node* n = find(id)) return *n;
    throw std::out_of_range("no node " + std::to_string(id));
}

const FakeHost::Node& FakeHost::node(uint64_t id) const { return const_cast<FakeHost&>(*this).node(id); }

FakeHost::Node& FakeHost::make_node(uint64_t id, bool node2d) {
    if (id == 0 || find(id) != nullptr) throw std::invalid_argument("node id taken: " + std::to_string(id));
    if (nodes_.size() % kChunk == 0) chunks_.push_back(std::make_unique<Node[]>(kChunk));
    Node& n = chunks_.back()[nodes_.size() % kChunk];
    n.serial = static_cast<uint32_t>(nodes_.size());
    nodes_.push_back(&n);
    family_.push_back({{}, "Node" + std::to_string(id)});
    n.id = id;
    n.node2d = node2d;
    handles_.insert(&n);
    return n;
}

uint64_t FakeHost::add_node(bool node2d) { return make_node(next_id(), node2d).id; }

uint64_t FakeHost::add_node_with_id(uint64_t id, bool node2d) {
    Node& n = make_node(id, node2d);
    chosen_ids_[id] = &n;
    return id;
}

uint64_t FakeHost::add_child(uint64_t parent, const char* name, bool node2d) {
    const uint64_t id = add_node(node2d);
    Node& child = node(id);
    Node& p = node(parent);
    child.parent = &p;
    family_[p.serial].children.push_back(&child);
    name_node(child, name);
    return id;
}

ProjectileScene FakeHost::add_projectile_scene(ChildParts parts) {
    ProjectileScene s;
    s.root = add_node();
    if (parts.body) {
        s.body = add_child(s.root, child_name(ChildPath::projectile_body));
        if (parts.sprite) s.sprite = add_child(s.body, child_name(ChildPath::projectile_sprite));
    }
    if (parts.shadow) s.shadow = add_child(s.root, child_name(ChildPath::shadow_sprite));
    if (parts.hit_box) s.hit_box = add_child(s.root, child_name(ChildPath::hit_box));
    return s;
}

void FakeHost::rename(uint64_t id, const char* wanted) {
    Node& n = node(id);
    name_node(n, wanted);
    if (in_tree(n)) report(n.id);
}

void FakeHost::report(uint64_t id) {
    if (signals_blocked_) {
        // Unheard: the node may go on using it, as the docs allow.
        unheard_.insert(id);
        return;
    }
    // Copied: a watcher may stop watching while it is told.
    const std::vector<TreeWatcher*> watchers = watchers_;
    for (TreeWatcher* w : watchers) w->node_changed(id);
}

void FakeHost::report_exit(const Node& n) {
    const std::vector<Node*> kids = children(n);
    for (auto it = kids.rbegin(); it != kids.rend(); ++it) report_exit(**it);
    report(n.id);
}

void FakeHost::set_in_tree(uint64_t id, bool in) {
    Node& n = node(id);
    if (n.freed || n.parent != nullptr || n.in_tree == in) return;
    if (!in) report_exit(n);
    n.in_tree = in;
}

void FakeHost::name_node(Node& n, const char* wanted) {
    std::string unique = wanted;
    if (n.parent != nullptr) {
        // Sibling names are unique, as in the engine.
        for (int k = 2;; ++k) {
            bool taken = false;
            for (const Node* c : children(*n.parent)) taken = taken || (c != &n && name(*c) == unique);
            if (!taken) break;
            unique = std::string(wanted) + std::to_string(k);
        }
    }
    family_[n.serial].name = unique;
    n.tag = tag_of(unique);
}

void FakeHost::reparent(uint64_t id, uint64_t new_parent) {
    Node& n = node(id);
    Node* p = new_parent == 0 ? nullptr : &node(new_parent);
    for (const Node* up = p; up != nullptr; up = up->parent) {
        if (up == &n) throw std::invalid_argument("a node cannot move below itself");
    }
    if (in_tree(n)) report_exit(n);
    unlink_from_parent(n);
    n.parent = p;
    n.in_tree = p != nullptr;
    if (p == nullptr) return;
    family_[p->serial].children.push_back(&n);
    const std::string old = name(n);
    name_node(n, old.c_str());
}

void FakeHost::unlink_from_parent(Node& n) {
    if (n.parent == nullptr) return;
    auto& siblings = family_[n.parent->serial].children;
    for (std::size_t i = 0; i < siblings.size(); ++i) {
        if (siblings[i] == &n) {
            siblings.erase(siblings.begin() + static_cast<std::ptrdiff_t>(i));
            return;
        }
    }
}

void FakeHost::free_tree(Node& n) {
    n.freed = true;
    for (Node* c : children(n)) free_tree(*c);
}

void FakeHost::free_node(uint64_t id) {
    Node& n = node(id);
    if (n.freed) return;
    // As the engine frees a node in the tree: out of its parent first.
    if (in_tree(n)) report_exit(n);
    free_tree(n);
    unlink_from_parent(n);
}

FakeHost::Node* FakeHost::child_at(const Node& n, ChildPath path) const {
    // Child names are distinct, so a path is its names' tags; the sprite's
    // runs through the body.
    const auto named = [this](const Node& parent, ChildPath tag) -> Node* {
        for (Node* c : children(parent)) {
            if (c->tag == tag && !c->freed) return c;
        }
        return nullptr;
    };
    if (path != ChildPath::projectile_sprite) return named(n, path);
    const Node* body = named(n, ChildPath::projectile_body);
    return body != nullptr ? named(*body, path) : nullptr;
}

Vector2 FakeHost::composed(const Node& n) {
    const Vector2 p = global_of(*n.parent);
    return {p.x + n.position.x, p.y + n.position.y};
}

void FakeHost::place(uint64_t id, Vector2 g) {
    Node& n = node(id);
    const Vector2 p = n.parent != nullptr ? global_of(*n.parent) : Vector2{};
    n.position = {g.x - p.x, g.y - p.y};
}

void FakeHost::on(uint64_t id, ScriptMethod method, std::function<void()> fn) {
    on_bool(id, method, [fn = std::move(fn)] {
        fn();
        return false;
    });
}

void FakeHost::on_bool(uint64_t id, ScriptMethod method, Script fn) {
    Node& n = node(id);
    if (n.methods == nullptr) n.methods = std::make_unique<Methods>();
    (*n.methods)[static_cast<std::size_t>(method)] = std::make_shared<const Script>(std::move(fn));
}

void FakeHost::answer(uint64_t id, ScriptMethod method, bool value) {
    const auto bit = static_cast<uint16_t>(1u << static_cast<unsigned>(method));
    Node& n = node(id);
    n.answers = static_cast<uint16_t>(value ? n.answers | bit : n.answers & ~bit);
}

void FakeHost::clear_log() {
    log_.clear();
    counts_.fill(0);
    calls_ = 0;
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
    for (const ScriptMethod m : script_calls(id)) n += m == method ? 1 : 0;
    return n;
}

std::vector<uint64_t> FakeHost::called_nodes(ScriptMethod method) const {
    std::vector<uint64_t> out;
    for (const HostCall& c : log_) {
        if ((c.op == HostOp::call || c.op == HostOp::call_bool) && c.method == method) out.push_back(c.node);
    }
    return out;
}

}  // namespace warfield::test
