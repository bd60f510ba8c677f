#include "demo/warfield_script.h"

#include "stand_in/array.h"

namespace demo {

using stand_in::Variant;
using stand_in::Vector2i;

ProjectileScene make_projectile_scene(stand_in::Engine& engine, stand_in::Node* parent, Vector2 position) {
    ProjectileScene s;
    s.root = engine.make_node2d("Projectile", position);
    s.body = engine.make_node2d("ProjectileBodyNode");
    s.sprite = engine.make_node2d("ProjectileSprite");
    s.shadow = engine.make_node2d("ShadowSprite");
    s.hit_box = engine.make_node2d("HitBox");
    engine.add_child(s.root, s.body);
    engine.add_child(s.body, s.sprite);
    engine.add_child(s.root, s.shadow);
    engine.add_child(s.root, s.hit_box);
    engine.add_child(parent, s.root);
    return s;
}

Variant WarfieldScript::call(std::string_view method, std::initializer_list<Variant> args) {
    return call(method, std::vector<Variant>(args));
}

Variant WarfieldScript::call(std::string_view method, const std::vector<Variant>& args) {
    std::vector<const Variant*> ptrs;
    ptrs.reserve(args.size());
    for (const Variant& a : args) ptrs.push_back(&a);
    stand_in::CallResult r = stand_in::call_method(node_, method, ptrs.data(), static_cast<int64_t>(ptrs.size()));
    if (!r.ok()) ++failed_;
    return std::move(r.value);
}

void WarfieldScript::call_ids(std::string_view method, std::initializer_list<Variant> args,
                              std::vector<int64_t>& out) {
    out.clear();
    ++queries_;
    Variant result = call(method, args);
    if (result.type() != GDEXTENSION_VARIANT_TYPE_ARRAY) {
        ++failed_;
        return;
    }
    stand_in::VariantData* raw = result.raw();
    void* slot = stand_in::var_payload(raw);
    const int64_t n = stand_in::array_size(slot);
    for (int64_t i = 0; i < n; ++i) out.push_back(stand_in::var_to_int(stand_in::array_at(slot, i)));
}

int64_t WarfieldScript::register_projectile(const ProjectileSpec& p) {
    return call("register_projectile", p.values()).to_int();
}

void WarfieldScript::unregister_projectile(int64_t id) { call("unregister_projectile", {id}); }

void WarfieldScript::set_projectile_hit_over(int64_t id, bool hit_over) {
    call("set_projectile_hit_over", {id, hit_over});
}

void WarfieldScript::set_projectile_target(int64_t id, int64_t target) {
    call("set_projectile_target", {id, target});
}

void WarfieldScript::set_projectile_grid_y(int64_t id, int64_t grid_y) {
    call("set_projectile_grid_y", {id, grid_y});
}

int64_t WarfieldScript::get_active_projectile_count() { return call("get_active_projectile_count", {}).to_int(); }

int64_t WarfieldScript::register_target(const TargetSpec& t) {
    return call("register_target", t.values()).to_int();
}

void WarfieldScript::unregister_target(int64_t id) { call("unregister_target", {id}); }

void WarfieldScript::set_target_position(int64_t id, Vector2 p) {
    call("set_target_position", {id, double{p.x}, double{p.y}});
}

void WarfieldScript::set_target_die(int64_t id, bool die) { call("set_target_die", {id, die}); }

int64_t WarfieldScript::get_active_target_count() { return call("get_active_target_count", {}).to_int(); }

int64_t WarfieldScript::register_character(int64_t node, int64_t grid_y) {
    return call("register_character", {node, int64_t{0}, int64_t{0}, int64_t{0}, int64_t{0}, Vector2{1, 1},
                                       Vector2{}, false, 0.0, 0.0, Vector2i{0, static_cast<int32_t>(grid_y)},
                                       int64_t{0}, true, 0.0, 1.0, 10.0, 10.0})
        .to_int();
}

void WarfieldScript::query_targets_in_line(int64_t camp, int64_t grid_y, int64_t flags, bool check_all_line,
                                           int64_t self_grid_y, std::vector<int64_t>& out) {
    call_ids("query_targets_in_line", {camp, grid_y, flags, check_all_line, self_grid_y}, out);
}

void WarfieldScript::query_targets_in_range(int64_t camp, int64_t flags, Vector2 center, Vector2 range,
                                            std::vector<int64_t>& out) {
    call_ids("query_targets_in_range",
             {camp, flags, double{center.x}, double{center.y}, double{range.x}, double{range.y}}, out);
}

void WarfieldScript::query_targets_all(int64_t camp, int64_t flags, std::vector<int64_t>& out) {
    call_ids("query_targets_all", {camp, flags}, out);
}

void WarfieldScript::query_metallic_armor_targets(int64_t camp, std::vector<int64_t>& out) {
    call_ids("query_metallic_armor_targets", {camp}, out);
}

}  // namespace demo
