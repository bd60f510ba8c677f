extends Node
## Flies lobs from arrays: each sprite spins, each shot moves at a fixed
## ground velocity while its height rises and falls under gravity, its body
## raised and its shadow shrunk with the height; it lands when it comes back
## down.

var _nodes: Array[Node2D] = []
var _bodies: Array[Node2D] = []
var _sprites: Array[Node2D] = []
var _shadows: Array[Node2D] = []
var _velocities := PackedVector2Array()
var _spins := PackedFloat32Array()
var _zs := PackedFloat32Array()
var _y_speeds := PackedFloat32Array()
var _gravities := PackedFloat32Array()
var _grounds := PackedFloat32Array()
var _over := PackedByteArray()


func add(node: Node2D, velocity: Vector2, spin: float, z: float, y_speed: float, gravity: float,
		ground_height: float) -> void:
	_nodes.append(node)
	_bodies.append(node.get_node(^"ProjectileBodyNode"))
	_sprites.append(node.get_node(^"ProjectileBodyNode/ProjectileSprite"))
	_shadows.append(node.get_node(^"ShadowSprite"))
	_velocities.append(velocity)
	_spins.append(spin)
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
		_sprites[i].rotation += delta * _spins[i]
		node.global_position += _velocities[i] * delta
		var z := _zs[i]
		var ys := _y_speeds[i]
		var ground := _grounds[i]
		# Landed on the frame after it reached the ground, as the Warfield node does.
		if z <= ground and ys >= 0.0:
			_over[i] = 1
			node.land_from_extension()
			continue
		ys += _gravities[i] * delta
		z -= ys * delta
		_y_speeds[i] = ys
		_zs[i] = z
		_bodies[i].position.y = -z
		var k := maxf(1.0 - z / 600.0, 0.0)
		_shadows[i].scale = Vector2(k, k)
		if z <= ground and ys >= 0.0:
			node.enable_monitoring()
