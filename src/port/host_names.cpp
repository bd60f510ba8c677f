#include <cstddef>
#include <cstring>
#include <iterator>

#include "port/host.h"

namespace warfield {

namespace {

// In the order of the enums.
constexpr const char* kScriptMethodNames[] = {
    "update_grid_pos",         "check_shooter_height",       "over_from_extension", "land_from_extension",
    "enable_monitoring",       "disable_monitoring",         "hit_target_from_extension",
    "target_died_from_extension", "find_track_target",       "has_metallic_armor",
};
static_assert(std::size(kScriptMethodNames) == static_cast<std::size_t>(ScriptMethod::count));

constexpr const char* kChildPathNames[] = {
    "ProjectileBodyNode",
    "ProjectileBodyNode/ProjectileSprite",
    "ShadowSprite",
    "HitBox",
};
static_assert(std::size(kChildPathNames) == static_cast<std::size_t>(ChildPath::count));

}  // namespace

const char* script_method_name(ScriptMethod m) {
    const auto i = static_cast<std::size_t>(m);
    return i < std::size(kScriptMethodNames) ? kScriptMethodNames[i] : "";
}

const char* child_path_name(ChildPath p) {
    const auto i = static_cast<std::size_t>(p);
    return i < std::size(kChildPathNames) ? kChildPathNames[i] : "";
}

const char* child_name(ChildPath p) {
    const char* path = child_path_name(p);
    const char* slash = std::strrchr(path, '/');
    return slash != nullptr ? slash + 1 : path;
}

}  // namespace warfield
