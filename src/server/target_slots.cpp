#include "server/warfield.h"

namespace warfield {

// A new or released target changes what the index lists.
int32_t Warfield::register_target(const TargetDef& def) {
    const int32_t id = add(targets_, def);
    index_.target_index_dirty = true;
    return id;
}

void Warfield::unregister_target(int32_t id) {
    if (!targets_.valid(id)) return;
    targets_.release(id);
    index_.target_index_dirty = true;
}

}  // namespace warfield
