extends Node
## Flies catapult shots from arrays: each is thrown up against a fixed gravity
## of 2000, its body and hit box raised with the height, its shadow shrunk and
## its body turned along its path; it lands on coming back down, or ends when
## its body leaves the play area.

const GRAVITY := 2000.0

var area := Rect2()  # the play area, widened as the Warfield node widens it

var _nodes: Array[Node2D] = []
var _bodies: Array[Node2D] = []
var _shadows: Array[Node2D] = []
var _hit_boxes: Array[Node2D] = []
var _velocities := PackedVector2Array()
var _zs := PackedFloat32Array()
var _y_speeds := PackedFloat32Array()
var _grounds := PackedFloat32Array()
var _over := PackedByteArray()


func add(node: Node2D, velocity: Vector2, z: float, y_speed: float, ground_height: float) -> void:
	_nodes.append(node)
	_bodies.append(node.get_node(^"ProjectileBodyNode"))
	_shadows.append(node.get_node(^"ShadowSprite"))
	_hit_boxes.append(node.get_node(^"HitBox"))
	_velocities.append(velocity)
	_zs.append(z)
	_y_speeds.append(y_speed)
	_grounds.append(ground_height)
	_over.append(0)


func count_flying() -> int:
	return _over.count(0)


func _physics_process(delta: float) -> void:
	var fall := GRAVITY * delta
	for i in _nodes.size():
		if _over[i] != 0:
			continue
		var node := _nodes[i]
		var ys := _y_speeds[i] + fall
		var z := _zs[i] - ys * delta
		_y_speeds[i] = ys
		_zs[i] = z
		var velocity := _velocities[i]
		node.global_position += velocity * delta
		var body := _bodies[i]
		body.position.y = -z
		var k := maxf(1.0 - z / 600.0, 0.0)
		_shadows[i].scale = Vector2(k, k)
		_hit_boxes[i].position.y = -z
		var path := Vector2(velocity.x, -ys)
		if path.length() > 0.1:
			body.rotation = path.angle()
		var ground := _grounds[i]
		if ys > 0.0 and z - ground < 100.0:
			node.enable_monitoring()
		if ground >= z and ys >= 0.0:
			_zs[i] = ground
			_y_speeds[i] = 0.0
			_over[i] = 1
			node.land_from_extension()
		elif not area.has_point(body.global_position):
			_over[i] = 1
			node.over_from_extension()
