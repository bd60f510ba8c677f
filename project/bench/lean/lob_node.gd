extends Node2D
## A lob that flies itself: its sprite spins, it moves at a fixed ground
## velocity while its height rises and falls under gravity, its body raised
## and its shadow shrunk with the height; it lands when it comes back down.

# Set before the shot enters the tree.
var velocity := Vector2.ZERO
var spin := 0.0  # radians per second
var z := 0.0  # height above the ground line
var y_speed := 0.0  # negative while climbing
var gravity := 0.0
var ground_height := 0.0

var hit_over := false

@onready var _body: Node2D = $ProjectileBodyNode
@onready var _sprite: Node2D = $ProjectileBodyNode/ProjectileSprite
@onready var _shadow: Node2D = $ShadowSprite


# The game's callbacks; empty, the benchmark measures the calls alone.
func land_from_extension() -> void: pass
func enable_monitoring() -> void: pass


func _physics_process(delta: float) -> void:
	_sprite.rotation += delta * spin
	global_position += velocity * delta
	# Landed on the frame after it reached the ground, as the Warfield node does.
	if z <= ground_height and y_speed >= 0.0:
		hit_over = true
		set_physics_process(false)
		land_from_extension()
		return
	y_speed += gravity * delta
	z -= y_speed * delta
	_body.position.y = -z
	var k := maxf(1.0 - z / 600.0, 0.0)
	_shadow.scale = Vector2(k, k)
	if z <= ground_height and y_speed >= 0.0:
		enable_monitoring()
