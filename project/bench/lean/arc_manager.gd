extends Node
## Flies arcs from arrays: each height rises and falls under gravity, each
## body raised and turned along its path, each hit box armed only while the
## shot comes down through the last 60 units; a shot lands on reaching the
## ground.

var _nodes: Array[Node2D] = []
var _bodies: Array[Node2D] = []
var _velocities := PackedVector2Array()
var _zs := PackedFloat32Array()
var _y_speeds := PackedFloat32Array()
var _gravities := PackedFloat32Array()
var _grounds := PackedFloat32Array()
var _over := PackedByteArray()


func add(node: Node2D, velocity: Vector2, z: float, y_speed: float, gravity: float,
		ground_height: float) -> void:
	_nodes.append(node)
	_bodies.append(node.get_node(^"ProjectileBodyNode"))
	_velocities.append(velocity)
	_zs.append(z)
	_y_speeds.append(y_speed)
	_gravities.append(gravity)
	_grounds.append(ground_height)
	_over.append(0)


func count_flying() -> int:
	return _over.count(0)


func _physics_process(delta: float) -> void:
	for i in _nodes.size():
		if _over[i] != 0:
			continue
		var node := _nodes[i]
		var z := _zs[i]
		var ys := _y_speeds[i]
		var ground := _grounds[i]
		if z > ground or ys < 0.0:
			ys += _gravities[i] * delta
			z -= ys * delta
		if z <= ground and ys >= 0.0:
			_zs[i] = ground
			_y_speeds[i] = 0.0
			_over[i] = 1
			node.land_from_extension()
			continue
		_y_speeds[i] = ys
		_zs[i] = z
		var velocity := _velocities[i]
		node.global_position += velocity * delta
		var body := _bodies[i]
		body.position.y = -z
		body.rotation = atan2(ys, velocity.x)
		if ys > 0.0 and z < 60.0:
			node.enable_monitoring()
		else:
			node.disable_monitoring()
