// The fake scene's Host operations, and how it watches them.
#include <cstdio>
#include <cstdlib>

#include "fake_host.h"

namespace warfield::test {

const char* host_op_name(HostOp op) {
#define WARFIELD_HOST_METHOD_NAME(member, cls, method, hash) #method,
#define WARFIELD_HOST_CALL_NAME(name) #name,
    static constexpr std::array<const char*, static_cast<std::size_t>(HostOp::count)> kNames{
        WARFIELD_ENGINE_METHODS(WARFIELD_HOST_METHOD_NAME, WARFIELD_HOST_METHOD_NAME, WARFIELD_SKIP_ENGINE_METHOD)
        WARFIELD_FAKE_HOST_CALLS(WARFIELD_HOST_CALL_NAME)};
#undef WARFIELD_HOST_CALL_NAME
#undef WARFIELD_HOST_METHOD_NAME
    const auto i = static_cast<std::size_t>(op);
    return i < kNames.size() ? kNames[i] : "?";
}

namespace {

constexpr std::size_t kMaxViolations = 1000;  // a frame gone wrong repeats itself

bool is_child_path(ChildPath p) { return p < ChildPath::count; }

}  // namespace

void FakeHost::violation(std::string what) {
    if (violations_.size() < kMaxViolations) violations_.push_back(std::move(what));
}

bool FakeHost::writable(const Node& n) const {
    // A projectile's node may itself be a child (scripts register any node).
    for (const Node* up = &n; up != nullptr; up = up->parent) {
        if (writable_roots_.count(up->id) != 0) return true;
    }
    // A child moved or renamed while the tree's reports were blocked may
    // still be the one the node remembers (never a freed one).
    return unheard_.count(n.id) != 0;
}

FakeHost::Node* FakeHost::check(ObjectHandle h, HostOp op, Need need) {
    const auto refuse = [&](const std::string& why) -> Node* {
        violation(host_op_name(op) + why);
        return nullptr;
    };
    if (h == nullptr) return refuse(" on a null handle");
    if (h != &viewport_ && handles_.count(h) == 0) return refuse(" on a handle that is no node");
    Node* n = static_cast<Node*>(h);
    if (n->freed) return refuse(" on freed node " + std::to_string(n->id) + " (use after free)");
    if (need != Need::object && !n->node2d) return refuse(" on node " + std::to_string(n->id) + ", no Node2D");
    if (need == Need::write && fenced_ && !writable(*n)) {
        return refuse(" on node " + std::to_string(n->id) + ", which belongs to no projectile in flight");
    }
    return n;
}

void FakeHost::record(const HostCall& call) {
    if (++calls_ > call_limit_) {
        std::fprintf(stderr, "fake host: more than %llu host calls in one operation\n",
                     static_cast<unsigned long long>(call_limit_));
        std::abort();
    }
    ++counts_[static_cast<std::size_t>(call.op)];
    if (logging) log_.push_back(call);
}

FakeHost::Node* FakeHost::observe(ObjectHandle h, Need need, HostOp op, ScriptMethod method, ChildPath path,
                                  Vector2 value) {
    Node* n = need == Need::none ? static_cast<Node*>(h) : check(h, op, need);
    record({op, n != nullptr ? n->id : 0, method, path, value, 0});
    return n;
}

void FakeHost::observe_lookup(Node* found, uint64_t asked) {
    record({HostOp::object_from_instance_id, found != nullptr ? found->id : 0, ScriptMethod::count, ChildPath::count,
            Vector2{}, asked});
}

bool FakeHost::is_editor_hint() {
    use(nullptr, HostOp::is_editor_hint, Need::none);
    return editor_hint;
}

ObjectHandle FakeHost::get_viewport() {
    use(nullptr, HostOp::get_viewport, Need::none);
    return has_viewport ? &viewport_ : nullptr;
}

Rect2 FakeHost::get_visible_rect(ObjectHandle viewport) {
    use(nullptr, HostOp::get_visible_rect, Need::none);
    if (observed_ && viewport != &viewport_) violation("get_visible_rect on something that is no viewport");
    return viewport_rect;
}

ObjectHandle FakeHost::object_from_instance_id(uint64_t instance_id) {
    Node* n = lookup(instance_id);
    if (observed_) observe_lookup(n, instance_id);
    return n;
}

ObjectHandle FakeHost::cast_to_node2d(ObjectHandle object) {
    Node* n = use(object, HostOp::cast_to_node2d, Need::object);
    return n != nullptr && n->node2d ? n : nullptr;
}

bool FakeHost::is_inside_tree(ObjectHandle node) {
    const Node* n = use(node, HostOp::is_inside_tree, Need::object);
    return n != nullptr && in_tree(*n);
}

ObjectHandle FakeHost::get_node_or_null(ObjectHandle node, ChildPath path) {
    const Node* n = use(node, HostOp::get_node_or_null, Need::object, ScriptMethod::count, path);
    if (!is_child_path(path)) {
        if (observed_) violation("get_node_or_null with a path outside ChildPath");
        return nullptr;
    }
    return n != nullptr ? child_at(*n, path) : nullptr;
}

uint64_t FakeHost::get_instance_id(ObjectHandle object) {
    const Node* n = use(object, HostOp::get_instance_id, Need::object);
    return n != nullptr ? n->id : 0;
}

bool FakeHost::watch_tree(TreeWatcher& watcher) {
    if (!can_watch) return false;
    for (TreeWatcher* w : watchers_) {
        if (w == &watcher) return true;
    }
    watchers_.push_back(&watcher);
    return true;
}

void FakeHost::unwatch_tree(TreeWatcher& watcher) {
    for (std::size_t i = 0; i < watchers_.size(); ++i) {
        if (watchers_[i] == &watcher) {
            watchers_.erase(watchers_.begin() + static_cast<std::ptrdiff_t>(i));
            return;
        }
    }
}

void FakeHost::wrote(Node* n, HostOp op) {
    if (n == nullptr || write_hooks_.empty()) return;
    const auto it = write_hooks_.find(n->id);
    if (it == write_hooks_.end()) return;
    // Held: the hook may replace itself while it runs.
    const std::shared_ptr<const WriteHook> hook = it->second;
    (*hook)(op);
}

Vector2 FakeHost::get_global_position(ObjectHandle node2d) {
    const Node* n = use(node2d, HostOp::get_global_position, Need::node2d);
    return n != nullptr ? global_of(*n) : Vector2{};
}

void FakeHost::set_global_position(ObjectHandle node2d, Vector2 p) {
    Node* n = use(node2d, HostOp::set_global_position, Need::write, ScriptMethod::count, ChildPath::count, p);
    if (n == nullptr) return;
    const Vector2 base = n->parent != nullptr ? global_of(*n->parent) : Vector2{};
    if (base.x != 0.0f || base.y != 0.0f) moved_under_offset_parent_ = true;
    n->position = {p.x - base.x, p.y - base.y};
    wrote(n, HostOp::set_global_position);
}

Vector2 FakeHost::get_position(ObjectHandle node2d) {
    const Node* n = use(node2d, HostOp::get_position, Need::node2d);
    return n != nullptr ? n->position : Vector2{};
}

void FakeHost::set_position(ObjectHandle node2d, Vector2 p) {
    Node* n = use(node2d, HostOp::set_position, Need::write, ScriptMethod::count, ChildPath::count, p);
    if (n != nullptr) n->position = p;
    wrote(n, HostOp::set_position);
}

float FakeHost::get_rotation(ObjectHandle node2d) {
    const Node* n = use(node2d, HostOp::get_rotation, Need::node2d);
    return n != nullptr ? n->rotation : 0.0f;
}

void FakeHost::set_rotation(ObjectHandle node2d, float radians) {
    Node* n = use(node2d, HostOp::set_rotation, Need::write, ScriptMethod::count, ChildPath::count, {radians, 0.0f});
    if (n != nullptr) n->rotation = radians;
    wrote(n, HostOp::set_rotation);
}

void FakeHost::set_scale(ObjectHandle node2d, Vector2 s) {
    Node* n = use(node2d, HostOp::set_scale, Need::write, ScriptMethod::count, ChildPath::count, s);
    if (n != nullptr) n->scale = s;
    wrote(n, HostOp::set_scale);
}

bool FakeHost::run(ObjectHandle object, ScriptMethod method, HostOp op) {
    Node* n = use(object, op, Need::object, method);
    if (n == nullptr || method >= ScriptMethod::count) return false;
    const auto m = static_cast<std::size_t>(method);
    if (n->methods != nullptr && (*n->methods)[m] != nullptr) {
        // Held: the method may replace itself or free its node while it runs.
        const std::shared_ptr<const Script> fn = (*n->methods)[m];
        return *fn ? (*fn)() : false;
    }
    if (on_any_) return on_any_(*n, method);
    return ((n->answers >> m) & 1u) != 0;
}

void FakeHost::call(ObjectHandle object, ScriptMethod method) { run(object, method, HostOp::call); }

bool FakeHost::call_bool(ObjectHandle object, ScriptMethod method) { return run(object, method, HostOp::call_bool); }

}  // namespace warfield::test
