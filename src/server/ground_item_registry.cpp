#include "server/warfield.h"

namespace warfield {

int32_t Warfield::register_ground_item(uint64_t node_instance_id, float z_val, float ground_height, float y_speed,
                                       float gravity, float gravity_scale, bool is_ground, bool gravity_use) {
    GroundItemState r;
    r.node_instance_id = node_instance_id;
    r.active = true;
    r.z_val = z_val;
    r.ground_height = ground_height;
    r.y_speed = y_speed;
    r.gravity = gravity;
    r.gravity_scale = gravity_scale;
    r.is_ground = is_ground;
    r.gravity_use = gravity_use;
    return ground_items_.acquire(r);
}

void Warfield::unregister_ground_item(int32_t id) { ground_items_.release(id); }

void Warfield::set_ground_item_ground_height(int32_t id, float ground_height) {
    if (ground_items_.valid(id)) ground_items_[id].ground_height = ground_height;
}

void Warfield::set_ground_item_y_speed(int32_t id, float y_speed) {
    if (ground_items_.valid(id)) ground_items_[id].y_speed = y_speed;
}

void Warfield::set_ground_item_z(int32_t id, float z_val) {
    if (ground_items_.valid(id)) ground_items_[id].z_val = z_val;
}

int32_t Warfield::get_active_ground_item_count() const { return ground_items_.count_active(); }

}  // namespace warfield
