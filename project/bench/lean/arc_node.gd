extends Node2D
## An arc that flies itself: its height rises and falls under gravity, its
## body raised and turned along its path, its hit box armed only while it
## comes down through the last 60 units; it lands on reaching the ground.

# Set before the shot enters the tree.
var velocity := Vector2.ZERO
var z := 0.0  # height above the ground line
var y_speed := 0.0  # negative while climbing
var gravity := 0.0
var ground_height := 0.0

var hit_over := false

@onready var _body: Node2D = $ProjectileBodyNode


# The game's callbacks; empty, the benchmark measures the calls alone.
func land_from_extension() -> void: pass
func enable_monitoring() -> void: pass
func disable_monitoring() -> void: pass


func _physics_process(delta: float) -> void:
	if z > ground_height or y_speed < 0.0:
		y_speed += gravity * delta
		z -= y_speed * delta
	if z <= ground_height and y_speed >= 0.0:
		z = ground_height
		y_speed = 0.0
		hit_over = true
		set_physics_process(false)
		land_from_extension()
		return
	global_position += velocity * delta
	_body.position.y = -z
	_body.rotation = atan2(y_speed, velocity.x)
	if y_speed > 0.0 and z < 60.0:
		enable_monitoring()
	else:
		disable_monitoring()
