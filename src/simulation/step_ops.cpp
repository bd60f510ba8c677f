#include "simulation/step_ops.h"

namespace warfield {

ObjectHandle resolve_node(Host& host, uint64_t instance_id) {
    const ObjectHandle object = host.object_from_instance_id(instance_id);
    if (object == nullptr) return nullptr;
    const ObjectHandle node = host.cast_to_node2d(object);
    if (node == nullptr || !host.is_inside_tree(node)) return nullptr;
    return node;
}

ObjectHandle find_child(StepContext& s, ChildPath path) {
    const ObjectHandle child = s.host.get_node_or_null(s.node, path);
    if (child == nullptr || !s.host.is_inside_tree(child)) return nullptr;
    return s.host.cast_to_node2d(child);
}

void advance_node(StepContext& s) {
    const Vector2 p = s.host.get_global_position(s.node);
    const Vector2 v = s.record().velocity;
    s.host.set_global_position(s.node, {s.delta * v.x + p.x, s.delta * v.y + p.y});
}

void lift_child(StepContext& s, ObjectHandle child) {
    const Vector2 q = s.host.get_position(child);
    s.host.set_position(child, {q.x, -s.record().z_val});
}

void scale_shadow(StepContext& s) {
    const ObjectHandle shadow = find_child(s, ChildPath::shadow_sprite);
    if (shadow == nullptr) return;
    float k = 1.0f - s.record().z_val / 600.0f;
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

bool call_script(StepContext& s, ScriptMethod method) {
    s.host.call(s.node, method);
    // The script may have released the slot and had it reused by another
    // node's registration: that projectile is not ours to move or end.
    if (s.record().node_instance_id != s.node_id) return false;
    // A node freed during the call is never touched again; one that stays
    // gets the handle the engine hands out now.
    s.node = resolve_node(s.host, s.node_id);
    return s.node != nullptr;
}

StepOutcome finish_projectile(StepContext& s, ScriptMethod method) {
    ProjectileState& r = s.record();
    r.hit_over = true;
    r.active = false;
    return call_script(s, method) ? StepOutcome::done : StepOutcome::abandoned;
}

}  // namespace warfield
