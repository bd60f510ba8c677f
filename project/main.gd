extends Node2D
## Demo: three lanes of enemies (camp 1) walk in from the right; one turret per
## lane (camp 0) on the left fires the five projectile kinds in turn. The
## Warfield node moves every shot; the scripts only register, query and react.

const Shot := preload("res://addons/warfield/shot.gd")
const ProjectileScene := preload("res://projectile.tscn")
const TargetScene := preload("res://target.tscn")

const PLAYER_CAMP := 0
const ENEMY_CAMP := 1
const HIT_MASK := 1
const LANES := [2, 3, 4]  # grid rows, each grid_size.y high
const TURRET_X := 120.0
const FIRE_EVERY := 20  # physics frames between two shots
const RANGE := 900.0  # straight shots end this far from where they started
const PEAK := 90.0  # how high lobs and arcs are thrown
const CATAPULT_PEAK := 105.0

@onready var warfield: Warfield = $Warfield
@onready var stats: Label = $Stats

var _frame := 0
var _shots := 0


func _ready() -> void:
	for row in LANES:
		_add_turret(row)
		_spawn_target(row, 900.0, false)
		_spawn_target(row, 1150.0, row == 3)


func _physics_process(_delta: float) -> void:
	_frame += 1
	if _frame % FIRE_EVERY == 0:
		# 5 kinds over 3 lanes: every kind comes to every lane in turn.
		_fire(_shots % 5, LANES[_shots % LANES.size()])
		_shots += 1
	stats.text = "projectiles %d   targets %d   turrets %d   (nothing moves in the editor)" % [
		warfield.get_active_projectile_count(),
		warfield.get_active_target_count(),
		warfield.get_active_character_count()]


func _lane_y(row: int) -> float:
	return (row + 0.5) * warfield.grid_size.y


func _add_turret(row: int) -> void:
	var turret := Polygon2D.new()
	turret.polygon = PackedVector2Array([Vector2(-16, -16), Vector2(16, -16), Vector2(16, 16), Vector2(-16, 16)])
	turret.color = Color(0.3, 0.7, 0.35)
	turret.position = Vector2(TURRET_X - 30.0, _lane_y(row))
	add_child(turret)
	# Turrets are characters: stored and counted by the node, never moved by it.
	warfield.register_character(
		turret.get_instance_id(),  # node_instance_id
		0, 0, 0, 0,  # sprite_group_id, shadow_sprite_id, transform_point_id, hitbox_id
		Vector2.ONE,  # save_shadow_scale
		Vector2.ZERO,  # save_shadow_position
		false,  # shadow_follow_height
		0.0,  # ground_height
		0.0,  # ground_right
		Vector2i(0, row),  # grid_pos
		0,  # rand_fresh_index
		false,  # should_update_grid_pos
		0.0,  # z_val
		1.0,  # time_scale_init
		0.0,  # hitpoints_near_death
		0.0)  # config_hitpoints_near_death


func _spawn_target(row: int, x: float, armored: bool) -> void:
	var target := TargetScene.instantiate()
	target.armored = armored
	target.position = Vector2(x, _lane_y(row))
	add_child(target)
	target.spawn(warfield, ENEMY_CAMP)
	target.died.connect(func(_t: Node2D) -> void: _spawn_target.call_deferred(row, 1200.0, armored))


func _fire(kind: int, row: int) -> void:
	var start := Vector2(TURRET_X, _lane_y(row))
	var aim := 0
	match kind:
		Shot.Kind.STRAIGHT:  # only down a lane that holds an enemy
			if not warfield.query_targets_in_line(PLAYER_CAMP, row, HIT_MASK, false, row).is_empty():
				_launch(start, Shot.straight(Vector2(420.0, 0.0)).with_range(RANGE))
			return
		Shot.Kind.LOB:  # the first enemy of this lane, else of any lane
			aim = _first(warfield.query_targets_in_line(PLAYER_CAMP, row, HIT_MASK, true, row))
		Shot.Kind.ARC:  # an enemy in a box ahead of the turret
			aim = _first(warfield.query_targets_in_range(PLAYER_CAMP, HIT_MASK, 700.0, start.y, 600.0, 150.0))
		Shot.Kind.TRACKING:  # the nearest enemy anywhere
			var best_distance := INF
			for id in warfield.query_targets_all(ENEMY_CAMP, HIT_MASK):
				var enemy := instance_from_id(id) as Node2D
				if enemy == null:
					continue
				var d := start.distance_to(enemy.global_position)
				if d < best_distance:
					aim = id
					best_distance = d
			_launch(start, Shot.tracking(300.0, aim))
			return
		Shot.Kind.CATAPULT:  # armoured enemies first
			aim = _first(warfield.query_metallic_armor_targets(PLAYER_CAMP))
			if aim == 0:
				aim = _first(warfield.query_targets_all(ENEMY_CAMP, HIT_MASK))
	var target := instance_from_id(aim) as Node2D
	if target == null:
		return
	var shot: Shot
	match kind:
		Shot.Kind.LOB:
			shot = Shot.lob(Vector2.ZERO, PEAK)
		Shot.Kind.ARC:
			shot = Shot.arc(Vector2.ZERO, PEAK)
		_:
			shot = Shot.catapult(Vector2.ZERO, CATAPULT_PEAK)
	# Thrown shots take the ground velocity that brings them down on the target.
	_launch(start, shot.aim_at(target.global_position))


func _launch(start: Vector2, shot: Shot) -> void:
	var node := ProjectileScene.instantiate()
	node.position = start
	add_child(node)
	shot.camp = PLAYER_CAMP
	shot.collision_flags = HIT_MASK
	node.launch(warfield, shot)


func _first(ids: Array[int]) -> int:
	return 0 if ids.is_empty() else ids[0]
