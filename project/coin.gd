extends Node2D
## A coin a dying enemy drops: a ground item. It falls from the enemy's chest
## to the ground, lies there a while and is gone. The Warfield node stores and
## counts ground items but never moves them: the coin moves itself and keeps
## its record's height and fall speed current.

const WarfieldGroundItem := preload("res://addons/warfield/ground_item.gd")
const DROP_HEIGHT := 40.0  # where it starts, above the ground
const LIFETIME := 2.0  # seconds it lies on the ground

var warfield: Warfield
var slot := -1
var z := 0.0  # height above the ground
var fall_speed := 0.0  # rate z falls
var gravity := 0.0
var _lying := 0.0

@onready var _body: Node2D = $Body


## Registers the coin where it stands, DROP_HEIGHT above the ground; add it to
## the tree first.
func drop(p_warfield: Warfield) -> void:
	warfield = p_warfield
	var item := WarfieldGroundItem.falling_from(DROP_HEIGHT)
	z = item.z_val
	fall_speed = item.y_speed
	gravity = item.gravity * item.gravity_scale
	slot = item.register(warfield, self)
	_body.position.y = -z


func _physics_process(delta: float) -> void:
	if slot < 0:
		return
	if z > 0.0:
		fall_speed += gravity * delta
		z = maxf(z - fall_speed * delta, 0.0)
		if z == 0.0:
			fall_speed = 0.0
		warfield.set_ground_item_y_speed(slot, fall_speed)
		warfield.set_ground_item_z(slot, z)
		_body.position.y = -z
		return
	_lying += delta
	if _lying >= LIFETIME:
		warfield.unregister_ground_item(slot)
		slot = -1
		queue_free()
