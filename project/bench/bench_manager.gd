extends Node
## The manager peer of the frame benchmark: one node that flies every
## projectile from arrays, with each projectile's children found once, the
## way a GDScript game without the extension would batch its projectiles.

const Projectile := preload("res://bench/bench_projectile.gd")

var nodes: Array[Node2D] = []
var bodies: Array[Node2D] = []
var sprites: Array[Node2D] = []
var shadows: Array[Node2D] = []
var hit_boxes: Array[Node2D] = []
var targets: Array[Node2D] = []
var kinds := PackedInt32Array()
var velocities := PackedVector2Array()
var speeds := PackedFloat32Array()
var y_speeds := PackedFloat32Array()
var z_vals := PackedFloat32Array()
var ground_heights := PackedFloat32Array()
var gravities := PackedFloat32Array()
var fire_lengths := PackedFloat32Array()
var check_distances := PackedFloat32Array()
var save_positions := PackedVector2Array()
var spins := PackedFloat32Array()  # delta factor of the sprite spin, 0 for none
var follows := PackedByteArray()
var over := PackedByteArray()


## Takes over a projectile set up for the per-node peer.
func add(p: Projectile) -> void:
	p.set_physics_process(false)
	nodes.append(p)
	bodies.append(p.body)
	sprites.append(p.sprite)
	shadows.append(p.shadow)
	hit_boxes.append(p.hit_box)
	targets.append(p.target)
	kinds.append(p.kind)
	velocities.append(p.velocity)
	speeds.append(p.speed)
	y_speeds.append(p.y_speed)
	z_vals.append(p.z_val)
	ground_heights.append(p.ground_height)
	gravities.append(p.gravity)
	fire_lengths.append(p.fire_length)
	check_distances.append(p.check_distance)
	save_positions.append(p.save_pos)
	spins.append(0.0 if p.rotate_follow else p.rotate_scale * p.fire_dir_x)
	follows.append(1 if p.rotate_follow else 0)
	over.append(0)


func count_flying() -> int:
	return over.count(0)


func _physics_process(delta: float) -> void:
	var frame := Projectile.frame
	var area := Projectile.area
	for i in nodes.size():
		if over[i] != 0:
			continue
		var node := nodes[i]
		if spins[i] != 0.0:
			sprites[i].rotation += delta * spins[i]
		match kinds[i]:
			Projectile.Kind.STRAIGHT:
				if frame % 5 == 0:
					node.update_grid_pos()
				node.check_shooter_height()
				var velocity := velocities[i]
				node.global_position += velocity * delta
				var body := bodies[i]
				if follows[i] != 0:
					body.rotation = velocity.angle()
				var d := check_distances[i]
				if not area.has_point(body.global_position):
					over[i] = 1
					node.over_from_extension()
				elif fire_lengths[i] > 0.0 and save_positions[i].distance_squared_to(node.global_position) > d * d:
					over[i] = 1
					node.over_from_extension()
			Projectile.Kind.LOB:
				var velocity := velocities[i]
				node.global_position += velocity * delta
				if follows[i] != 0:
					bodies[i].rotation = velocity.angle()
				var z := z_vals[i]
				var ys := y_speeds[i]
				if z <= ground_heights[i] and ys >= 0.0:
					over[i] = 1
					node.land_from_extension()
					continue
				ys += gravities[i] * delta
				z -= ys * delta
				y_speeds[i] = ys
				z_vals[i] = z
				bodies[i].position.y = -z
				var k := maxf(1.0 - z / 600.0, 0.0)
				shadows[i].scale = Vector2(k, k)
				if z <= ground_heights[i] and ys >= 0.0:
					node.enable_monitoring()
			Projectile.Kind.ARC:
				var z := z_vals[i]
				var ys := y_speeds[i]
				if z > ground_heights[i] or ys < 0.0:
					ys += gravities[i] * delta
					z -= ys * delta
				if z <= ground_heights[i] and ys >= 0.0:
					z_vals[i] = ground_heights[i]
					y_speeds[i] = 0.0
					over[i] = 1
					node.land_from_extension()
					continue
				y_speeds[i] = ys
				z_vals[i] = z
				var velocity := velocities[i]
				node.global_position += velocity * delta
				var body := bodies[i]
				body.position.y = -z
				if follows[i] != 0:
					body.rotation = atan2(ys, velocity.x)
				if ys > 0.0 and z < 60.0:
					node.enable_monitoring()
				else:
					node.disable_monitoring()
			Projectile.Kind.TRACKING:
				var target := targets[i]
				if is_instance_valid(target) and target.is_inside_tree():
					var to_target := target.global_position - node.global_position
					var direction := to_target.normalized()
					var body := bodies[i]
					var current := body.rotation
					body.rotation = current + minf(delta * 5.0, 1.0) * wrapf(direction.angle() - current, -PI, PI)
					velocities[i] = direction * speeds[i]
					if to_target.length_squared() < 900.0:
						over[i] = 1
						node.hit_target_from_extension()
						continue
				elif target != null:
					targets[i] = null
					node.target_died_from_extension()
				if frame % 30 == 0:
					node.update_grid_pos()
					if targets[i] == null:
						node.find_track_target()
				node.global_position += velocities[i] * delta
			Projectile.Kind.CATAPULT:
				var ys := delta * 2000.0 + y_speeds[i]
				var z := z_vals[i] - ys * delta
				y_speeds[i] = ys
				z_vals[i] = z
				var velocity := velocities[i]
				node.global_position += velocity * delta
				var body := bodies[i]
				body.position.y = -z
				var k := maxf(1.0 - z / 600.0, 0.0)
				shadows[i].scale = Vector2(k, k)
				hit_boxes[i].position.y = -z
				if follows[i] != 0:
					var v := Vector2(velocity.x, -ys)
					if v.length() > 0.1:
						body.rotation = v.angle()
				var ground := ground_heights[i]
				if ys > 0.0 and z - ground < 100.0:
					node.enable_monitoring()
				if ground >= z and ys >= 0.0:
					z_vals[i] = ground
					y_speeds[i] = 0.0
					over[i] = 1
					node.land_from_extension()
				elif not area.has_point(body.global_position):
					over[i] = 1
					node.over_from_extension()
