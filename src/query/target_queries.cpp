// Placeholder until the queries land.
#include "server/warfield.h"

namespace warfield {

void Warfield::query_targets_in_line(int32_t, int32_t, int32_t, bool, int32_t, InstanceIdList&) const {}
void Warfield::query_targets_in_range(int32_t, int32_t, float, float, float, float, InstanceIdList&) const {}
void Warfield::query_targets_all(int32_t, int32_t, InstanceIdList&) const {}
void Warfield::query_metallic_armor_targets(Host&, int32_t, InstanceIdList&) const {}

}  // namespace warfield
