extends Node2D
## A catapult shot that flies itself: thrown up against a fixed gravity of
## 2000, its body and hit box raised with the height, its shadow shrunk and
## its body turned along its path; it lands on coming back down, or ends when
## its body leaves the play area.

const GRAVITY := 2000.0

# Set before the shot enters the tree.
var velocity := Vector2.ZERO
var z := 0.0  # height above the ground line
var y_speed := 0.0  # negative while climbing
var ground_height := 0.0
var area := Rect2()  # the play area, widened as the Warfield node widens it

var hit_over := false

@onready var _body: Node2D = $ProjectileBodyNode
@onready var _shadow: Node2D = $ShadowSprite
@onready var _hit_box: Node2D = $HitBox


# The game's callbacks; empty, the benchmark measures the calls alone.
func over_from_extension() -> void: pass
func land_from_extension() -> void: pass
func enable_monitoring() -> void: pass


func _physics_process(delta: float) -> void:
	y_speed += GRAVITY * delta
	z -= y_speed * delta
	global_position += velocity * delta
	_body.position.y = -z
	var k := maxf(1.0 - z / 600.0, 0.0)
	_shadow.scale = Vector2(k, k)
	_hit_box.position.y = -z
	var path := Vector2(velocity.x, -y_speed)
	if path.length() > 0.1:
		_body.rotation = path.angle()
	if y_speed > 0.0 and z - ground_height < 100.0:
		enable_monitoring()
	if ground_height >= z and y_speed >= 0.0:
		z = ground_height
		y_speed = 0.0
		_end()
		land_from_extension()
	elif not area.has_point(_body.global_position):
		_end()
		over_from_extension()


func _end() -> void:
	hit_over = true
	set_physics_process(false)
