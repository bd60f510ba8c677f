extends SceneTree
## One run of the frame benchmark, in one engine process:
##
##     godot --headless --fixed-fps 60 --path project --script res://bench/frame_bench.gd \
##         -- impl=warfield kind=straight count=10000 [frames=240] [warmup=30]
##
## impl: warfield (the extension node), pernode (a script per projectile node)
## or manager (one script looping over arrays), both handling every kind; or
## leannode and leanmanager, the same two written for one kind each
## (bench/lean/), every projectile of a mixed run flown by its own kind's
## script or manager. kind: straight, lob, arc, tracking, catapult or mixed
## (the five in turn). Every projectile flies for the whole run, so each frame
## does the same work. Prints one line:
##     RESULT impl=... kind=... count=... ms=<mean physics ms per frame> median=... flying=...

const Projectile := preload("res://bench/bench_projectile.gd")
const Manager := preload("res://bench/bench_manager.gd")
const ShotCalls := preload("res://bench/lean/shot_calls.gd")
# By Projectile.Kind.
const LEAN_NODES := [
	preload("res://bench/lean/straight_node.gd"), preload("res://bench/lean/lob_node.gd"),
	preload("res://bench/lean/arc_node.gd"), preload("res://bench/lean/tracking_node.gd"),
	preload("res://bench/lean/catapult_node.gd")]
const LEAN_MANAGERS := [
	preload("res://bench/lean/straight_manager.gd"), preload("res://bench/lean/lob_manager.gd"),
	preload("res://bench/lean/arc_manager.gd"), preload("res://bench/lean/tracking_manager.gd"),
	preload("res://bench/lean/catapult_manager.gd")]
const IMPLS := ["warfield", "pernode", "manager", "leannode", "leanmanager"]
const FrameClock := preload("res://support/frame_clock.gd")
const UserArgs := preload("res://support/user_args.gd")
const KINDS := ["straight", "lob", "arc", "tracking", "catapult"]
# Tall enough that a catapult throw for the whole run stays in the play area.
const VIEW := Vector2i(1280, 30000)

var _impl := "warfield"
var _kind := "straight"
var _count := 1000
var _frames := 240
var _warmup := 30
var _warfield: Node
var _manager: Manager
var _lean_managers: Array[Node] = []  # by kind, only those the run uses
var _projectiles: Array[Node2D] = []
var _start_us := 0
var _samples := PackedInt64Array()


func _initialize() -> void:
	var args := UserArgs.read({impl = _impl, kind = _kind, count = _count, frames = _frames, warmup = _warmup})
	_impl = args.impl
	_kind = args.kind
	_count = args.count
	_frames = args.frames
	_warmup = args.warmup
	if not (_impl in IMPLS) or not (_kind in KINDS or _kind == "mixed"):
		printerr("frame_bench: unknown impl or kind")
		quit(2)
		return
	_build.call_deferred()


# The scene is built once the tree runs: a headless engine sizes its root
# viewport 64x64 when it starts, and the node's _ready reads the play area.
func _build() -> void:
	await process_frame
	root.size = VIEW
	var rect := root.get_visible_rect()
	Projectile.area = Rect2(-100.0, rect.position.y, rect.size.x + 200.0, rect.size.y)
	Projectile.frame = 0

	FrameClock.bracket(root, _frame_begins, _frame_ends)

	var world := Node2D.new()
	root.add_child(world)
	var targets: Array[Node2D] = []
	for t in 8:
		var target := Node2D.new()
		target.position = Vector2(1.0e6, 1000.0 + t * 3000.0)  # never reached
		world.add_child(target)
		targets.append(target)
	if _impl == "warfield":
		_warfield = ClassDB.instantiate("Warfield")
		world.add_child(_warfield)
	elif _impl == "manager":
		_manager = Manager.new()
		world.add_child(_manager)
	elif _impl == "leanmanager":
		for kind in KINDS.size():
			if _kind == "mixed" or _kind == KINDS[kind]:
				var lean: Node = LEAN_MANAGERS[kind].new()
				if "area" in lean:
					lean.set("area", Projectile.area)
				world.add_child(lean)
				_lean_managers.append(lean)

	for i in _count:
		var kind: int = (i % 5) if _kind == "mixed" else KINDS.find(_kind)
		var node := Projectile.make()
		if _impl.begins_with("lean"):
			# The flight comes from _setup alone, read off a projectile that
			# never enters the tree.
			var flight := Projectile.new()
			_setup(flight, kind, i, targets[i % targets.size()])
			_add_lean(node, flight, world)
			flight.free()
			continue
		node.set_script(Projectile)
		var p := node as Projectile
		_setup(p, kind, i, targets[i % targets.size()])
		world.add_child(p)
		_projectiles.append(p)
		if _impl == "warfield":
			p.set_physics_process(false)
			_register(p)
		elif _impl == "manager":
			_manager.add(p)


func _setup(p: Projectile, kind: int, i: int, target: Node2D) -> void:
	p.kind = kind
	var x := 200.0 + float((i * 37) % 900)
	var y := 500.0 + float((i * 53) % 25000)
	if kind == Projectile.Kind.CATAPULT:
		y = 26000.0 + float((i * 53) % 3000)  # its body climbs about 25000 units
	p.position = Vector2(x, y)
	p.save_pos = p.position
	p.velocity = Vector2(10.0, 3.0)
	p.speed = 10.0
	p.fire_dir_x = 1 if i % 2 == 0 else -1
	p.rotate_scale = 8.0
	match kind:
		Projectile.Kind.STRAIGHT:
			p.fire_length = 900.0
			p.check_distance = 900.0
		Projectile.Kind.LOB, Projectile.Kind.ARC:
			p.y_speed = -600.0  # up for six seconds, down for six
			p.gravity = 100.0
			p.rotate_follow = kind == Projectile.Kind.ARC
		Projectile.Kind.TRACKING:
			p.target = target
		Projectile.Kind.CATAPULT:
			p.y_speed = -10000.0  # five seconds up at the fixed gravity of 2000
			p.rotate_follow = true


# Gives node the flight of p, flown by its kind's lean script or lean manager,
# and adds it to world.
func _add_lean(node: Node2D, p: Projectile, world: Node2D) -> void:
	node.position = p.position
	var spin := 0.0 if p.rotate_follow else p.rotate_scale * p.fire_dir_x
	if _impl == "leannode":
		node.set_script(LEAN_NODES[p.kind])
		var lean: Object = node  # its properties are its script's
		match p.kind:
			Projectile.Kind.STRAIGHT:
				lean.velocity = p.velocity
				lean.spin = spin
				lean.start = p.save_pos
				lean.range_squared = p.check_distance * p.check_distance
				lean.area = Projectile.area
			Projectile.Kind.LOB:
				lean.velocity = p.velocity
				lean.spin = spin
				lean.z = p.z_val
				lean.y_speed = p.y_speed
				lean.gravity = p.gravity
				lean.ground_height = p.ground_height
			Projectile.Kind.ARC:
				lean.velocity = p.velocity
				lean.z = p.z_val
				lean.y_speed = p.y_speed
				lean.gravity = p.gravity
				lean.ground_height = p.ground_height
			Projectile.Kind.TRACKING:
				lean.target = p.target
				lean.speed = p.speed
				lean.velocity = p.velocity
				lean.spin = spin
			Projectile.Kind.CATAPULT:
				lean.velocity = p.velocity
				lean.z = p.z_val
				lean.y_speed = p.y_speed
				lean.ground_height = p.ground_height
				lean.area = Projectile.area
		world.add_child(node)
		_projectiles.append(node)
		return
	node.set_script(ShotCalls)
	world.add_child(node)
	_projectiles.append(node)
	var manager: Object = _lean_managers[p.kind if _kind == "mixed" else 0]
	match p.kind:
		Projectile.Kind.STRAIGHT:
			manager.add(node, p.velocity, spin, p.save_pos, p.check_distance)
		Projectile.Kind.LOB:
			manager.add(node, p.velocity, spin, p.z_val, p.y_speed, p.gravity, p.ground_height)
		Projectile.Kind.ARC:
			manager.add(node, p.velocity, p.z_val, p.y_speed, p.gravity, p.ground_height)
		Projectile.Kind.TRACKING:
			manager.add(node, p.target, p.speed, p.velocity, spin)
		Projectile.Kind.CATAPULT:
			manager.add(node, p.velocity, p.z_val, p.y_speed, p.ground_height)


func _register(p: Projectile) -> void:
	_warfield.register_projectile(
		p.get_instance_id(), p.kind, p.velocity, p.speed, 1, 0, 0, false, 0.0, 0, false,
		p.fire_length, p.check_distance, p.save_pos, 0.0, p.ground_height, p.fire_dir_x,
		p.y_speed, p.z_val, p.gravity, 1.0, p.target.get_instance_id() if p.target else 0,
		0.0, Vector2.ZERO, Vector2.ZERO, p.rotate_follow, p.rotate_scale, false)


func _frame_begins() -> void:
	Projectile.frame += 1
	_start_us = Time.get_ticks_usec()


func _frame_ends() -> void:
	var elapsed := Time.get_ticks_usec() - _start_us
	if Projectile.frame > _warmup:
		_samples.append(elapsed)
	if Projectile.frame >= _warmup + _frames:
		_report()


func _report() -> void:
	var flying := 0
	if _impl == "warfield":
		flying = _warfield.get_active_projectile_count()
	elif _impl == "manager":
		flying = _manager.count_flying()
	elif _impl == "leanmanager":
		for lean in _lean_managers:
			flying += lean.count_flying()
	else:
		for p in _projectiles:
			if not p.hit_over:
				flying += 1
	var total := 0
	for s in _samples:
		total += s
	var sorted := _samples.duplicate()
	sorted.sort()
	print("RESULT impl=%s kind=%s count=%d ms=%.4f median=%.4f flying=%d" % [
		_impl, _kind, _count, total / 1000.0 / _samples.size(),
		sorted[sorted.size() / 2] / 1000.0, flying])
	quit(0 if flying == _count else 1)
