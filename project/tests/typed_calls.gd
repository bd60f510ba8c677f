extends RefCounted
## Calls through a statically typed Warfield, so that GDScript takes the
## engine's typed path (ptrcall) instead of the dynamic one (call with
## Variants) that an untyped variable uses. The self test loads this file only
## after it has seen that the class exists.


static func register_target(w: Warfield, node_id: int, camp: int, grid_y: int, x: float, y: float) -> int:
	return w.register_target(node_id, camp, grid_y, 0, 1, false, true, false, false, false, 0, x, y,
			false, false, false, false, true, true, false)


static func set_target_grid_y(w: Warfield, id: int, grid_y: int) -> void:
	w.set_target_grid_y(id, grid_y)


static func targets_all(w: Warfield, camp: int) -> Array[int]:
	return w.query_targets_all(camp, 1)


static func targets_in_line(w: Warfield, camp: int, grid_y: int) -> Array[int]:
	return w.query_targets_in_line(camp, grid_y, 1, false, grid_y)


static func targets_in_range(w: Warfield, camp: int, x: float, y: float) -> Array[int]:
	return w.query_targets_in_range(camp, 1, x, y, 0.0, 0.0)


static func target_count(w: Warfield) -> int:
	return w.get_active_target_count()


static func grid_size_round_trip(w: Warfield, size: Vector2) -> Vector2:
	w.set_grid_size(size)
	return w.get_grid_size()


static func register_ground_item(w: Warfield) -> int:
	return w.register_ground_item(0, 1.0, 0.0, 0.0, 980.0, 1.0, true, true)
