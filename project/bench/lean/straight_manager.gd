extends Node
## Flies straight shots from arrays: each sprite spins, each shot moves at a
## fixed velocity and ends on leaving the play area or its range.

var area := Rect2()  # the play area, widened as the Warfield node widens it

var _nodes: Array[Node2D] = []
var _bodies: Array[Node2D] = []
var _sprites: Array[Node2D] = []
var _velocities := PackedVector2Array()
var _spins := PackedFloat32Array()
var _starts := PackedVector2Array()
var _ranges_squared := PackedFloat32Array()
var _over := PackedByteArray()
var _frame := 0  # 1 on the first physics frame, as the Warfield node counts


func add(node: Node2D, velocity: Vector2, spin: float, start: Vector2, fire_range: float) -> void:
	_nodes.append(node)
	_bodies.append(node.get_node(^"ProjectileBodyNode"))
	_sprites.append(node.get_node(^"ProjectileBodyNode/ProjectileSprite"))
	_velocities.append(velocity)
	_spins.append(spin)
	_starts.append(start)
	_ranges_squared.append(fire_range * fire_range)
	_over.append(0)


func count_flying() -> int:
	return _over.count(0)


func _physics_process(delta: float) -> void:
	_frame += 1
	var grid_frame := _frame % 5 == 0
	for i in _nodes.size():
		if _over[i] != 0:
			continue
		var node := _nodes[i]
		_sprites[i].rotation += delta * _spins[i]
		if grid_frame:
			node.update_grid_pos()
		node.check_shooter_height()
		var pos := node.global_position + _velocities[i] * delta
		node.global_position = pos
		if not area.has_point(_bodies[i].global_position) or _starts[i].distance_squared_to(pos) > _ranges_squared[i]:
			_over[i] = 1
			node.over_from_extension()
