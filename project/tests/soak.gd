extends SceneTree
## Soak test: thousands of physics frames of random script traffic against one
## Warfield node, with callbacks that re-enter it (register, unregister, query,
## free nodes, rename and move children). After every frame the node's four
## active counts must equal a model kept here, and every query answer must
## name only live enemy targets.
##
##     godot --headless --path project --script res://tests/soak.gd [-- frames=3000 seed=1]
##
## Prints "soak: N frames, M checks, K failures" and exits with 1 on any failure.
## Run it in a debug engine and read its output for engine errors and for the
## leak report at exit: there must be none.

const WarfieldShot := preload("res://addons/warfield/shot.gd")
const WarfieldTarget := preload("res://addons/warfield/target.gd")
const WarfieldCharacter := preload("res://addons/warfield/character.gd")
const WarfieldGroundItem := preload("res://addons/warfield/ground_item.gd")
const FrameClock := preload("res://support/frame_clock.gd")
const ProjectileLayout := preload("res://support/projectile_layout.gd")
const UserArgs := preload("res://support/user_args.gd")
const VIEW := Vector2i(1280, 720)
const MAX_PROJECTILES := 300  # released slots are reused; finished ones stay until released
const FINISHING := ["over_from_extension", "land_from_extension", "hit_target_from_extension"]


class SoakProjectile:
	extends Node2D
	var soak
	var slot := -1

	func update_grid_pos() -> void: soak.on_callback(self, "update_grid_pos")
	func check_shooter_height() -> void: soak.on_callback(self, "check_shooter_height")
	func over_from_extension() -> void: soak.on_callback(self, "over_from_extension")
	func land_from_extension() -> void: soak.on_callback(self, "land_from_extension")
	func enable_monitoring() -> void: soak.on_callback(self, "enable_monitoring")
	func disable_monitoring() -> void: soak.on_callback(self, "disable_monitoring")
	func hit_target_from_extension() -> void: soak.on_callback(self, "hit_target_from_extension")
	func target_died_from_extension() -> void: soak.on_callback(self, "target_died_from_extension")
	func find_track_target() -> void: soak.on_callback(self, "find_track_target")


class SoakTarget:
	extends Node2D
	var soak

	func has_metallic_armor() -> bool:
		return soak.on_metallic(self)


var _rng := RandomNumberGenerator.new()
var _frames := 3000
var _frame := 0
var _checks := 0
var _failures := 0
var _w: Node
var _world: Node2D
# Projectile slot -> {node, id, finished, gone_after}: gone_after is the frame
# after which the node no longer counts (its record is noticed then), or -1.
var _projectiles := {}
var _targets := {}  # slot -> {node, id, camp}
var _ever_targets := {}  # instance id -> true, for every target node ever registered
var _characters := {}  # slot -> its node
var _items := {}  # slot -> its node
var _stepping := -1  # slot of the projectile whose callback runs, -1 outside one
var _in_frame := false
var _depth := 0
# Nodes whose script method is running. A debug engine refuses to free them
# ("Object is locked"), so scripts queue them for deletion instead.
var _busy := {}
var _callbacks := 0
var _registered := 0
var _freed := 0
var _children_touched := 0


func _initialize() -> void:
	var args := UserArgs.read({frames = _frames, seed = 1})
	_frames = args.frames
	_rng.seed = args.seed
	_build.call_deferred()


# Built once the tree runs: a headless engine sizes its root viewport 64x64
# when it starts, and the node's _ready reads the play area.
func _build() -> void:
	await process_frame
	root.size = VIEW
	FrameClock.bracket(root, _before_frame, _after_frame)
	_world = Node2D.new()
	root.add_child(_world)
	_w = ClassDB.instantiate("Warfield")
	_world.add_child(_w)
	for i in 40:
		_spawn_target()
	for i in 100:
		_spawn_projectile()


func _check(ok: bool, what: String) -> void:
	_checks += 1
	if not ok:
		_failures += 1
		if _failures <= 20:
			print("FAIL frame %d: %s" % [_frame, what])


# --- The frame ---------------------------------------------------------------

func _before_frame() -> void:
	_frame += 1
	_in_frame = true
	# Traffic between frames: the node notices anything done here this frame.
	for i in _rng.randi_range(0, 6):
		_random_action(null)


func _after_frame() -> void:
	_in_frame = false
	_check_counts()
	if _frame >= _frames:
		_finish()


func _check_counts() -> void:
	var active := 0
	for slot in _projectiles:
		var p: Dictionary = _projectiles[slot]
		if not p.finished and (p.gone_after < 0 or p.gone_after > _frame):
			active += 1
	_check(_w.get_active_projectile_count() == active,
		"active projectiles %d, model %d" % [_w.get_active_projectile_count(), active])
	_check(_w.get_active_target_count() == _targets.size(), "active targets")
	_check(_w.get_active_character_count() == _characters.size(), "active characters")
	_check(_w.get_active_ground_item_count() == _items.size(), "active ground items")


func _finish() -> void:
	print("soak: %d frames, %d callbacks, %d projectiles registered, %d projectile nodes freed, %d children changed" % [
		_frame, _callbacks, _registered, _freed, _children_touched])
	print("soak: %d frames, %d checks, %d failures" % [_frame, _checks, _failures])
	# Free every node this run made; the engine reports any left at exit.
	_world.queue_free()
	quit(1 if _failures > 0 else 0)


# --- Callbacks ---------------------------------------------------------------

func on_callback(p: SoakProjectile, method: String) -> void:
	var id := p.get_instance_id()
	_busy[id] = _busy.get(id, 0) + 1
	_on_callback(p, method)
	_busy[id] -= 1
	if _busy[id] == 0:
		_busy.erase(id)


func _on_callback(p: SoakProjectile, method: String) -> void:
	_callbacks += 1
	_check(_in_frame, "%s called outside the physics frame" % method)
	var slot := p.slot
	if slot < 0:
		return  # released inside an earlier callback of this step, which goes on
	_check(_projectiles.has(slot) and _projectiles[slot].node == p, "%s on a node the model does not know" % method)
	if not _projectiles.has(slot):
		return
	if method in FINISHING:
		_check(not _projectiles[slot].finished, "%s on a finished projectile" % method)
		_projectiles[slot].finished = true
		# Games release a projectile when it ends, often from this very call.
		if _rng.randi_range(0, 2) != 0:
			_unregister_projectile(slot)
			return
	if _depth > 2:
		return
	# Most callbacks do nothing, as in a game; some re-enter the node.
	if _rng.randi_range(0, 5) != 0:
		return
	var outer := _stepping
	_stepping = slot
	_depth += 1
	for i in _rng.randi_range(1, 2):
		_random_action(p)
	_depth -= 1
	_stepping = outer


func on_metallic(t: SoakTarget) -> bool:
	if _depth <= 2 and _rng.randi_range(0, 3) == 0:
		_depth += 1
		var id := t.get_instance_id()
		_busy[id] = _busy.get(id, 0) + 1
		_random_action(null)
		_busy[id] -= 1
		if _busy[id] == 0:
			_busy.erase(id)
		_depth -= 1
	return _rng.randi_range(0, 1) == 0


# --- Traffic -----------------------------------------------------------------

func _random_action(caller: SoakProjectile) -> void:
	match _rng.randi_range(0, 13):
		0, 1:
			_spawn_projectile()
		2:
			_free_projectile_node(caller if caller != null and _rng.randi_range(0, 1) == 0 else _any_projectile_node())
		3:
			_unregister_projectile(caller.slot if caller != null and _rng.randi_range(0, 1) == 0 else _any(_projectiles))
		4:
			_spawn_target()
		5:
			_unregister_target(_any(_targets))
		6:
			_query()
		7:
			_touch_children(caller if caller != null else _any_projectile_node())
		8:
			var slot := _any(_projectiles)
			if slot >= 0:
				_w.set_projectile_velocity(slot, Vector2(_rng.randf_range(-50, 50), _rng.randf_range(-50, 50)))
		9:
			var slot := _any(_projectiles)
			var target := _any(_targets)
			if slot >= 0:
				_w.set_projectile_target(slot, _targets[target].id if target >= 0 else 0)
		10:
			var body := Node.new()
			_world.add_child(body)
			_characters[WarfieldCharacter.new().with({grid_pos = Vector2i(1, 2), hitpoints_near_death = 10.0,
				config_hitpoints_near_death = 10.0}).register(_w, body)] = body
			var gone := _any(_characters)
			if gone >= 0 and _rng.randi_range(0, 1) == 0:
				_w.unregister_character(gone)
				_release(_characters[gone])
				_characters.erase(gone)
		11:
			var item := Node.new()
			_world.add_child(item)
			_items[WarfieldGroundItem.falling_from(10.0).register(_w, item)] = item
			var gone := _any(_items)
			if gone >= 0 and _rng.randi_range(0, 1) == 0:
				_w.unregister_ground_item(gone)
				_release(_items[gone])
				_items.erase(gone)
		12:
			var slot := _any(_targets)
			if slot >= 0:
				_w.set_target_grid_y(slot, _rng.randi_range(0, 4))
				_w.set_target_position(slot, _rng.randf_range(0, 1280), _rng.randf_range(0, 720))
		_:
			var slot := _any(_projectiles)
			if slot >= 0 and _rng.randi_range(0, 3) == 0:
				_w.set_projectile_hit_over(slot, true)
				if not _projectiles[slot].finished:
					_projectiles[slot].finished = true


func _any(pool: Dictionary) -> int:
	if pool.is_empty():
		return -1
	return pool.keys()[_rng.randi_range(0, pool.size() - 1)]


func _any_projectile_node() -> SoakProjectile:
	var slot := _any(_projectiles)
	if slot < 0 or not is_instance_valid(_projectiles[slot].node):
		return null
	return _projectiles[slot].node


func _spawn_projectile() -> void:
	if _projectiles.size() >= MAX_PROJECTILES:
		return
	var p := SoakProjectile.new()
	p.soak = self
	p.position = Vector2(_rng.randf_range(0, 1280), _rng.randf_range(0, 720))
	ProjectileLayout.add_children(p)
	_world.add_child(p)
	var kind := _rng.randi_range(0, 5)  # 5 is no kind: never moved
	var target := _any(_targets)
	var v := Vector2(_rng.randf_range(-200, 200), _rng.randf_range(-100, 100))
	# Any kind with the same plain fields: a straight shot's, with its type changed.
	var shot := WarfieldShot.straight(v).with({type = kind, speed = 150.0, camp = _rng.randi_range(0, 1),
		grid_y = _rng.randi_range(0, 4), fire_length = _rng.randf_range(-1, 1), check_distance = 400.0,
		y_speed = _rng.randf_range(-500, 0), target = _targets[target].node if target >= 0 else null,
		rotate_follow_velocity = _rng.randi_range(0, 1) == 0, rotate_scale = 4.0})
	var slot := shot.fire(_w, p)
	# A reused slot held a released record, which no longer counts.
	p.slot = slot
	_registered += 1
	_projectiles[slot] = {node = p, id = p.get_instance_id(), finished = false, gone_after = -1}


# The record of a node freed now is noticed at its next step: later in this
# frame when its slot is still to come, else in the next frame.
func _free_projectile_node(p: SoakProjectile) -> void:
	if p == null or not is_instance_valid(p):
		return
	var slot := p.slot
	var busy := _busy.has(p.get_instance_id())
	if _projectiles.has(slot) and _projectiles[slot].node == p and _projectiles[slot].gone_after < 0:
		# Outside a projectile's callback, traffic runs before the node's step;
		# a node queued for deletion goes at the end of the frame.
		var noticed_now := not busy and (_stepping < 0 or slot > _stepping)
		_projectiles[slot].gone_after = _frame if noticed_now else _frame + 1
	_freed += 1
	_release(p)


func _release(n: Node) -> void:
	if _busy.has(n.get_instance_id()):
		n.queue_free()
	else:
		n.free()


func _unregister_projectile(slot: int) -> void:
	if slot < 0 or not _projectiles.has(slot):
		return
	_w.unregister_projectile(slot)
	var p = _projectiles[slot].node
	_projectiles.erase(slot)
	if is_instance_valid(p):
		p.slot = -1
		if _rng.randi_range(0, 1) == 0:
			_release(p)


func _spawn_target() -> void:
	var t := SoakTarget.new()
	t.soak = self
	t.position = Vector2(_rng.randf_range(0, 1280), _rng.randf_range(0, 720))
	_world.add_child(t)
	var camp := _rng.randi_range(0, 1)
	var slot := WarfieldTarget.of_camp(camp).with({grid_y = _rng.randi_range(0, 4),
		all_line_check = _rng.randi_range(0, 3) == 0}).register(_w, t)
	_targets[slot] = {node = t, id = t.get_instance_id(), camp = camp}
	_ever_targets[t.get_instance_id()] = true


func _unregister_target(slot: int) -> void:
	if slot < 0:
		return
	_w.unregister_target(slot)
	var t = _targets[slot].node
	_targets.erase(slot)
	if is_instance_valid(t) and _rng.randi_range(0, 1) == 0:
		_release(t)


func _query() -> void:
	var camp := _rng.randi_range(0, 1)
	var kind := _rng.randi_range(0, 3)
	var found: Array
	match kind:
		0: found = _w.query_targets_in_line(camp, _rng.randi_range(0, 4), 1, _rng.randi_range(0, 1) == 0, 2)
		1: found = _w.query_targets_in_range(camp, 1, 640.0, 360.0, 400.0, 300.0)
		2: found = _w.query_targets_all(1 - camp, 1)
		_: found = _w.query_metallic_armor_targets(camp)
	var registered := {}
	var enemies := {}
	for slot in _targets:
		registered[_targets[slot].id] = true
		if _targets[slot].camp != camp:
			enemies[_targets[slot].id] = true
	for id in found:
		match kind:
			0, 1: _check(enemies.has(id), "a lane or area query found %d, no registered enemy" % id)
			# The camp index may be a frame old, so only registration is sure.
			2: _check(registered.has(id), "a camp query found %d, no registered target" % id)
			# Its own callbacks may have released what it found.
			_: _check(_ever_targets.has(id), "a metallic query found %d, never a target" % id)


# Children renamed, moved to another projectile, replaced or freed: the node
# must find each child as a lookup by path would.
func _touch_children(p: SoakProjectile) -> void:
	if p == null or not is_instance_valid(p) or p.get_child_count() == 0:
		return
	var child := p.get_child(_rng.randi_range(0, p.get_child_count() - 1))
	_children_touched += 1
	match _rng.randi_range(0, 3):
		0:
			child.name = ["ProjectileBodyNode", "ShadowSprite", "HitBox", "Renamed"][_rng.randi_range(0, 3)]
		1:
			var other := _any_projectile_node()
			if other != null and other != p and not child.is_ancestor_of(other):
				child.reparent(other, false)
		2:
			var fresh := Node2D.new()
			fresh.name = child.name
			child.free()
			p.add_child(fresh)
		_:
			child.free()
