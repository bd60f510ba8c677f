// Registrations with every value distinct from its field's default, for tests
// that care about only a few of them.
#pragma once

#include "server/warfield.h"

namespace warfield::test {

inline ProjectileDef busy_projectile(uint64_t node = 1, int32_t type = 0) {
    return {node, type, {1, 2}, 3, 4, 5, 6, true, 7, 8, true, 9, 10, {11, 12}, 13, 14, 1, 15,
            16, 17, 18, 19, 20, {21, 22}, {23, 24}, false, 25, true};
}

inline int32_t add_projectile(Warfield& w, uint64_t node = 1, int32_t type = 0) {
    return w.register_projectile(busy_projectile(node, type));
}

inline int32_t add_character(Warfield& w, uint64_t node = 1) {
    return w.register_character({node, 2, 3, 4, 5, {6, 7}, {8, 9}, true, 10, 11, {12, 13}, 14, true, 15, 16, 17, 18});
}

inline int32_t add_target(Warfield& w, uint64_t node = 1, int32_t camp = 0, int32_t grid_y = 0) {
    return w.register_target({node, camp, grid_y, 1, 1, false, true, false, false, false, 2, 3, 4, false, false,
                              false, false, true, true, false});
}

inline int32_t add_ground_item(Warfield& w, uint64_t node = 1) {
    return w.register_ground_item({node, 1, 2, 3, 4, 5, true, true});
}

}  // namespace warfield::test
