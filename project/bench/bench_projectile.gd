extends Node2D
## A projectile for the frame benchmark: the game's child layout, script
## callbacks that do nothing, and the same flight written in GDScript for the
## per-node peer (run from _physics_process when that peer is measured).

const ProjectileLayout := preload("res://support/projectile_layout.gd")

enum Kind { STRAIGHT, LOB, ARC, TRACKING, CATAPULT }

## The physics frame number, counted by the benchmark's clock node the way the
## Warfield node counts its frames (1 on the first frame).
static var frame := 0
## The play area, widened as the Warfield node widens it.
static var area := Rect2()

var kind := Kind.STRAIGHT
var velocity := Vector2.ZERO
var speed := 0.0
var y_speed := 0.0
var z_val := 0.0
var ground_height := 0.0
var gravity := 0.0
var fire_length := 0.0
var check_distance := 0.0
var save_pos := Vector2.ZERO
var rotate_follow := false
var rotate_scale := 0.0
var fire_dir_x := 1
var target: Node2D
var hit_over := false

@onready var body: Node2D = $ProjectileBodyNode
@onready var sprite: Node2D = $ProjectileBodyNode/ProjectileSprite
@onready var shadow: Node2D = $ShadowSprite
@onready var hit_box: Node2D = $HitBox


## The game's scene: a shadow, a body with its sprite, a hit box.
static func make() -> Node2D:
	var shadow_sprite := Polygon2D.new()
	shadow_sprite.color = Color(0, 0, 0, 0.35)
	shadow_sprite.polygon = PackedVector2Array([Vector2(-9, -3), Vector2(9, -3), Vector2(9, 3), Vector2(-9, 3)])
	var projectile_sprite := Polygon2D.new()
	projectile_sprite.color = Color(1, 0.85, 0.2)
	projectile_sprite.polygon = PackedVector2Array([Vector2(-8, -5), Vector2(8, 0), Vector2(-8, 5)])
	var root := ProjectileLayout.add_children(Node2D.new(), shadow_sprite, projectile_sprite)
	root.move_child(shadow_sprite, 0)  # drawn under the body, as in the game's scene
	return root


# --- Called by the Warfield node (and by the GDScript peers) ----------------

# Nothing to do: the benchmark measures the calls alone.
func update_grid_pos() -> void: pass
func check_shooter_height() -> void: pass
func over_from_extension() -> void: pass
func land_from_extension() -> void: pass
func enable_monitoring() -> void: pass
func disable_monitoring() -> void: pass
func hit_target_from_extension() -> void: pass
func target_died_from_extension() -> void: pass
func find_track_target() -> void: pass


# --- The per-node peer -------------------------------------------------------

func _physics_process(delta: float) -> void:
	if hit_over:
		return
	if not rotate_follow and rotate_scale != 0.0:
		sprite.rotation += delta * rotate_scale * fire_dir_x
	match kind:
		Kind.STRAIGHT:
			_straight(delta)
		Kind.LOB:
			_lob(delta)
		Kind.ARC:
			_arc(delta)
		Kind.TRACKING:
			_tracking(delta)
		Kind.CATAPULT:
			_catapult(delta)


func _straight(delta: float) -> void:
	if frame % 5 == 0:
		update_grid_pos()
	check_shooter_height()
	if hit_over:
		return
	global_position += velocity * delta
	if rotate_follow:
		body.rotation = velocity.angle()
	if not area.has_point(body.global_position):
		hit_over = true
		over_from_extension()
	elif fire_length > 0.0 and save_pos.distance_squared_to(global_position) > check_distance * check_distance:
		hit_over = true
		over_from_extension()


func _lob(delta: float) -> void:
	global_position += velocity * delta
	if rotate_follow:
		body.rotation = velocity.angle()
	if z_val <= ground_height and y_speed >= 0.0:
		hit_over = true
		land_from_extension()
		return
	y_speed += gravity * delta
	z_val -= y_speed * delta
	body.position.y = -z_val
	var k := maxf(1.0 - z_val / 600.0, 0.0)
	shadow.scale = Vector2(k, k)
	if z_val <= ground_height and y_speed >= 0.0:
		enable_monitoring()


func _arc(delta: float) -> void:
	if z_val > ground_height or y_speed < 0.0:
		y_speed += gravity * delta
		z_val -= y_speed * delta
	if z_val <= ground_height and y_speed >= 0.0:
		z_val = ground_height
		y_speed = 0.0
		hit_over = true
		land_from_extension()
		return
	global_position += velocity * delta
	body.position.y = -z_val
	if rotate_follow:
		body.rotation = atan2(y_speed, velocity.x)
	if y_speed > 0.0 and z_val < 60.0:
		enable_monitoring()
	else:
		disable_monitoring()


func _tracking(delta: float) -> void:
	if is_instance_valid(target) and target.is_inside_tree():
		var to_target := target.global_position - global_position
		var direction := to_target.normalized()
		var current := body.rotation
		body.rotation = current + minf(delta * 5.0, 1.0) * wrapf(direction.angle() - current, -PI, PI)
		velocity = direction * speed
		if to_target.length_squared() < 900.0:
			hit_over = true
			hit_target_from_extension()
			return
	elif target != null:
		target = null
		target_died_from_extension()
	if frame % 30 == 0:
		update_grid_pos()
		if target == null:
			find_track_target()
	global_position += velocity * delta


func _catapult(delta: float) -> void:
	y_speed += 2000.0 * delta
	z_val -= y_speed * delta
	global_position += velocity * delta
	body.position.y = -z_val
	var k := maxf(1.0 - z_val / 600.0, 0.0)
	shadow.scale = Vector2(k, k)
	hit_box.position.y = -z_val
	if rotate_follow:
		var v := Vector2(velocity.x, -y_speed)
		if v.length() > 0.1:
			body.rotation = v.angle()
	if y_speed > 0.0 and z_val - ground_height < 100.0:
		enable_monitoring()
	if ground_height >= z_val and y_speed >= 0.0:
		z_val = ground_height
		y_speed = 0.0
		hit_over = true
		land_from_extension()
	elif not area.has_point(body.global_position):
		hit_over = true
		over_from_extension()
