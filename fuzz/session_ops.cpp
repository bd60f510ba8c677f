// The operations of a fuzz program. Arguments are decoded into locals one by
// one, never inside a call's argument list, so that every compiler reads the
// input in the same order.
#include <cstring>

#include "invariants.h"
#include "session.h"

namespace warfield::fuzz {

void Session::run_op() {
    if (failed() || ops_ >= limits_.max_ops) return;
    ++ops_;
    const auto op = static_cast<Op>(u8() % op_count);
    switch (op) {
        case Op::register_projectile: op_register_projectile(); break;
        case Op::unregister_projectile: {
            const int32_t id = slot(projectiles_);
            unregister(projectiles_, w_.projectiles(), id, [&] { w_.unregister_projectile(id); });
            break;
        }
        case Op::set_projectile_hit_over: {
            const int32_t id = slot(projectiles_);
            const bool v = flag();
            setter(w_.projectiles(), id, &ProjectileState::hit_over, v, [&] { w_.set_projectile_hit_over(id, v); });
            if (v && w_.projectiles().valid(id) && w_.projectiles()[id].active) fail("hit_over true left it active");
            break;
        }
        case Op::set_projectile_velocity: {
            const int32_t id = slot(projectiles_);
            const Vector2 v = vec2();
            setter(w_.projectiles(), id, &ProjectileState::velocity, v, [&] { w_.set_projectile_velocity(id, v); });
            break;
        }
        case Op::set_projectile_target: {
            const int32_t id = slot(projectiles_);
            const uint64_t v = instance_id();
            setter(w_.projectiles(), id, &ProjectileState::target_instance_id, v,
                   [&] { w_.set_projectile_target(id, v); });
            break;
        }
        case Op::set_projectile_grid_y: {
            const int32_t id = slot(projectiles_);
            const int32_t v = i32();
            setter(w_.projectiles(), id, &ProjectileState::grid_y, v, [&] { w_.set_projectile_grid_y(id, v); });
            break;
        }
        case Op::get_active_projectile_count: (void)w_.get_active_projectile_count(); break;

        case Op::register_character: op_register_character(); break;
        case Op::unregister_character: {
            const int32_t id = slot(characters_);
            unregister(characters_, w_.characters(), id, [&] { w_.unregister_character(id); });
            break;
        }
        case Op::set_character_blow_back: {
            const int32_t id = slot(characters_);
            const bool on = flag();
            const float num = f32();
            setter(w_.characters(), id, &CharacterState::blow_back_num, num,
                   [&] { w_.set_character_blow_back(id, on, num); });
            if (w_.characters().valid(id) && w_.characters()[id].blow_back != on) fail("blow_back not stored");
            break;
        }
#define WARFIELD_CHARACTER_SETTER(op_name, field, decode)                                         \
    case Op::op_name: {                                                                           \
        const int32_t id = slot(characters_);                                                     \
        const auto v = decode();                                                                  \
        setter(w_.characters(), id, &CharacterState::field, v, [&] { w_.op_name(id, v); });       \
        break;                                                                                    \
    }
        WARFIELD_CHARACTER_SETTER(set_character_die, die, flag)
        WARFIELD_CHARACTER_SETTER(set_character_near_die, near_die, flag)
        WARFIELD_CHARACTER_SETTER(set_character_invisible, invisible, flag)
        WARFIELD_CHARACTER_SETTER(set_character_in_game, in_game, flag)
        WARFIELD_CHARACTER_SETTER(set_character_ice_speed_down, ice_speed_down, flag)
        WARFIELD_CHARACTER_SETTER(set_character_ground_height, ground_height, f32)
        WARFIELD_CHARACTER_SETTER(set_character_z, z_val, f32)
        WARFIELD_CHARACTER_SETTER(set_character_grid_pos, grid_pos, vec2i)
        WARFIELD_CHARACTER_SETTER(set_character_has_buffs, has_buffs, flag)
        WARFIELD_CHARACTER_SETTER(set_character_shadow_follow_height, shadow_follow_height, flag)
        WARFIELD_CHARACTER_SETTER(set_character_should_update_grid_pos, should_update_grid_pos, flag)
#undef WARFIELD_CHARACTER_SETTER
        case Op::get_active_character_count: (void)w_.get_active_character_count(); break;

        case Op::register_target: op_register_target(); break;
        case Op::unregister_target: {
            const int32_t id = slot(targets_);
            unregister(targets_, w_.targets(), id, [&] { w_.unregister_target(id); });
            if (w_.targets().valid(id) && !w_.target_index_dirty()) fail("unregister_target left the index clean");
            break;
        }
        case Op::set_target_camp:
        case Op::set_target_grid_y: {
            const int32_t id = slot(targets_);
            const int32_t v = i32();
            const bool camp = op == Op::set_target_camp;
            int32_t TargetState::*field = camp ? &TargetState::camp : &TargetState::grid_y;
            const bool changes = w_.targets().valid(id) && w_.targets()[id].*field != v;
            setter(w_.targets(), id, field, v, [&] {
                if (camp) {
                    w_.set_target_camp(id, v);
                } else {
                    w_.set_target_grid_y(id, v);
                }
            });
            if (changes && !w_.target_index_dirty()) fail("a changed index key left the index clean");
            break;
        }
#define WARFIELD_TARGET_SETTER(op_name, field, decode)                                            \
    case Op::op_name: {                                                                           \
        const int32_t id = slot(targets_);                                                        \
        const auto v = decode();                                                                  \
        setter(w_.targets(), id, &TargetState::field, v, [&] { w_.op_name(id, v); });             \
        break;                                                                                    \
    }
        WARFIELD_TARGET_SETTER(set_target_collision_flags, collision_flags, i32)
        WARFIELD_TARGET_SETTER(set_target_mask_flags, mask_flags, i32)
        WARFIELD_TARGET_SETTER(set_target_invincible, invincible, flag)
        WARFIELD_TARGET_SETTER(set_target_can_be_collection, can_be_collection, flag)
        WARFIELD_TARGET_SETTER(set_target_die, die, flag)
        WARFIELD_TARGET_SETTER(set_target_near_die, near_die, flag)
        WARFIELD_TARGET_SETTER(set_target_all_line_check, all_line_check, flag)
        WARFIELD_TARGET_SETTER(set_target_height, height, i32)
        WARFIELD_TARGET_SETTER(set_target_is_item, is_item, flag)
        WARFIELD_TARGET_SETTER(set_target_is_crater, is_crater, flag)
        WARFIELD_TARGET_SETTER(set_target_is_gravestone, is_gravestone, flag)
        WARFIELD_TARGET_SETTER(set_target_is_vase, is_vase, flag)
        WARFIELD_TARGET_SETTER(set_target_can_check, can_check, flag)
        WARFIELD_TARGET_SETTER(set_target_can_projectile_check, can_projectile_check, flag)
        WARFIELD_TARGET_SETTER(set_target_is_bowling_base, is_bowling_base, flag)
#undef WARFIELD_TARGET_SETTER
        case Op::set_target_position: {
            const int32_t id = slot(targets_);
            const float x = f32();
            const float y = f32();
            setter(w_.targets(), id, &TargetState::global_position_x, x, [&] { w_.set_target_position(id, x, y); });
            if (w_.targets().valid(id) &&
                std::memcmp(&w_.targets()[id].global_position_y, &y, sizeof y) != 0) {
                fail("set_target_position did not store y as given");
            }
            break;
        }
        case Op::query_targets_in_line:
        case Op::query_targets_in_range:
        case Op::query_targets_all:
        case Op::query_metallic_armor_targets: op_query(op); break;
        case Op::get_active_target_count: (void)w_.get_active_target_count(); break;

        case Op::register_ground_item: op_register_ground_item(); break;
        case Op::unregister_ground_item: {
            const int32_t id = slot(ground_items_);
            unregister(ground_items_, w_.ground_items(), id, [&] { w_.unregister_ground_item(id); });
            break;
        }
#define WARFIELD_GROUND_SETTER(op_name, field)                                                    \
    case Op::op_name: {                                                                           \
        const int32_t id = slot(ground_items_);                                                   \
        const float v = f32();                                                                    \
        setter(w_.ground_items(), id, &GroundItemState::field, v, [&] { w_.op_name(id, v); });    \
        break;                                                                                    \
    }
        WARFIELD_GROUND_SETTER(set_ground_item_ground_height, ground_height)
        WARFIELD_GROUND_SETTER(set_ground_item_y_speed, y_speed)
        WARFIELD_GROUND_SETTER(set_ground_item_z, z_val)
#undef WARFIELD_GROUND_SETTER
        case Op::get_active_ground_item_count: (void)w_.get_active_ground_item_count(); break;
        case Op::set_grid_size: {
            grid_size_ = vec2();
            w_.set_grid_size(grid_size_);
            break;
        }
        case Op::get_grid_size: (void)w_.get_grid_size(); break;

        case Op::physics_frame: op_frame(); break;
        case Op::ready: op_ready(); break;
        case Op::set_editor_hint: scene_.set_editor_hint(flag()); break;
        case Op::set_viewport: {
            const bool present = flag();
            const Vector2 position = vec2();
            const Vector2 size = vec2();
            scene_.set_viewport(present, {position, size});
            break;
        }
        case Op::spawn_node: {
            const bool node2d = (u8() & 3) != 0;  // mostly Node2D
            const bool in_tree = (u8() & 3) != 0;
            const uint8_t children = u8();
            const uint8_t odd = u8();
            if (SceneNode* n = scene_.spawn(node2d, in_tree, children, odd)) last_spawned_ = n;
            break;
        }
        case Op::free_node: {
            if (SceneNode* n = any_node()) scene_.free_node(*n);
            break;
        }
        case Op::set_in_tree: {
            SceneNode* n = any_node();
            const bool in = flag();
            if (n != nullptr) scene_.set_in_tree(*n, in);
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
        case Op::replace_current_child: op_current(op); break;
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
            if (node != nullptr) scene_.free_node(*node);
            break;
        case Op::free_current_child: {
            const uint8_t k = u8() % static_cast<uint8_t>(ChildPath::count);
            SceneNode* child = node != nullptr ? node->children[k] : nullptr;
            if (child != nullptr) scene_.free_node(*child);
            break;
        }
        case Op::rename_current_child:
        case Op::reparent_current_child:
        case Op::replace_current_child: {
            const auto path = static_cast<ChildPath>(u8() % static_cast<uint8_t>(ChildPath::count));
            SceneNode* other = op == Op::reparent_current_child ? any_node() : nullptr;
            if (node == nullptr) break;
            if (op == Op::rename_current_child) scene_.rename_child(*node, path);
            if (op == Op::reparent_current_child && other != nullptr) scene_.reparent_child(*node, path, *other);
            if (op == Op::replace_current_child) scene_.replace_child(*node, path);
            break;
        }
        case Op::retarget_current: {
            const int32_t id = current_projectile();
            const uint64_t target = instance_id();
            if (id >= 0) w_.set_projectile_target(id, target);
            break;
        }
        case Op::finish_current: {
            const int32_t id = current_projectile();
            const bool v = flag();
            if (id >= 0) w_.set_projectile_hit_over(id, v);
            break;
        }
        case Op::steer_current: {
            const int32_t id = current_projectile();
            const Vector2 v = vec2();
            if (id >= 0) w_.set_projectile_velocity(id, v);
            break;
        }
        default: break;
    }
}

}  // namespace warfield::fuzz
