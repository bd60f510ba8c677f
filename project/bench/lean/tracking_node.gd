extends Node2D
## A tracking shot that flies itself: its sprite spins, its body turns toward
## its target and it heads straight at it, hitting within 30 units; without a
## target it flies on and looks for one every 30th frame.

# Set before the shot enters the tree.
var target: Node2D
var speed := 0.0
var velocity := Vector2.ZERO
var spin := 0.0  # radians per second

var hit_over := false
var _frame := 0  # this shot's physics frames, 1 on its first

@onready var _body: Node2D = $ProjectileBodyNode
@onready var _sprite: Node2D = $ProjectileBodyNode/ProjectileSprite


# The game's callbacks; empty, the benchmark measures the calls alone.
func update_grid_pos() -> void: pass
func hit_target_from_extension() -> void: pass
func target_died_from_extension() -> void: pass
func find_track_target() -> void: pass


func _physics_process(delta: float) -> void:
	_sprite.rotation += delta * spin
	_frame += 1
	if is_instance_valid(target) and target.is_inside_tree():
		var to_target := target.global_position - global_position
		var direction := to_target.normalized()
		var current := _body.rotation
		_body.rotation = current + minf(delta * 5.0, 1.0) * wrapf(direction.angle() - current, -PI, PI)
		velocity = direction * speed
		if to_target.length_squared() < 900.0:
			hit_over = true
			set_physics_process(false)
			hit_target_from_extension()
			return
	elif target != null:
		target = null
		target_died_from_extension()
	if _frame % 30 == 0:
		update_grid_pos()
		if target == null:
			find_track_target()
	global_position += velocity * delta
