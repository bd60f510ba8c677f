extends Node2D
## A straight shot that flies itself: its sprite spins, it moves at a fixed
## velocity and ends on leaving the play area or its range.

# Set before the shot enters the tree.
var velocity := Vector2.ZERO
var spin := 0.0  # radians per second
var start := Vector2.ZERO
var range_squared := 0.0
var area := Rect2()  # the play area, widened as the Warfield node widens it

var hit_over := false
var _frame := 0  # this shot's physics frames, 1 on its first

@onready var _body: Node2D = $ProjectileBodyNode
@onready var _sprite: Node2D = $ProjectileBodyNode/ProjectileSprite


# The game's callbacks; empty, the benchmark measures the calls alone.
func update_grid_pos() -> void: pass
func check_shooter_height() -> void: pass
func over_from_extension() -> void: pass


func _physics_process(delta: float) -> void:
	_sprite.rotation += delta * spin
	_frame += 1
	if _frame % 5 == 0:
		update_grid_pos()
	check_shooter_height()
	if hit_over:  # a shot passing over low units ends in the height check
		return
	var pos := global_position + velocity * delta
	global_position = pos
	if not area.has_point(_body.global_position) or start.distance_squared_to(pos) > range_squared:
		_end()
		over_from_extension()


func _end() -> void:
	hit_over = true
	set_physics_process(false)
