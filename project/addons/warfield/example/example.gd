extends Node2D
## The smallest Warfield scene: the node, one target and one lobbed shot that
## comes down on it (open example.tscn and run it with F6). Every path here is
## relative to this folder, so it runs wherever the addon folder is moved.

## The shot came down; hit_ids are the instance ids of the targets under it.
signal shot_landed(hit_ids: Array[int])

const WarfieldShot := preload("../shot.gd")
const WarfieldTarget := preload("../target.gd")
const Projectile := preload("projectile.tscn")

const ENEMY_CAMP := 1
const PEAK := 150.0  # how high the shot is thrown

## How many shots have come down so far.
var landed_count: int:
	get:
		return _landed_count

var _landed_count := 0

@onready var _warfield: Warfield = $Warfield
@onready var _target: Polygon2D = $Target


func _ready() -> void:
	# A hittable target of the enemy camp, at the node's position and row.
	WarfieldTarget.of_camp(ENEMY_CAMP).register(_warfield, _target)
	var shot: Node2D = Projectile.instantiate()
	shot.warfield = _warfield
	shot.position = $Launcher.position
	shot.landed.connect(_on_shot_landed)
	add_child(shot)  # the node moves only projectiles that are in the tree
	shot.slot = WarfieldShot.lob(Vector2.ZERO, PEAK).aim_at(_target.global_position).fire(_warfield, shot)


func _on_shot_landed(hit_ids: Array[int]) -> void:
	_landed_count += 1
	if _target.get_instance_id() in hit_ids:
		_target.color = Color.WHITE
	shot_landed.emit(hit_ids)
