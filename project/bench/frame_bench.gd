extends SceneTree
## One run of the frame benchmark, in one engine process:
##
##     godot --headless --fixed-fps 60 --path project --script res://bench/frame_bench.gd \
##         -- impl=warfield kind=straight count=10000 [frames=240] [warmup=30]
##
## impl: warfield (the extension node), pernode (a script per projectile node)
## or manager (one script looping over arrays). kind: straight, lob, arc,
## tracking, catapult or mixed (the five in turn). Every projectile flies for
## the whole run, so each frame does the same work. Prints one line:
##     RESULT impl=... kind=... count=... ms=<mean physics ms per frame> median=... flying=...

const Projectile := preload("res://bench/bench_projectile.gd")
const Manager := preload("res://bench/bench_manager.gd")
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
var _projectiles: Array[Projectile] = []
var _start_us := 0
var _samples := PackedInt64Array()


func _initialize() -> void:
	var args := UserArgs.read({impl = _impl, kind = _kind, count = _count, frames = _frames, warmup = _warmup})
	_impl = args.impl
	_kind = args.kind
	_count = args.count
	_frames = args.frames
	_warmup = args.warmup
	if not (_impl in ["warfield", "pernode", "manager"]) or not (_kind in KINDS or _kind == "mixed"):
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

	for i in _count:
		var kind: int = (i % 5) if _kind == "mixed" else KINDS.find(_kind)
		var node := Projectile.make()
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
