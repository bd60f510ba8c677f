// The operations of a fuzz program. Arguments are decoded into locals one by
// one, never inside a call's argument list, so that every compiler reads the
// input in the same order.
#include <cstring>

#include "invariants.h"
#include "session.h"
#include "inspect.h"

namespace warfield::fuzz {

// Each setter row of a record header as a case of the op switch.
#define WARFIELD_SET_OP(State, method, arg, field) \
    case Op::method: op_set<&State::field>(); break;
#define WARFIELD_SET2_OP(State, method, arg1, field1, arg2, field2) \
    case Op::method: op_set<&State::field1, &State::field2>(); break;

void Session::run_op() {
    if (failed() || ops_ >= limits_.max_ops) return;
    ++ops_;
    const auto op = static_cast<Op>(u8() % op_count);
    if (!writing_.empty() && !changes_tree_only(op)) return;
    switch (op) {
        case Op::register_projectile:
            op_register<ProjectileDef>("projectile", [&](const ProjectileDef& d) { return w_.register_projectile(d); });
            break;
        case Op::unregister_projectile: {
            const int32_t id = slot(projectiles_);
            unregister(projectiles_, w_.projectiles(), id, [&] { w_.unregister_projectile(id); });
            break;
        }
        WARFIELD_PROJECTILE_SETTERS(WARFIELD_SET_OP, WARFIELD_SET2_OP)
        case Op::get_active_projectile_count: (void)w_.get_active_projectile_count(); break;

        case Op::register_character:
            op_register<CharacterDef>("character", [&](const CharacterDef& d) { return w_.register_character(d); });
            break;
        case Op::unregister_character: {
            const int32_t id = slot(characters_);
            unregister(characters_, w_.characters(), id, [&] { w_.unregister_character(id); });
            break;
        }
        WARFIELD_CHARACTER_SETTERS(WARFIELD_SET_OP, WARFIELD_SET2_OP)
        case Op::get_active_character_count: (void)w_.get_active_character_count(); break;

        case Op::register_target:
            op_register<TargetDef>("target", [&](const TargetDef& d) { return w_.register_target(d); });
            break;
        case Op::unregister_target: {
            const int32_t id = slot(targets_);
            unregister(targets_, w_.targets(), id, [&] { w_.unregister_target(id); });
            if (w_.targets().valid(id) && !test::Inspect::target_index_dirty(w_)) fail("unregister_target left the index clean");
            break;
        }
        WARFIELD_TARGET_SETTERS(WARFIELD_SET_OP, WARFIELD_SET2_OP)
        case Op::query_targets_in_line:
        case Op::query_targets_in_range:
        case Op::query_targets_all:
        case Op::query_metallic_armor_targets: op_query(op); break;
        case Op::get_active_target_count: (void)w_.get_active_target_count(); break;

        case Op::register_ground_item:
            op_register<GroundItemDef>("ground_item", [&](const GroundItemDef& d) { return w_.register_ground_item(d); });
            break;
        case Op::unregister_ground_item: {
            const int32_t id = slot(ground_items_);
            unregister(ground_items_, w_.ground_items(), id, [&] { w_.unregister_ground_item(id); });
            break;
        }
        WARFIELD_GROUND_ITEM_SETTERS(WARFIELD_SET_OP, WARFIELD_SET2_OP)
        case Op::get_active_ground_item_count: (void)w_.get_active_ground_item_count(); break;
        case Op::set_grid_size: {
            grid_size_ = vec2();
            w_.set_grid_size(grid_size_);
            break;
        }
        case Op::get_grid_size: (void)w_.get_grid_size(); break;

        case Op::physics_frame: op_frame(); break;
        case Op::ready: op_ready(); break;
        case Op::set_editor_hint: scene_.editor_hint = flag(); break;
        case Op::set_viewport: {
            const bool present = flag();
            const Vector2 position = vec2();
            const Vector2 size = vec2();
            scene_.has_viewport = present;
            scene_.viewport_rect = {position, size};
            break;
        }
        case Op::spawn_node: {
            const bool node2d = (u8() & 3) != 0;  // mostly Node2D
            const bool in_tree = (u8() & 3) != 0;
            const uint8_t children = u8();
            const uint8_t odd = u8();
            if (SceneNode* n = spawn(scene_, node2d, in_tree, children, odd)) last_spawned_ = n;
            break;
        }
        case Op::free_node: {
            SceneNode* n = any_node();
            if (n != nullptr && may_free(*n)) scene_.free_node(n->id);
            break;
        }
        case Op::set_in_tree: {
            SceneNode* n = any_node();
            const bool in = flag();
            if (n != nullptr) set_in_tree(scene_, *n, in);
            break;
        }
        case Op::move_node: {
            SceneNode* n = any_node();
            const Vector2 p = vec2();
            if (n != nullptr && !n->freed) n->position = p;
            break;
        }
        case Op::rotate_node: {
            SceneNode* n = any_node();
            const float r = f32();
            if (n != nullptr && !n->freed) n->rotation = r;
            break;
        }
        case Op::unregister_current:
        case Op::free_current:
        case Op::free_current_child:
        case Op::retarget_current:
        case Op::finish_current:
        case Op::steer_current:
        case Op::rename_current_child:
        case Op::reparent_current_child:
        case Op::replace_current_child:
        case Op::react_to_writes:
        case Op::rename_current: op_current(op); break;
        case Op::silence_tree: {
            const bool on = flag();
            scene_.block_tree_signals(on);
            silenced_ = silenced_ || on;
            break;
        }
        case Op::spawn_projectile: op_spawn_projectile(); break;
        case Op::spawn_target: op_spawn_target(); break;
        case Op::count: break;
    }
    check_state();
}

void Session::op_current(Op op) {
    SceneNode* node = current_node();
    switch (op) {
        case Op::unregister_current: {
            const int32_t id = current_projectile();
            if (id >= 0) unregister(projectiles_, w_.projectiles(), id, [&] { w_.unregister_projectile(id); });
            break;
        }
        case Op::free_current:
            if (node != nullptr && may_free(*node)) scene_.free_node(node->id);
            break;
        case Op::free_current_child: {
            const uint8_t k = u8() % static_cast<uint8_t>(ChildPath::count);
            const SceneNode* child = node != nullptr ? scene_.child_at(*node, static_cast<ChildPath>(k)) : nullptr;
            if (child != nullptr && may_free(*child)) scene_.free_node(child->id);
            break;
        }
        case Op::react_to_writes: {
            const auto path = static_cast<ChildPath>(u8() % static_cast<uint8_t>(ChildPath::count));
            const SceneNode* child = node != nullptr ? scene_.child_at(*node, path) : nullptr;
            if (child == nullptr) break;
            const uint64_t written = child->id;
            const uint64_t root = node->id;
            scene_.on_write(written, [this, written, root](test::HostOp write) { on_write(written, root, write); });
            break;
        }
        case Op::rename_current:
            if (node != nullptr && !node->freed) scene_.rename(node->id, "Renamed");
            break;
        case Op::rename_current_child:
        case Op::reparent_current_child:
        case Op::replace_current_child: {
            const auto path = static_cast<ChildPath>(u8() % static_cast<uint8_t>(ChildPath::count));
            SceneNode* other = op == Op::reparent_current_child ? any_node() : nullptr;
            if (node == nullptr) break;
            if (op == Op::rename_current_child) rename_child(scene_, *node, path);
            if (op == Op::reparent_current_child && other != nullptr) reparent_child(scene_, *node, path, *other);
            if (op == Op::replace_current_child) {
                const SceneNode* child = scene_.child_at(*node, path);
                if (child != nullptr && may_free(*child)) replace_child(scene_, *node, path);
            }
            break;
        }
        case Op::retarget_current: {
            const int32_t id = current_projectile();
            const uint64_t target = instance_id();
            if (id >= 0) w_.set<&ProjectileState::target_instance_id>(id, target);
            break;
        }
        case Op::finish_current: {
            const int32_t id = current_projectile();
            const bool v = flag();
            if (id >= 0) w_.set<&ProjectileState::hit_over>(id, v);
            break;
        }
        case Op::steer_current: {
            const int32_t id = current_projectile();
            const Vector2 v = vec2();
            if (id >= 0) w_.set<&ProjectileState::velocity>(id, v);
            break;
        }
        default: break;
    }
}

bool Session::changes_tree_only(Op op) {
    switch (op) {
        case Op::spawn_node:
        case Op::free_node:
        case Op::set_in_tree:
        case Op::free_current:
        case Op::free_current_child:
        case Op::rename_current_child:
        case Op::reparent_current_child:
        case Op::replace_current_child:
        case Op::rename_current:
        case Op::silence_tree: return true;
        default: return false;
    }
}

bool Session::may_free(const SceneNode& n) const {
    // Unheard frees inside a setter are the one case the frame's liveness
    // checks (once per script call) do not cover; docs/robustness.md says so.
    if (!writing_.empty() && silenced_) return false;
    for (const uint64_t id : writing_) {
        for (const SceneNode* up = &scene_.node(id); up != nullptr; up = up->parent) {
            if (up == &n) return false;
        }
    }
    return true;
}

void Session::on_write(uint64_t written, uint64_t root, test::HostOp write) {
    // The root's position is written back by one way of finding nodes and not
    // the other, so only the children's writes, made alike by both, react.
    if (write == test::HostOp::set_global_position) return;
    if (depth_ >= limits_.max_depth || ops_ >= limits_.max_ops || in_->exhausted() || failed()) return;
    SceneNode* node = scene_.exists(root) ? &scene_.node(root) : nullptr;
    const uint8_t b = u8();
    if (node == nullptr || (b & 3) == 0) return;
    contexts_.push_back({Context::script, 0, {}});
    callback_nodes_.push_back(node);
    writing_.push_back(written);
    ++depth_;
    for (int i = 0; i < (b & 3) && ops_ < limits_.max_ops && !failed(); ++i) run_op();
    --depth_;
    writing_.pop_back();
    callback_nodes_.pop_back();
    contexts_.pop_back();
}

}  // namespace warfield::fuzz
