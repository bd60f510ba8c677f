extends Node2D
## Demo: three lanes of enemies (camp 1) walk in from the right; one turret per
## lane (camp 0) on the left fires the five projectile kinds in turn. The
## Warfield node moves every shot; the scripts only register, query and react.
## A dying enemy drops a coin, which falls, lies a while and is gone.

const WarfieldShot := preload("res://addons/warfield/shot.gd")
const WarfieldCharacter := preload("res://addons/warfield/character.gd")
const ProjectileScene := preload("res://projectile.tscn")
const TargetScene := preload("res://target.tscn")
const CoinScene := preload("res://coin.tscn")

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
	stats.text = "projectiles %d   targets %d   turrets %d   coins %d   (nothing moves in the editor)" % [
		warfield.get_active_projectile_count(),
		warfield.get_active_target_count(),
		warfield.get_active_character_count(),
		warfield.get_active_ground_item_count()]


func _lane_y(row: int) -> float:
	return (row + 0.5) * warfield.grid_size.y


func _add_turret(row: int) -> void:
	var turret := Node2D.new()
	turret.position = Vector2(TURRET_X - 30.0, _lane_y(row))
	var shadow := Polygon2D.new()
	shadow.polygon = PackedVector2Array([Vector2(-18, -4), Vector2(18, -4), Vector2(18, 4), Vector2(-18, 4)])
	shadow.color = Color(0, 0, 0, 0.3)
	shadow.position = Vector2(0, 16)
	turret.add_child(shadow)
	var body := Polygon2D.new()
	body.polygon = PackedVector2Array([Vector2(-16, -16), Vector2(16, -16), Vector2(16, 16), Vector2(-16, 16)])
	body.color = Color(0.3, 0.7, 0.35)
	turret.add_child(body)
	add_child(turret)
	# Turrets are characters: stored and counted by the node, never moved by
	# it. The helper takes the parts as nodes, the shadow's scale and position
	# from the shadow and the grid cell from where the turret stands.
	WarfieldCharacter.with_parts(body, shadow).with({should_update_grid_pos = false}).register(warfield, turret)


func _spawn_target(row: int, x: float, armored: bool) -> void:
	var target := TargetScene.instantiate()
	target.armored = armored
	target.position = Vector2(x, _lane_y(row))
	add_child(target)
	target.spawn(warfield, ENEMY_CAMP)
	target.died.connect(func(dead: Node2D) -> void:
		_drop_coin.call_deferred(dead.position)
		_spawn_target.call_deferred(row, 1200.0, armored))


func _drop_coin(at: Vector2) -> void:
	var coin := CoinScene.instantiate()
	coin.position = at
	add_child(coin)
	coin.drop(warfield)


func _fire(kind: int, row: int) -> void:
	var start := Vector2(TURRET_X, _lane_y(row))
	var aim := 0
	match kind:
		Warfield.STRAIGHT:  # only down a lane that holds an enemy
			if not warfield.query_targets_in_line(PLAYER_CAMP, row, HIT_MASK, false, row).is_empty():
				_launch(start, WarfieldShot.straight(Vector2(420.0, 0.0)).with_range(RANGE))
			return
		Warfield.LOB:  # the first enemy of this lane, else of any lane
			aim = _first(warfield.query_targets_in_line(PLAYER_CAMP, row, HIT_MASK, true, row))
		Warfield.ARC:  # an enemy in a box ahead of the turret
			aim = _first(warfield.query_targets_in_range(PLAYER_CAMP, HIT_MASK, 700.0, start.y, 600.0, 150.0))
		Warfield.TRACKING:  # the nearest enemy anywhere
			var nearest: Node2D = null
			var best_distance := INF
			for id in warfield.query_targets_all(ENEMY_CAMP, HIT_MASK):
				var enemy := instance_from_id(id) as Node2D
				if enemy == null:
					continue
				var d := start.distance_to(enemy.global_position)
				if d < best_distance:
					nearest = enemy
					best_distance = d
			_launch(start, WarfieldShot.tracking(300.0, nearest))
			return
		Warfield.CATAPULT:  # armoured enemies first
			aim = _first(warfield.query_metallic_armor_targets(PLAYER_CAMP))
			if aim == 0:
				aim = _first(warfield.query_targets_all(ENEMY_CAMP, HIT_MASK))
	var target := instance_from_id(aim) as Node2D
	if target == null:
		return
	var shot: WarfieldShot
	match kind:
		Warfield.LOB:
			shot = WarfieldShot.lob(Vector2.ZERO, PEAK)
		Warfield.ARC:
			shot = WarfieldShot.arc(Vector2.ZERO, PEAK)
		_:
			shot = WarfieldShot.catapult(Vector2.ZERO, CATAPULT_PEAK)
	# Thrown shots take the ground velocity that brings them down on the target.
	_launch(start, shot.aim_at(target.global_position))


func _launch(start: Vector2, shot: WarfieldShot) -> void:
	var node := ProjectileScene.instantiate()
	node.position = start
	add_child(node)
	shot.camp = PLAYER_CAMP
	shot.collision_flags = HIT_MASK
	node.launch(warfield, shot)


func _first(ids: Array[int]) -> int:
	return 0 if ids.is_empty() else ids[0]
