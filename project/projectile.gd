extends Node2D
## One projectile. The Warfield node moves it every physics frame and calls the
## methods below on it. It raises, turns and scales the children
## ProjectileBodyNode, ProjectileBodyNode/ProjectileSprite, ShadowSprite and
## HitBox, so the scene keeps those names.

const WarfieldShot := preload("res://addons/warfield/shot.gd")

const HIT_MASK := 1  # shares a bit with every enemy's mask_flags
const SPLASH := Vector2(70.0, 45.0)  # half size of the area a landing shot damages

var warfield: Warfield
var slot := -1
var kind := Warfield.STRAIGHT
var camp := 0
var grid_y := 0
var target_id := 0

@onready var hit_box: Area2D = $HitBox


func _ready() -> void:
	hit_box.area_entered.connect(_on_hit_box_area_entered)


## Registers the projectile as shot where it stands; add it to the tree first.
func launch(p_warfield: Warfield, shot: WarfieldShot) -> void:
	warfield = p_warfield
	kind = shot.type
	camp = shot.camp
	target_id = shot.target.get_instance_id() if is_instance_valid(shot.target) else 0
	grid_y = _row()
	# Shots with a height arm their hit box only near the ground.
	hit_box.monitoring = kind == Warfield.STRAIGHT
	slot = shot.fire(warfield, self)


# --- Called by the Warfield node -------------------------------------------

## Straight: every 5th physics frame. Tracking: every 30th.
func update_grid_pos() -> void:
	if not get_viewport_rect().grow(100.0).has_point(global_position):
		# A tracking shot that lost its target never ends by itself.
		warfield.set_projectile_hit_over(slot, true)
		_finish()
		return
	var row := _row()
	if row != grid_y:
		grid_y = row
		warfield.set_projectile_grid_y(slot, grid_y)


## Straight: every frame, before the move. A game that lets shots pass over
## low units ends the shot here with set_projectile_hit_over(slot, true).
func check_shooter_height() -> void:
	pass


## Straight: left the play area or flew beyond its range.
## Catapult: its body left the play area.
func over_from_extension() -> void:
	_finish()


## Lob, arc, catapult: came down to the ground.
func land_from_extension() -> void:
	for id in warfield.query_targets_in_range(camp, HIT_MASK, global_position.x, global_position.y,
			SPLASH.x, SPLASH.y):
		_damage(id)
	_finish()


## Lob, arc, catapult: the shot is low enough to hit something.
func enable_monitoring() -> void:
	hit_box.set_deferred("monitoring", true)


## Arc: every flight frame outside its hit window.
func disable_monitoring() -> void:
	hit_box.set_deferred("monitoring", false)


## Tracking: came within 30 units of its target.
func hit_target_from_extension() -> void:
	_damage(target_id)
	_finish()


## Tracking: the target was freed or left the tree. It flies on straight.
func target_died_from_extension() -> void:
	target_id = 0


## Tracking without a target: every 30th physics frame.
func find_track_target() -> void:
	var best := 0
	var best_distance := INF
	for id in warfield.query_targets_all(1 - camp, HIT_MASK):
		var node := instance_from_id(id) as Node2D
		if node and global_position.distance_to(node.global_position) < best_distance:
			best = id
			best_distance = global_position.distance_to(node.global_position)
	if best != 0:
		target_id = best
		warfield.set_projectile_target(slot, target_id)


# --- Game side -------------------------------------------------------------

func _on_hit_box_area_entered(area: Area2D) -> void:
	var target = area.get_parent()
	if slot < 0 or kind == Warfield.TRACKING or not target.has_method("take_damage") or target.camp == camp:
		return
	target.take_damage(1)
	# Stops the shot at once; it keeps its slot until unregistered.
	warfield.set_projectile_hit_over(slot, true)
	_finish()


func _damage(id: int) -> void:
	var target = instance_from_id(id)
	if target and target.has_method("take_damage"):
		target.take_damage(1)


func _row() -> int:
	return int(floor(global_position.y / warfield.grid_size.y))


## A finished projectile keeps its slot until it is unregistered.
func _finish() -> void:
	if slot >= 0:
		warfield.unregister_projectile(slot)
		slot = -1
	queue_free()
