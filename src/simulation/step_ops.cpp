#include "simulation/step_ops.h"

#include <cmath>

#include "simulation/tuning.h"

namespace warfield {
namespace {

constexpr std::size_t index_of(ChildPath path) { return static_cast<std::size_t>(path); }
constexpr uint8_t proven_bit(ChildPath path) { return static_cast<uint8_t>(1u << index_of(path)); }

// The path lookup itself, as the reference behaviour defines it.
ObjectHandle look_up_child(Host& host, ObjectHandle root, ChildPath path, ObjectHandle& object) {
    object = host.get_node_or_null(root, path);
    if (object == nullptr || !host.is_inside_tree(object)) {
        object = nullptr;
        return nullptr;
    }
    return host.cast_to_node2d(object);
}

// Establishes, since the last script call, what the path names now: the
// remembered child while it is settled (the engine has reported neither its
// leaving the tree nor a new name) and its id still names it, else a fresh
// lookup, which is then remembered.
//
// A settled child is exactly what the lookup would return: it was found at
// the path, and the path's nodes (root, body, child) can change only by
// leaving the tree or being renamed; a new sibling of the same name would be
// given another. The id check guards against a script that silenced the
// engine's reports and freed the child meanwhile.
void establish_child(StepContext& s, ChildPath path) {
    const std::size_t i = index_of(path);
    const Role role = role_of(path);
    ObjectHandle parent = s.root_object;
    if (path == ChildPath::projectile_sprite) {
        find_child(s, ChildPath::projectile_body);
        parent = s.child_object[index_of(ChildPath::projectile_body)];
    }
    s.proven = static_cast<uint8_t>(s.proven & ~proven_bit(path));
    s.child_object[i] = nullptr;
    s.child[i] = nullptr;
    // Nothing in the tree at the parent path, so nothing below it either.
    if (parent == nullptr) return;

    if (s.cache->settled(s.slot, role)) {
        const RememberedNode memo = s.cache->at(s.slot).node(role);
        if (s.host.object_from_instance_id(memo.id) == memo.object) {
            s.child_object[i] = memo.object;
            s.child[i] = memo.node2d;
            s.proven = static_cast<uint8_t>(s.proven | proven_bit(path));
            return;
        }
        s.cache->unsettle(s.slot, role);
    }
    ObjectHandle object = nullptr;
    const ObjectHandle child = look_up_child(s.host, s.node, path, object);
    if (object == nullptr) return;  // looked up again at every use
    s.child_object[i] = object;
    s.child[i] = child;
    s.cache->at(s.slot).node(role) = {s.host.get_instance_id(object), object, child};
    s.cache->settle(s.slot, role);
    s.proven = static_cast<uint8_t>(s.proven | proven_bit(path));
}

bool finite(Vector2 v) { return std::isfinite(v.x) && std::isfinite(v.y); }

}  // namespace

ObjectHandle resolve_node(Host& host, uint64_t instance_id, NodeCache* cache, int32_t slot, Role role,
                          ObjectHandle& object) {
    object = host.object_from_instance_id(instance_id);
    if (object == nullptr) return nullptr;
    if (cache == nullptr) {
        const ObjectHandle node = host.cast_to_node2d(object);
        return node != nullptr && host.is_inside_tree(node) ? node : nullptr;
    }
    // Instance ids are never reused while their object lives, so the same id
    // giving the same object means the same object.
    const RememberedNode memo = cache->at(slot).node(role);
    if (memo.id != instance_id || memo.object != object) {
        cache->unsettle(slot, role);  // another node: nothing found for the old one holds
        cache->at(slot).node(role) = {instance_id, object, host.cast_to_node2d(object)};
    }
    const ObjectHandle node = cache->at(slot).node(role).node2d;
    if (node == nullptr) return nullptr;
    if (cache->settled(slot, role)) return node;
    if (!host.is_inside_tree(node)) return nullptr;
    cache->settle(slot, role);
    return node;
}

ObjectHandle find_child(StepContext& s, ChildPath path) {
    if (s.cache == nullptr) {
        ObjectHandle object = nullptr;
        return look_up_child(s.host, s.node, path, object);
    }
    // Proven since the last script call, and reported on by nothing since
    // (a script reacting to one of this step's writes may have moved it).
    if ((s.proven & proven_bit(path)) == 0 || !s.cache->settled(s.slot, role_of(path))) establish_child(s, path);
    return s.child[index_of(path)];
}

Vector2 root_global_position(StepContext& s) {
    if (s.root_known && root_settled(s)) return s.root_position;
    const Vector2 p = s.host.get_global_position(s.node);
    if (s.cache != nullptr) {
        s.root_known = true;
        s.root_position = p;
    }
    return p;
}

void advance_node(StepContext& s) {
    const Vector2 p = root_global_position(s);
    const Vector2 v = s.record().velocity;
    const Vector2 moved{s.delta * v.x + p.x, s.delta * v.y + p.y};
    s.host.set_global_position(s.node, moved);
    // The engine reports a finite position back as it was set (the host's
    // contract; bit for bit under an identity parent). Non-finite ones may
    // come back changed, so they are read again.
    if (s.cache != nullptr) {
        s.root_known = finite(moved);
        s.root_moved = s.root_known;
        s.root_position = moved;
    }
}

ObjectHandle lift_child(StepContext& s, ChildPath path) {
    const ObjectHandle child = find_child(s, path);
    if (child == nullptr) return nullptr;
    const Vector2 q = s.host.get_position(child);
    s.host.set_position(child, {q.x, -s.record().z_val});
    return child;
}

void scale_shadow(StepContext& s) {
    const ObjectHandle shadow = find_child(s, ChildPath::shadow_sprite);
    if (shadow == nullptr) return;
    float k = 1.0f - s.record().z_val / tuning::kShadowVanishHeight;
    if (!(k > 0.0f)) k = 0.0f;
    s.host.set_scale(shadow, {k, k});
}

void spin_sprite(StepContext& s) {
    const ProjectileState& r = s.record();
    if (r.rotate_follow_velocity || !(r.rotate_scale != 0.0f)) return;
    const float turn = (s.delta * r.rotate_scale) * static_cast<float>(r.fire_dir_x);
    const ObjectHandle sprite = find_child(s, ChildPath::projectile_sprite);
    if (sprite == nullptr) return;
    s.host.set_rotation(sprite, s.host.get_rotation(sprite) + turn);
}

void turn_body_along_velocity(StepContext& s) {
    if (!s.record().rotate_follow_velocity) return;
    const ObjectHandle body = find_child(s, ChildPath::projectile_body);
    if (body == nullptr) return;
    const Vector2 v = s.record().velocity;
    s.host.set_rotation(body, std::atan2(v.y, v.x));
}

bool body_left_play_area(StepContext& s) {
    const ObjectHandle body = find_child(s, ChildPath::projectile_body);
    return body != nullptr && !inside_rect(s.frame.visible_rect, s.host.get_global_position(body));
}

bool call_script(StepContext& s, ScriptMethod method) {
    s.host.call(s.node, method);
    // The script may have changed anything: nothing learnt before the call
    // is trusted after it.
    s.forget_facts();
    // The script may have released the slot and had it reused by another
    // node's registration: that projectile is not ours to move or end.
    if (s.record().node_instance_id != s.node_id) return false;
    // A node freed during the call is never touched again; one that stays
    // gets the handle the engine hands out now.
    s.node = resolve_node(s.host, s.node_id, s.cache, s.slot, Role::root, s.root_object);
    return s.node != nullptr;
}

StepOutcome finish_projectile(StepContext& s, ScriptMethod method) {
    ProjectileState& r = s.record();
    r.hit_over = true;
    r.active = false;
    return call_script(s, method) ? StepOutcome::done : StepOutcome::abandoned;
}

}  // namespace warfield
