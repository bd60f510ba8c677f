#include <cstring>

#include "simulation/host.h"

namespace warfield {

const char* script_method_name(ScriptMethod m) {
    switch (m) {
        case ScriptMethod::update_grid_pos: return "update_grid_pos";
        case ScriptMethod::check_shooter_height: return "check_shooter_height";
        case ScriptMethod::over_from_extension: return "over_from_extension";
        case ScriptMethod::land_from_extension: return "land_from_extension";
        case ScriptMethod::enable_monitoring: return "enable_monitoring";
        case ScriptMethod::disable_monitoring: return "disable_monitoring";
        case ScriptMethod::hit_target_from_extension: return "hit_target_from_extension";
        case ScriptMethod::target_died_from_extension: return "target_died_from_extension";
        case ScriptMethod::find_track_target: return "find_track_target";
        case ScriptMethod::has_metallic_armor: return "has_metallic_armor";
        case ScriptMethod::count: break;
    }
    return "";
}

const char* child_path_name(ChildPath p) {
    switch (p) {
        case ChildPath::projectile_body: return "ProjectileBodyNode";
        case ChildPath::projectile_sprite: return "ProjectileBodyNode/ProjectileSprite";
        case ChildPath::shadow_sprite: return "ShadowSprite";
        case ChildPath::hit_box: return "HitBox";
        case ChildPath::count: break;
    }
    return "";
}

const char* child_name(ChildPath p) {
    const char* path = child_path_name(p);
    const char* slash = std::strrchr(path, '/');
    return slash != nullptr ? slash + 1 : path;
}

}  // namespace warfield
