extends Node
## Flies tracking shots from arrays: each sprite spins, each body turns toward
## its target and the shot heads straight at it, hitting within 30 units;
## without a target it flies on and looks for one every 30th frame.

var _nodes: Array[Node2D] = []
var _bodies: Array[Node2D] = []
var _sprites: Array[Node2D] = []
var _targets: Array[Node2D] = []
var _velocities := PackedVector2Array()
var _speeds := PackedFloat32Array()
var _spins := PackedFloat32Array()
var _over := PackedByteArray()
var _frame := 0  # 1 on the first physics frame, as the Warfield node counts


func add(node: Node2D, target: Node2D, speed: float, velocity: Vector2, spin: float) -> void:
	_nodes.append(node)
	_bodies.append(node.get_node(^"ProjectileBodyNode"))
	_sprites.append(node.get_node(^"ProjectileBodyNode/ProjectileSprite"))
	_targets.append(target)
	_velocities.append(velocity)
	_speeds.append(speed)
	_spins.append(spin)
	_over.append(0)


func count_flying() -> int:
	return _over.count(0)


func _physics_process(delta: float) -> void:
	_frame += 1
	var search_frame := _frame % 30 == 0
	var turn := minf(delta * 5.0, 1.0)
	for i in _nodes.size():
		if _over[i] != 0:
			continue
		var node := _nodes[i]
		_sprites[i].rotation += delta * _spins[i]
		var target := _targets[i]
		if is_instance_valid(target) and target.is_inside_tree():
			var to_target := target.global_position - node.global_position
			var direction := to_target.normalized()
			var body := _bodies[i]
			var current := body.rotation
			body.rotation = current + turn * wrapf(direction.angle() - current, -PI, PI)
			_velocities[i] = direction * _speeds[i]
			if to_target.length_squared() < 900.0:
				_over[i] = 1
				node.hit_target_from_extension()
				continue
		elif target != null:
			_targets[i] = null
			node.target_died_from_extension()
		if search_frame:
			node.update_grid_pos()
			if _targets[i] == null:
				node.find_track_target()
		node.global_position += _velocities[i] * delta
