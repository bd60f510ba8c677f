// An item lying on (or falling to) the ground. Stored and counted only.
#pragma once

#include <cstdint>

#include "server/schema.h"

namespace warfield {

// register_ground_item's arguments, in order.
#define WARFIELD_GROUND_ITEM_FIELDS(X) \
    X(uint64_t, node_instance_id, {})      \
    X(float, z_val, {})                    \
    X(float, ground_height, {})            \
    X(float, y_speed, {})                  \
    X(float, gravity, {})                  \
    X(float, gravity_scale, {})            \
    X(bool, is_ground, {})                 \
    X(bool, gravity_use, {})

// Its setters, in method-table order.
#define WARFIELD_GROUND_ITEM_SETTERS(SET, SET2)                                           \
    SET(GroundItemState, set_ground_item_ground_height, ground_height, ground_height)      \
    SET(GroundItemState, set_ground_item_y_speed, y_speed, y_speed)                        \
    SET(GroundItemState, set_ground_item_z, z_val, z_val)

struct GroundItemDef {
    WARFIELD_GROUND_ITEM_FIELDS(WARFIELD_DECLARE_FIELD)
};
WARFIELD_DEFINE_SCHEMA(GroundItemDef, WARFIELD_GROUND_ITEM_FIELDS)

struct GroundItemState : GroundItemDef {
    bool active = false;
};

}  // namespace warfield
