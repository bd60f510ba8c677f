extends RefCounted
## WarfieldShot: one projectile registration with named fields, filled with
## what its kind needs, so that a game need not pass register_projectile's 28
## values:
##
##     const WarfieldShot := preload("res://addons/warfield/shot.gd")
##     var slot := WarfieldShot.lob(Vector2(200, 0), 120.0).fire(warfield, shot_node)
##
## Each constructor returns a new WarfieldShot; change any field before
## fire(), by name or with with({...}). fire() registers the node at its start
## position and returns the slot id (-1 when there is no node). The node must
## be in the tree by the next physics frame: one that is not is stopped there.
## The node moves the projectile by these fields every physics frame; the ones
## marked "stored for the game" it keeps without reading.

const WarfieldShot := preload("shot.gd")
const Registration := preload("registration.gd")

## Lob and arc fall under gravity_val * gravity_scale_val.
const DEFAULT_GRAVITY := 980.0
## The node throws every catapult shot under this gravity, whatever gravity_val says.
const CATAPULT_GRAVITY := 2000.0
## flight_time() gives up on throws that stay up longer than this.
const MAX_FLIGHT_FRAMES := 100000
## Radians per second a lob's sprite spins (ProjectileBodyNode/ProjectileSprite).
const DEFAULT_SPIN := 8.0

# The fields, in register_projectile's order. null ones are worked out by fire().
var type: Warfield.ProjectileKind = Warfield.STRAIGHT  ## Warfield.STRAIGHT, LOB, ARC, TRACKING or CATAPULT
var velocity := Vector2.ZERO  ## ground motion, units per second
var speed: Variant = null  ## tracking flies at it; null: the length of velocity
var collision_flags := 1  ## stored for the game (each query takes its own flags)
var camp := 0  ## stored for the game
var grid_y: Variant = null  ## stored for the game; null: the row the node stands in, from grid_size.y
var check_all := false  ## stored for the game
var proj_height := 0.0  ## stored for the game
var projectile_height_enum := 0  ## stored for the game
var check_height := false  ## stored for the game
var fire_length := 0.0  ## above 0 turns on the straight range test
var check_distance := 0.0  ## that range, from save_pos
var save_pos: Variant = null  ## null: the node's global position when fired
var height := 0.0  ## stored for the game; the flying height is z_val
var ground_height := 0.0  ## a throw lands when z_val comes down to it
var fire_dir_x := 1  ## 1 or -1: the way the sprite spins
var y_speed := 0.0  ## rate z_val falls; negative throws it up
var z_val := 0.0  ## height above the ground
var gravity_val := DEFAULT_GRAVITY  ## lob and arc (a catapult falls under CATAPULT_GRAVITY)
var gravity_scale_val := 1.0  ## lob and arc: multiplies gravity_val
var target: Node = null  ## what a tracking shot flies at (passed as its instance id); null for none
var catapult_time := 0.0  ## stored for the game
var catapult_target_pos := Vector2.ZERO  ## stored for the game
var catapult_control_point := Vector2.ZERO  ## stored for the game
var rotate_follow_velocity := true  ## turn the body along the motion
var rotate_scale := 0.0  ## sprite spin, radians per second, when not following the motion
var config_use_range := false  ## stored for the game

var _aim: Variant = null  # a point to come down at (throws) or fly toward


## Flies along velocity; ends when its body leaves the play area, or beyond
## with_range()'s distance.
static func straight(p_velocity: Vector2) -> WarfieldShot:
	return _make(Warfield.STRAIGHT, p_velocity)


## Thrown up to about peak_height above the ground; spins, arms its hit area
## on touchdown and lands on the frame after.
static func lob(p_velocity: Vector2, peak_height: float) -> WarfieldShot:
	var s := _make(Warfield.LOB, p_velocity)
	s.rotate_follow_velocity = false
	s.rotate_scale = DEFAULT_SPIN
	s.y_speed = s.launch_speed(peak_height)
	return s


## Thrown up to about peak_height, the body turned along its climb and fall;
## armed only below height 60 on the way down.
static func arc(p_velocity: Vector2, peak_height: float) -> WarfieldShot:
	var s := _make(Warfield.ARC, p_velocity)
	s.y_speed = s.launch_speed(peak_height)
	return s


## Flies at speed toward the node target (null: none yet; the node then asks
## the script's find_track_target() every 30th frame). The body turns toward
## the target by itself. Without a target it coasts along velocity: to the
## right at speed unless set, or aim_at() a point. A target freed before
## fire() counts as none; an instance id is refused with an error.
static func tracking(p_speed: float, p_target: Variant = null) -> WarfieldShot:
	var s := _make(Warfield.TRACKING, Vector2(p_speed, 0.0))
	s.speed = p_speed
	s.with({target = p_target})
	s.rotate_follow_velocity = false
	return s


## Thrown up to about peak_height under the fixed catapult gravity, its body
## and hit box raised with it; a throw whose body rises above the play area
## ends there.
static func catapult(p_velocity: Vector2, peak_height: float) -> WarfieldShot:
	var s := _make(Warfield.CATAPULT, p_velocity)
	s.gravity_val = CATAPULT_GRAVITY
	s.y_speed = s.launch_speed(peak_height)
	return s


static func _make(kind: Warfield.ProjectileKind, p_velocity: Vector2) -> WarfieldShot:
	var s := WarfieldShot.new()
	s.type = kind
	s.velocity = p_velocity
	return s


## Sets fields by name; an unknown name, or a value its field cannot hold, is
## reported and skipped.
func with(fields: Dictionary) -> WarfieldShot:
	Registration.assign(self, fields, "WarfieldShot",
			{speed = TYPE_FLOAT, grid_y = TYPE_INT, save_pos = TYPE_VECTOR2})
	return self


## Straight: ends on the first frame farther than distance from save_pos.
func with_range(distance: float) -> WarfieldShot:
	fire_length = distance
	check_distance = distance
	return self


## The velocity is worked out when fired, from the node's position: a throw
## comes down at point after flight_time(); any other kind flies toward it at
## its speed.
func aim_at(point: Vector2) -> WarfieldShot:
	_aim = point
	return self


## The gravity this shot falls under.
func effective_gravity() -> float:
	return CATAPULT_GRAVITY if type == Warfield.CATAPULT else gravity_val * gravity_scale_val


## The y_speed that throws this shot up to peak_height (0 for a height of 0 or
## less, or without gravity).
func launch_speed(peak_height: float) -> float:
	var g := effective_gravity()
	if not (peak_height > 0.0 and g > 0.0):
		return 0.0
	return -sqrt(2.0 * g * peak_height)


## Seconds the node moves a thrown shot (lob, arc, catapult) before it comes
## down to ground_height, frame by frame as the node steps it at the engine's
## physics tick rate; 0 for other kinds or a throw that never comes down.
func flight_time() -> float:
	var g := effective_gravity()
	if not (type in [Warfield.LOB, Warfield.ARC, Warfield.CATAPULT] and g > 0.0):
		return 0.0
	var dt := 1.0 / Engine.physics_ticks_per_second
	var vy := y_speed
	var z := z_val
	for frame in MAX_FLIGHT_FRAMES:
		if type == Warfield.LOB and not (z > ground_height) and not (vy < 0.0):
			return (frame + 1) * dt  # a lob lands on the frame after touchdown, moving in it
		vy += g * dt
		z -= vy * dt
		if ground_height >= z and vy >= 0.0 and type != Warfield.LOB:
			# An arc lands without moving; a catapult moves in its landing frame.
			return (frame + (1 if type == Warfield.CATAPULT else 0)) * dt
	return 0.0


## Registers node, the projectile's root Node2D, with warfield, the Warfield
## node, as this shot and returns its slot id, or -1 (with an error) when node
## is no live Node2D or warfield no live Warfield node.
func fire(warfield: Variant, node: Variant) -> int:
	return Registration.register(warfield, &"register_projectile", arguments_for(warfield, node))


## register_projectile's 28 arguments for node, as fire() passes them; empty
## (with an error) when there is no node.
func arguments_for(warfield: Variant, node: Variant) -> Array:
	if not Registration.can_register(warfield, node, &"Node2D",
			"WarfieldShot.fire needs a Warfield node and a projectile Node2D"):
		return []
	var from := Registration.node_position(node)
	var v := velocity if _aim == null else _velocity_toward(from, _aim)
	return [node.get_instance_id(), type, v, speed if speed != null else v.length(),
			collision_flags, camp, grid_y if grid_y != null else Registration.cell(warfield, from).y,
			check_all, proj_height, projectile_height_enum, check_height, fire_length, check_distance,
			save_pos if save_pos != null else from, height, ground_height, fire_dir_x, y_speed, z_val,
			gravity_val, gravity_scale_val, Registration.instance_id(target), catapult_time, catapult_target_pos,
			catapult_control_point, rotate_follow_velocity, rotate_scale, config_use_range]


func _velocity_toward(from: Vector2, point: Vector2) -> Vector2:
	var t := flight_time()
	if t > 0.0:
		return (point - from) / t
	var s: float = speed if speed != null else velocity.length()
	return from.direction_to(point) * s
