extends SceneTree
## Checks the Warfield extension inside a real Godot 4.5 engine:
##
##     godot --headless --path project --script res://tests/self_test.gd
##
## Prints one line per failed check, then "N passed, M failed", and exits with
## code 1 when any check failed. The godot editor binary loads the
## template_debug library, so build that first:
##     cmake --preset linux-debug && cmake --build --preset linux-debug --target warfield_extension
## The run takes a few seconds. It passes in release engines too
## (godot.*.template_release), which check everything but ClassDB's own copy of
## the method signatures: a release engine lists method names alone there.

const ProbeProjectile := preload("res://tests/probe_projectile.gd")
const ProbeTarget := preload("res://tests/probe_target.gd")
const ProjectileLayout := preload("res://support/projectile_layout.gd")
const Tally := preload("res://support/tally.gd")
const TreeChangeChecks := preload("res://tests/tree_change_checks.gd")
const TIME_LIMIT_MS := 90000
const DELTA := 1.0 / 60.0  # project/project.godot runs 60 physics ticks per second
const VIEW := Vector2i(1280, 720)
const MIN_INT := -9223372036854775807 - 1

# Every method in registration order, its arguments with their types
# (i int or instance id, f float, b bool, v2 Vector2, v2i Vector2i), its result
# (a[int]: an Array typed to int) and whether it is const.
const METHODS := [
	"register_projectile(node_instance_id:i, type:i, velocity:v2, speed:f, collision_flags:i, camp:i, grid_y:i, check_all:b, proj_height:f, projectile_height_enum:i, check_height:b, fire_length:f, check_distance:f, save_pos:v2, height:f, ground_height:f, fire_dir_x:i, y_speed:f, z_val:f, gravity_val:f, gravity_scale_val:f, target_instance_id:i, catapult_time:f, catapult_target_pos:v2, catapult_control_point:v2, rotate_follow_velocity:b, rotate_scale:f, config_use_range:b)->i",
	"unregister_projectile(id:i)",
	"set_projectile_hit_over(id:i, hit_over:b)",
	"set_projectile_velocity(id:i, velocity:v2)",
	"set_projectile_target(id:i, target_instance_id:i)",
	"set_projectile_grid_y(id:i, grid_y:i)",
	"get_active_projectile_count()->i const",
	"register_character(node_instance_id:i, sprite_group_id:i, shadow_sprite_id:i, transform_point_id:i, hitbox_id:i, save_shadow_scale:v2, save_shadow_position:v2, shadow_follow_height:b, ground_height:f, ground_right:f, grid_pos:v2i, rand_fresh_index:i, should_update_grid_pos:b, z_val:f, time_scale_init:f, hitpoints_near_death:f, config_hitpoints_near_death:f)->i",
	"unregister_character(id:i)",
	"set_character_blow_back(id:i, blow_back:b, blow_back_num:f)",
	"set_character_die(id:i, die:b)",
	"set_character_near_die(id:i, near_die:b)",
	"set_character_invisible(id:i, invisible:b)",
	"set_character_in_game(id:i, in_game:b)",
	"set_character_ice_speed_down(id:i, ice_speed_down:b)",
	"set_character_ground_height(id:i, ground_height:f)",
	"set_character_z(id:i, z_val:f)",
	"set_character_grid_pos(id:i, grid_pos:v2i)",
	"set_character_has_buffs(id:i, has_buffs:b)",
	"set_character_shadow_follow_height(id:i, follow:b)",
	"set_character_should_update_grid_pos(id:i, should:b)",
	"get_active_character_count()->i const",
	"register_target(node_instance_id:i, camp:i, grid_y:i, collision_flags:i, mask_flags:i, invincible:b, can_be_collection:b, die:b, near_die:b, all_line_check:b, height:i, global_position_x:f, global_position_y:f, is_item:b, is_crater:b, is_gravestone:b, is_vase:b, can_check:b, can_projectile_check:b, is_bowling_base:b)->i",
	"unregister_target(id:i)",
	"set_target_camp(id:i, camp:i)",
	"set_target_grid_y(id:i, grid_y:i)",
	"set_target_collision_flags(id:i, collision_flags:i)",
	"set_target_mask_flags(id:i, mask_flags:i)",
	"set_target_invincible(id:i, invincible:b)",
	"set_target_can_be_collection(id:i, can_be_collection:b)",
	"set_target_die(id:i, die:b)",
	"set_target_near_die(id:i, near_die:b)",
	"set_target_all_line_check(id:i, all_line_check:b)",
	"set_target_height(id:i, height:i)",
	"set_target_position(id:i, x:f, y:f)",
	"set_target_is_item(id:i, is_item:b)",
	"set_target_is_crater(id:i, is_crater:b)",
	"set_target_is_gravestone(id:i, is_gravestone:b)",
	"set_target_is_vase(id:i, is_vase:b)",
	"set_target_can_check(id:i, can_check:b)",
	"set_target_can_projectile_check(id:i, can_projectile_check:b)",
	"set_target_is_bowling_base(id:i, is_bowling_base:b)",
	"query_targets_in_line(camp:i, grid_y:i, collision_flags:i, check_all_line:b, self_grid_y:i)->a[int] const",
	"query_targets_in_range(camp:i, collision_flags:i, center_x:f, center_y:f, range_x:f, range_y:f)->a[int] const",
	"query_targets_all(camp:i, collision_flags:i)->a[int] const",
	"query_metallic_armor_targets(camp:i)->a[int] const",
	"get_active_target_count()->i const",
	"register_ground_item(node_instance_id:i, z_val:f, ground_height:f, y_speed:f, gravity:f, gravity_scale:f, is_ground:b, gravity_use:b)->i",
	"unregister_ground_item(id:i)",
	"set_ground_item_ground_height(id:i, ground_height:f)",
	"set_ground_item_y_speed(id:i, y_speed:f)",
	"set_ground_item_z(id:i, z_val:f)",
	"get_active_ground_item_count()->i const",
	"set_grid_size(size:v2)",
	"get_grid_size()->v2 const",
]

var _tally := Tally.new()
var _typed: Script  # tests/typed_calls.gd, loaded once the class is known
var _started_ms := 0
var _done := false


func _initialize() -> void:
	_started_ms = Time.get_ticks_msec()
	_run()


# A script error inside a check stops the coroutine; end the run anyway.
func _process(_delta: float) -> bool:
	if not _done and Time.get_ticks_msec() - _started_ms > TIME_LIMIT_MS:
		_tally.check(false, "the self test stopped here (see the script error above)")
		_finish()
	return false


func _run() -> void:
	await physics_frame
	if _check_class():
		await _check_processing()
		_check_method_table()
		_check_property()
		_check_constants()
		await _check_conversions()
		_check_slot_reuse()
		await _check_projectile_kinds()
		await TreeChangeChecks.new(self).run()
		# Loaded once the class is known: it names Warfield's constants.
		await load("res://tests/callback_trouble_checks.gd").new(self).run()
		await _check_queries()
		# The helpers name the class's constants: loaded only once it is known.
		await load("res://tests/helper_checks.gd").new(self).run()
		await _check_demo()
	_finish()


func _finish() -> void:
	if _done:
		return
	_done = true
	_tally.finish(self)


# --- Helpers ---------------------------------------------------------------

func _check(ok: bool, what: String) -> void:
	_tally.check(ok, what)


func _eq(got: Variant, want: Variant, what: String) -> void:
	_check(typeof(got) == typeof(want) and got == want, "%s: got %s, want %s" % [what, var_to_str(got), var_to_str(want)])


func _near(got: float, want: float, tolerance: float, what: String) -> void:
	_check(absf(got - want) <= tolerance, "%s: got %.6f, want %.6f" % [what, got, want])


# Each physics frame first emits physics_frame, then processes the nodes, so
# after n awaits the nodes have run n frames since the caller resumed.
func _frames(n: int) -> void:
	for _i in n:
		await physics_frame


# A Warfield in a viewport of known size, so that _ready sees the same play
# area whatever window (or none) the engine has.
func _make_warfield(force_physics := true) -> Node:
	var viewport := SubViewport.new()
	viewport.size = VIEW
	root.add_child(viewport)
	var w: Node = ClassDB.instantiate("Warfield")
	viewport.add_child(w)
	if force_physics:
		w.set_physics_process(true)
	return w


func _drop(w: Node) -> void:
	w.get_parent().queue_free()


func _probe(w: Node, at: Vector2, children := true) -> Node2D:
	var p: Node2D = ProbeProjectile.new()
	p.position = at
	if children:
		ProjectileLayout.add_children(p)
	w.get_parent().add_child(p)
	return p


func _node2d(w: Node, at: Vector2, script: Script = null) -> Node2D:
	var n := Node2D.new()
	if script:
		n.set_script(script)
	n.position = at
	w.get_parent().add_child(n)
	return n


# register_projectile with its 28 arguments; o overrides the defaults by name.
func _shoot(w: Node, node: Node2D, type: int, o := {}) -> int:
	var id := 0 if node == null else node.get_instance_id()
	var at := Vector2.ZERO if node == null else node.global_position
	return w.register_projectile(
		id,  # node_instance_id
		type,
		o.get("velocity", Vector2.ZERO),
		o.get("speed", 0.0),
		1,  # collision_flags
		0,  # camp
		0,  # grid_y
		false,  # check_all
		0.0,  # proj_height
		0,  # projectile_height_enum
		false,  # check_height
		o.get("fire_length", 0.0),
		o.get("check_distance", 0.0),
		o.get("save_pos", at),
		0.0,  # height
		o.get("ground_height", 0.0),
		o.get("fire_dir_x", 1),
		o.get("y_speed", 0.0),
		o.get("z_val", 0.0),
		o.get("gravity_val", 0.0),
		o.get("gravity_scale_val", 1.0),
		o.get("target", 0),
		0.0,  # catapult_time
		Vector2.ZERO,  # catapult_target_pos
		Vector2.ZERO,  # catapult_control_point
		o.get("rotate_follow_velocity", false),
		o.get("rotate_scale", 0.0),
		false)  # config_use_range


# register_target with its 20 arguments; o overrides the defaults by name.
# camp and grid_y stay untyped so that the value given reaches the method.
func _target(w: Node, node_id: int, camp: Variant, grid_y: Variant, o := {}) -> int:
	return w.register_target(
		node_id,
		camp,
		grid_y,
		0,  # collision_flags
		o.get("mask_flags", 1),
		o.get("invincible", false),
		o.get("can_be_collection", true),
		o.get("die", false),
		o.get("near_die", false),
		o.get("all_line_check", false),
		0,  # height
		o.get("x", 0.0),
		o.get("y", 0.0),
		false, o.get("is_crater", false), false, false, true, true, false)


func _ground_item(w: Node) -> int:
	return w.register_ground_item(0, 1.0, 0.0, 0.0, 980.0, 1.0, true, true)


func _character(w: Node, grid_pos: Variant) -> int:
	return w.register_character(0, 0, 0, 0, 0, Vector2.ONE, Vector2.ZERO, false, 0.0, 0.0, grid_pos, 0,
			false, 0.0, 1.0, 0.0, 0.0)


# Missing keys read as empty, so that an entry without them shows up as a
# mismatch instead of stopping the check with a script error.
func _signature(m: Dictionary) -> String:
	var args := PackedStringArray()
	for a in m.get("args", []):
		args.append("%s:%s" % [a["name"], _type_code(a)])
	var s := "%s(%s)" % [m.get("name", "?"), ", ".join(args)]
	var result: Dictionary = m.get("return", {})
	if result.get("type", TYPE_NIL) != TYPE_NIL:
		s += "->" + _type_code(result)
	var flags: int = m.get("flags", 0)
	if flags & METHOD_FLAG_CONST:
		s += " const"
	if flags & METHOD_FLAG_VARARG:
		s += " vararg"
	if flags & METHOD_FLAG_STATIC:
		s += " static"
	if not m.get("default_args", []).is_empty():
		s += " defaults"
	return s


func _type_code(p: Dictionary) -> String:
	match p["type"]:
		TYPE_BOOL:
			return "b"
		TYPE_INT:
			return "i"
		TYPE_FLOAT:
			return "f"
		TYPE_VECTOR2:
			return "v2"
		TYPE_VECTOR2I:
			return "v2i"
		TYPE_ARRAY:
			return "a[%s]" % p["hint_string"] if p["hint"] == PROPERTY_HINT_ARRAY_TYPE else "a"
	return type_string(p["type"])


func _first_frame(probe: Node2D, method: String) -> int:
	var f: Array = probe.frames_of(method)
	return -1 if f.is_empty() else f[0]


func _last_frame(probe: Node2D, method: String) -> int:
	var f: Array = probe.frames_of(method)
	return -1 if f.is_empty() else f[-1]


func _spaced(frames: Array, step: int) -> bool:
	if frames.size() < 2:
		return false
	for i in range(1, frames.size()):
		if frames[i] - frames[i - 1] != step:
			return false
	return true


# --- Checks ------------------------------------------------------------------

func _check_class() -> bool:
	_tally.group = "class"
	if not ClassDB.class_exists("Warfield"):
		_check(false, "class Warfield is missing: build the library into project/bin/ (scripts/build.sh) and keep res://warfield.gdextension listed in .godot/extension_list.cfg")
		return false
	_eq(String(ClassDB.get_parent_class("Warfield")), "Node", "parent class")
	_check(ClassDB.can_instantiate("Warfield"), "can be instantiated")
	var w: Object = ClassDB.instantiate("Warfield")
	_check(w is Node, "an instance is a Node")
	_eq(w.get_class(), "Warfield", "get_class()")
	w.free()
	_typed = load("res://tests/typed_calls.gd")
	_check(_typed != null, "tests/typed_calls.gd compiles against the Warfield class")
	return _typed != null


func _check_processing() -> void:
	_tally.group = "engine callbacks"
	var w := _make_warfield(false)
	_check(w.is_physics_processing(), "physics processing is on after _ready (the class overrides _physics_process)")
	_check(not w.is_processing(), "idle processing stays off (no _process override)")
	_check(not w.is_processing_input() and not w.is_processing_unhandled_input(), "input processing stays off")
	_eq(w.get_viewport().get_visible_rect(), Rect2(Vector2.ZERO, Vector2(VIEW)), "test viewport")
	w.set_physics_process(true)
	var gone := _shoot(w, null, 0)
	_eq(gone, 0, "first projectile slot")
	_eq(w.get_active_projectile_count(), 1, "active before a frame")
	await _frames(2)
	_eq(w.get_active_projectile_count(), 0, "a projectile whose node does not exist stops on the next frame")
	_eq(_shoot(w, null, 0), 1, "and keeps its slot until unregistered")
	_drop(w)


# A release engine's ClassDB.class_get_method_list gives each method's name
# alone; an instance's get_method_list gives the full signatures in every
# build, the class's own methods first. Both are checked wherever they can be.
func _check_method_table() -> void:
	_tally.group = "method table"
	var want_names: Array[String] = []
	for m in METHODS:
		want_names.append(m.get_slice("(", 0))
	var names: Array[String] = []
	for m in ClassDB.class_get_method_list("Warfield", true):
		names.append(m.get("name", ""))
	_eq(names, want_names, "ClassDB names in registration order")

	var w: Node = ClassDB.instantiate("Warfield")
	_compare_signatures(w.get_method_list().slice(0, METHODS.size()), "instance")
	w.free()
	if OS.is_debug_build():
		_compare_signatures(ClassDB.class_get_method_list("Warfield", true), "ClassDB")


# The projectile kinds: the class's only constants, one integer enum.
func _check_constants() -> void:
	_tally.group = "constants"
	var kinds := ["STRAIGHT", "LOB", "ARC", "TRACKING", "CATAPULT"]
	_eq(Array(ClassDB.class_get_integer_constant_list("Warfield", true)), kinds, "the class's constants, in order")
	_eq(Array(ClassDB.class_get_enum_list("Warfield", true)), ["ProjectileKind"], "its one enum")
	_eq(Array(ClassDB.class_get_enum_constants("Warfield", "ProjectileKind", true)), kinds, "the enum's constants")
	var values := []
	for k in kinds:
		values.append(ClassDB.class_get_integer_constant("Warfield", k))
	_eq(values, [0, 1, 2, 3, 4], "their values, as register_projectile's type takes them")
	_check(not ClassDB.is_class_enum_bitfield("Warfield", "ProjectileKind", true), "not a bitfield")


func _compare_signatures(list: Array, source: String) -> void:
	var got: Array[String] = []
	for m in list:
		got.append(_signature(m))
	_eq(got.size(), METHODS.size(), "%s: number of methods" % source)
	for i in mini(got.size(), METHODS.size()):
		_check(got[i] == METHODS[i], "%s: method %d: got %s, want %s" % [source, i + 1, got[i], METHODS[i]])


func _check_property() -> void:
	_tally.group = "grid_size"
	var info := {}
	for p in ClassDB.class_get_property_list("Warfield", true):
		if p["name"] == "grid_size":
			info = p
	_eq(info.get("type"), TYPE_VECTOR2, "property type")
	_eq(info.get("hint"), PROPERTY_HINT_NONE, "property hint")
	_eq(int(info.get("usage", 0)) & PROPERTY_USAGE_DEFAULT, PROPERTY_USAGE_DEFAULT, "stored and shown in the editor")
	var w: Node = ClassDB.instantiate("Warfield")
	_eq(w.grid_size, Vector2(80, 98), "a new node")
	w.grid_size = Vector2(-3.5, 0)
	_eq(w.get_grid_size(), Vector2(-3.5, 0), "property write, getter read")
	w.set_grid_size(Vector2(64, 48))
	_eq(w.grid_size, Vector2(64, 48), "setter write, property read")
	_eq(_typed.grid_size_round_trip(w, Vector2(12.5, 7)), Vector2(12.5, 7), "typed path")
	w.free()


func _check_conversions() -> void:
	_tally.group = "conversions"
	var w := _make_warfield()
	var far := {"x": 5000.0, "y": 5000.0}
	_eq(_target(w, 1001, 2147483648, 4294967296 + 7, far), 0, "slot ids start at 0")
	_eq(_target(w, -1, 11, 20, far), 1, "and count up")
	_target(w, MIN_INT, 11, 20, far)
	_target(w, 1003, 12, 21, {"x": 0.1, "y": 0.1})
	_target(w, 1004, 13, 22.75, far)
	_target(w, 0, 16, 24, far)
	_eq(_typed.register_target(w, -2, 4294967296 + 15, 4294967296 + 23, 0.1, 7000.0), 6, "typed path returns the slot id")
	_typed.set_target_grid_y(w, 6, 4294967296 + 25)
	await _frames(2)
	_eq(w.query_targets_all(-2147483648, 1), [1001], "camp 2^31 arrives as -2^31")
	_eq(w.query_targets_in_line(0, 7, 1, false, 7), [1001], "row 2^32 + 7 arrives as 7")
	_eq(w.query_targets_all(11, 1), [-1, MIN_INT], "instance ids 2^64 - 1 and 2^63 keep all 64 bits")
	_eq(w.query_targets_all(16, 1), [0], "instance id 0 is stored unchanged")
	_eq(w.query_targets_in_range(0, 1, 0.1000000005, 0.1000000005, 0.0, 0.0), [1003],
			"floats are narrowed to 32 bits: 0.1 and 0.1000000005 meet")
	_eq(w.query_targets_in_range(0, 1, 0.10000001, 0.1, 0.0, 0.0), [], "0.10000001 stays apart from 0.1")
	_eq(w.query_targets_in_line(0, 22, 1, false, 22), [1004], "a float 22.75 given for an int arrives as 22")
	_eq(_typed.targets_all(w, 15), [-2], "typed path: camp 2^32 + 15 arrives as 15")
	_eq(_typed.targets_in_line(w, 0, 25), [-2], "typed path: row 2^32 + 25 arrives as 25")
	_eq(_typed.targets_in_range(w, 0, 0.1000000005, 7000.0), [-2], "typed path: floats narrowed")
	_eq(w.call("get_active_target_count", 1, 2, 3), 7, "arguments beyond the declared ones are ignored")
	_eq(_typed.target_count(w), 7, "typed path: active count")
	_eq(w.query_targets_all(11, 1).get_typed_builtin(), TYPE_INT, "query results are arrays typed to int")
	_drop(w)


func _check_slot_reuse() -> void:
	_tally.group = "slot reuse"
	var w := _make_warfield()
	var ids := []
	for _i in 6:
		ids.append(_ground_item(w))
	_eq(ids, [0, 1, 2, 3, 4, 5], "new slots in order")
	w.unregister_ground_item(3)
	w.unregister_ground_item(5)
	_eq(_ground_item(w), 5, "the last released slot comes back first")
	_eq(_ground_item(w), 3, "then the one released before it")
	_eq(_typed.register_ground_item(w), 6, "then a new slot")
	_eq(w.get_active_ground_item_count(), 7, "active ground items")
	for bad in [-1, 7, 4294967296 + 100]:
		w.unregister_ground_item(bad)
		w.set_ground_item_z(bad, 1.0)
	_eq(w.get_active_ground_item_count(), 7, "ids outside the pool change nothing")
	w.unregister_ground_item(4294967296 + 2)
	_eq(w.get_active_ground_item_count(), 6, "id 2^32 + 2 releases slot 2")
	w.unregister_ground_item(2)
	var a := _ground_item(w)
	var b := _ground_item(w)
	_check(a != b, "a slot released twice is handed out once (got %d and %d)" % [a, b])

	_eq(_character(w, Vector2i(1, 2)), 0, "first character slot")
	_eq(_character(w, Vector2(1.5, 2.5)), 1, "a Vector2 given for the Vector2i grid_pos is converted")
	w.unregister_character(0)
	_eq(_character(w, Vector2i.ZERO), 0, "a released character slot is reused")
	w.set_character_die(0, true)
	w.set_character_in_game(0, false)
	_eq(w.get_active_character_count(), 2, "setters leave the character count alone")

	for i in 4:
		_target(w, 2000 + i, 1, 0)
	w.unregister_target(1)
	_eq(_target(w, 2010, 1, 0), 1, "a released target slot is reused")
	_eq(w.get_active_target_count(), 4, "active targets")

	var p := _probe(w, Vector2(640, 360))
	var s := _shoot(w, p, 7)
	w.set_projectile_hit_over(s, true)
	_eq(w.get_active_projectile_count(), 0, "set_projectile_hit_over(true) stops the projectile")
	var other := _shoot(w, p, 7)
	_check(other != s, "a finished projectile keeps its slot")
	w.set_projectile_hit_over(s, false)
	_eq(w.get_active_projectile_count(), 1, "clearing hit_over does not revive it")
	w.unregister_projectile(s)
	_eq(_shoot(w, p, 7), s, "unregistering a finished projectile frees its slot")
	_eq(w.get_active_projectile_count(), 2, "active projectiles")
	_drop(w)


func _check_projectile_kinds() -> void:
	_tally.group = "projectiles"
	var w := _make_warfield()
	# A straight shot without children and without range never ends: its
	# check_shooter_height calls count the frames.
	var clock := _probe(w, Vector2(10, 10), false)
	_shoot(w, clock, 0)
	var straight := _probe(w, Vector2(200, 100))
	_shoot(w, straight, 0, {"velocity": Vector2(480, 360), "fire_length": 1.0, "check_distance": 200.0,
			"rotate_follow_velocity": true})
	var spinner := _probe(w, Vector2(600, 600))
	_shoot(w, spinner, 7, {"velocity": Vector2(100, 0), "rotate_scale": 3.0, "fire_dir_x": -1})
	var lob := _probe(w, Vector2(300, 500))
	_shoot(w, lob, 1, {"velocity": Vector2(60, 0), "y_speed": -300.0, "gravity_val": 1000.0})
	var arc := _probe(w, Vector2(300, 650))
	_shoot(w, arc, 2, {"velocity": Vector2(60, 0), "y_speed": -800.0, "gravity_val": 2000.0,
			"rotate_follow_velocity": true})
	# The body is lifted before the monitoring call: its height is the one tested.
	var arc_heights := {"enable_monitoring": [], "disable_monitoring": []}
	arc.hook = func(probe: Node2D, method: String) -> void:
		if arc_heights.has(method):
			arc_heights[method].append(-probe.get_node("ProjectileBodyNode").position.y)
	var mark := _node2d(w, Vector2(840, 480))
	var tracker := _probe(w, Vector2(600, 300))
	var near_mark := _node2d(w, Vector2(161, 400))
	var creeper := _probe(w, Vector2(100, 400))  # 2 units a frame from 61 away: 29 at the hit
	_shoot(w, tracker, 3, {"speed": 600.0, "target": mark.get_instance_id()})
	_shoot(w, creeper, 3, {"speed": 120.0, "target": near_mark.get_instance_id()})
	var doomed := _node2d(w, Vector2(1000, 150))
	var seeker := _probe(w, Vector2(600, 150))
	var seeker_slot := _shoot(w, seeker, 3, {"speed": 120.0, "target": doomed.get_instance_id()})
	seeker.hook = func(probe: Node2D, method: String) -> void:
		if method == "find_track_target":
			var next := _node2d(w, probe.position + Vector2(40, 0))
			w.set_projectile_target(seeker_slot, next.get_instance_id())
	var catapult := _probe(w, Vector2(400, 600))
	_shoot(w, catapult, 4, {"velocity": Vector2(100, 0), "y_speed": -800.0, "rotate_follow_velocity": true})
	var thrown_out := _probe(w, Vector2(400, 100))
	_shoot(w, thrown_out, 4, {"y_speed": -800.0})
	var edge := _probe(w, Vector2(1200, 400))
	_shoot(w, edge, 0, {"velocity": Vector2(600, 0)})
	var followers: Array[Node2D] = []
	edge.hook = func(_probe_node: Node2D, method: String) -> void:
		if method == "over_from_extension":
			# Grows the pool from inside the frame; the shot appended last is
			# still stepped in this frame.
			for _i in 64:
				_shoot(w, null, 0)
			var follower := _probe(w, Vector2(100, 700))
			followers.append(follower)
			_shoot(w, follower, 0, {"velocity": Vector2(60, 0), "fire_length": 1.0, "check_distance": 0.0})
	var vanished := _probe(w, Vector2(640, 360))
	_shoot(w, vanished, 0)
	vanished.free()

	await _frames(3)
	doomed.free()
	await _frames(15)
	var lob_body_y: float = lob.get_node("ProjectileBodyNode").position.y
	var lob_shadow: Vector2 = lob.get_node("ShadowSprite").scale
	var cat_body_y: float = catapult.get_node("ProjectileBodyNode").position.y
	var cat_steps: int = clock.count("check_shooter_height")
	var cat_shadow: Vector2 = catapult.get_node("ShadowSprite").scale
	await _frames(60)

	var steps: int = clock.count("check_shooter_height")
	var first := _first_frame(clock, "check_shooter_height")
	_check(steps >= 77, "the clock shot was stepped every frame (%d steps)" % steps)
	_check(_spaced(clock.frames_of("update_grid_pos"), 5), "straight shots call update_grid_pos every 5th frame")
	_eq(w.get_active_projectile_count(), 2, "still flying at the end: the clock and the kind-7 shot")

	_tally.group = "straight"
	var n: int = straight.count("check_shooter_height")
	_eq(straight.count("over_from_extension"), 1, "over_from_extension once")
	_eq(straight.events.back(), "over_from_extension", "over_from_extension is the last call")
	_check(n >= 20 and n <= 21, "ends on the first frame beyond check_distance 200 at 10 units a frame (%d frames)" % n)
	_near(straight.position.x, 200.0 + 8.0 * n, 0.05, "x after its frames")
	_near(straight.position.y, 100.0 + 6.0 * n, 0.05, "y after its frames")
	_near(straight.get_node("ProjectileBodyNode").rotation, atan2(360.0, 480.0), 1e-5, "body turned along its velocity")
	_eq(_first_frame(straight, "over_from_extension"), _last_frame(straight, "check_shooter_height"),
			"ends in its last stepped frame")

	_tally.group = "kind 7"
	_eq(spinner.position, Vector2(600, 600), "a kind outside 0 to 4 never moves")
	_eq(spinner.events.size(), 0, "and gets no script call")
	_near(spinner.get_node("ProjectileBodyNode/ProjectileSprite").rotation, -3.0 * DELTA * steps, 1e-3,
			"its sprite spins by delta * rotate_scale * fire_dir_x each frame")

	_tally.group = "lob"
	_eq(lob.events, ["enable_monitoring", "land_from_extension"], "calls")
	var lob_land := _first_frame(lob, "land_from_extension")
	_eq(lob_land, _first_frame(lob, "enable_monitoring") + 1, "lands on the frame after it touches down")
	_near(lob.position.x, 300.0 + (lob_land - first + 1), 0.05, "moved every frame up to the landing")
	_check(lob_body_y < -30.0, "body raised mid-flight (%f)" % lob_body_y)
	_near(lob_shadow.x, 1.0 + lob_body_y / 600.0, 1e-4, "shadow scale is 1 - height / 600")
	_eq(lob_shadow.x, lob_shadow.y, "shadow scaled uniformly")

	_tally.group = "arc"
	var e: Array[String] = arc.events
	var flights: int = arc.count("enable_monitoring") + arc.count("disable_monitoring")
	_eq(arc.count("land_from_extension"), 1, "lands once")
	_eq(e.back(), "land_from_extension", "landing is the last call")
	_eq(flights + 1, e.size(), "one monitoring call on every flight frame")
	var armed := false
	var order_ok := not e.is_empty() and e[0] == "disable_monitoring"
	for i in e.size() - 1:
		if e[i] == "enable_monitoring":
			armed = true
		elif armed:
			order_ok = false
	_check(order_ok and armed, "disarmed while rising and high, armed below 60 while falling (%d off, %d on)" % [
			arc.count("disable_monitoring"), arc.count("enable_monitoring")])
	var armed_heights: Array = arc_heights["enable_monitoring"]
	var disarmed_heights: Array = arc_heights["disable_monitoring"]
	_check(not armed_heights.is_empty() and armed_heights.max() < 60.0, "armed only below 60 (%s)" % [armed_heights])
	_check(not disarmed_heights.is_empty() and disarmed_heights.back() >= 60.0,
			"disarmed down to 60 on the way down (last at %s)" % [disarmed_heights.back() if disarmed_heights else null])
	_eq(_first_frame(arc, "land_from_extension"), _last_frame(arc, "enable_monitoring") + 1,
			"lands on the frame after its last flight frame")
	_near(arc.position.x, 300.0 + flights, 0.05, "moves on flight frames only")
	var arc_body: Node2D = arc.get_node("ProjectileBodyNode")
	_check(arc_body.rotation > 0.0 and arc_body.rotation < PI / 2.0, "body turned down along the fall (%f)" % arc_body.rotation)
	_check(arc_body.position.y > -60.0 and arc_body.position.y <= 0.0, "body left at its last height (%f)" % arc_body.position.y)

	_tally.group = "tracking"
	_eq(tracker.events.filter(func(m: String) -> bool: return m != "update_grid_pos"),
			["hit_target_from_extension"], "calls other than update_grid_pos")
	var miss := tracker.position.distance_to(mark.position)
	_check(miss >= 19.0 and miss < 30.0, "hits within 30 units and does not move on the hit frame (%f)" % miss)
	var creep_miss := creeper.position.distance_to(near_mark.position)
	_eq(creeper.events.back(), "hit_target_from_extension", "a slow tracking shot hits its target")
	_check(creep_miss >= 28.0 and creep_miss < 30.0, "at 2 units a frame, hits on the first frame within 30 (%f)" % creep_miss)
	var turned: float = tracker.get_node("ProjectileBodyNode").rotation
	_check(turned > 0.5 and turned < atan2(180.0, 240.0), "body turns smoothly toward the target (%f)" % turned)

	_tally.group = "tracking, lost target"
	_eq(seeker.count("target_died_from_extension"), 1, "target_died_from_extension once after its target was freed")
	_eq(seeker.count("find_track_target"), 1, "find_track_target until a script gives it a target")
	var find_frame := _first_frame(seeker, "find_track_target")
	_check(seeker.frames_of("update_grid_pos").has(find_frame), "find_track_target follows update_grid_pos")
	_check(_first_frame(seeker, "target_died_from_extension") < find_frame, "the loss is reported first")
	_eq(seeker.count("hit_target_from_extension"), 1, "hits the target set from inside find_track_target")
	_eq(seeker.events.back(), "hit_target_from_extension", "the hit is the last call")

	_tally.group = "catapult"
	var cat_land := _first_frame(catapult, "land_from_extension")
	_eq(catapult.count("land_from_extension"), 1, "lands once")
	_eq(catapult.count("over_from_extension"), 0, "stays in the play area")
	_eq(catapult.events.back(), "land_from_extension", "landing is the last call")
	_eq(catapult.count("enable_monitoring"), catapult.events.size() - 1, "only enable_monitoring before the landing")
	_eq(_last_frame(catapult, "enable_monitoring"), cat_land, "armed in the landing frame too")
	_near(catapult.position.x, 400.0 + 100.0 * DELTA * (cat_land - first + 1), 0.05, "moved every frame up to the landing")
	_eq(catapult.get_node("HitBox").position, catapult.get_node("ProjectileBodyNode").position, "hit box raised with the body")
	# Thrown at 800 up under the catapult gravity of 2000: after each frame's
	# speed change the height changes by the new speed.
	var cat_z := 0.0
	var cat_vy := -800.0
	for _i in cat_steps:
		cat_vy += 2000.0 * DELTA
		cat_z -= cat_vy * DELTA
	_near(-cat_body_y, cat_z, 0.05, "body raised to its height under the catapult gravity after %d frames" % cat_steps)
	_near(cat_shadow.x, maxf(1.0 + cat_body_y / 600.0, 0.0), 1e-4, "shadow scale is 1 - height / 600")
	_eq(thrown_out.events, ["over_from_extension"], "a throw whose body rises above the play area ends as over")
	_check(thrown_out.get_node("ProjectileBodyNode").global_position.y < 0.0, "with its body above the top edge")

	_tally.group = "play area"
	_eq(edge.count("over_from_extension"), 1, "a straight shot leaving on the right ends once")
	_check(edge.position.x >= 1380.0 and edge.position.x <= 1390.01,
			"on its first frame at x >= width + 100 (%f)" % edge.position.x)

	_tally.group = "re-entrancy"
	_eq(followers.size(), 1, "the over_from_extension hook ran once")
	if followers.size() == 1:
		var follower := followers[0]
		_eq(_first_frame(follower, "check_shooter_height"), _first_frame(edge, "over_from_extension"),
				"a shot registered inside a callback is stepped in the same frame")
		_eq(follower.events.filter(func(m: String) -> bool: return m != "update_grid_pos"),
				["check_shooter_height", "over_from_extension"], "and ends there by range")
	_drop(w)


func _check_queries() -> void:
	_tally.group = "queries"
	var w := _make_warfield()
	_eq(w.query_targets_all(1, 1), [], "empty pool: query_targets_all")
	_eq(w.query_targets_in_line(0, 0, 1, true, 0), [], "empty pool: query_targets_in_line")
	_eq(w.query_targets_in_range(0, 1, 0.0, 0.0, 1e9, 1e9), [], "empty pool: query_targets_in_range")
	_eq(w.query_metallic_armor_targets(0), [], "empty pool: query_metallic_armor_targets")
	var layouts := [
		[1, 2, {"x": 100.0, "y": 100.0}],  # 0: an enemy in row 2
		[1, 3, {"x": 200.0, "y": 100.0}],  # 1: an enemy in row 3
		[0, 2, {"x": 100.0, "y": 100.0}],  # 2: the asker's own camp
		[1, 2, {"x": 100.0, "y": 100.0, "mask_flags": 2}],  # 3: no bit in common with 1; armoured
		[1, 2, {"x": 100.0, "y": 100.0, "die": true}],  # 4: armoured
		[1, 4, {"x": 300.0, "y": 300.0, "all_line_check": true}],  # 5: armoured
		[1, 2, {"x": 100.0, "y": 100.0, "can_be_collection": false}],  # 6
		[1, 2, {"x": 100.0, "y": 100.0, "is_crater": true}],  # 7
		[1, 2, {"x": 100.0, "y": 100.0, "near_die": true}],  # 8
		[1, 2, {"x": 100.0, "y": 100.0, "invincible": true}],  # 9: armoured
	]
	var armoured := [3, 4, 5, 9]
	var nodes: Array[Node2D] = []
	var ids: Array[int] = []
	for i in layouts.size():
		var node := _node2d(w, Vector2.ZERO, ProbeTarget)
		node.armored = armoured.has(i)
		nodes.append(node)
		ids.append(node.get_instance_id())
		_eq(_target(w, ids[i], layouts[i][0], layouts[i][1], layouts[i][2]), i, "target slot %d" % i)
	var plain := _node2d(w, Vector2.ZERO)  # has no has_metallic_armor method
	var plain_id := plain.get_instance_id()
	_target(w, plain_id, 1, 5, {"x": 900.0, "y": 900.0})
	_eq(w.query_targets_in_line(0, 2, 1, false, 2), [], "the index is built by the next physics frame")
	await _frames(2)

	_eq(w.query_targets_in_line(0, 2, 1, false, 2), [ids[0]], "in_line: own row, only hittable enemies")
	_eq(w.query_targets_in_line(0, 2, 1, true, 2), [ids[0], ids[1], ids[5], plain_id],
			"in_line with check_all_line: this row first, then the others in slot order")
	_eq(w.query_targets_in_line(0, 4, 1, false, 2), [ids[5]], "in_line, another row: only all_line_check targets")
	_eq(w.query_targets_in_line(0, 3, 1, false, 2), [], "in_line, another row without all_line_check")
	_eq(w.query_targets_in_line(0, 3, 1, false, 3), [ids[1]], "in_line, the asker's own row")
	_eq(w.query_targets_in_line(0, 9, 1, true, 9), [], "in_line: a row without targets gives nothing")
	_eq(w.query_targets_in_line(0, 2, 0, true, 2), [], "in_line: collision_flags 0 gives nothing")
	_eq(w.query_targets_in_range(0, 1, 150.0, 100.0, 50.0, 0.0), [ids[0], ids[1]], "in_range: edges are inside")
	_eq(w.query_targets_in_range(0, 1, 150.0, 100.0, 49.5, 0.0), [], "in_range: just short of both")
	_eq(w.query_targets_in_range(0, 1, 100.0, 100.0, 0.0, 0.0), [ids[0]], "in_range: zero size keeps the centre")
	_eq(w.query_targets_in_range(0, 1, 150.0, 100.0, -50.0, 0.0), [], "in_range: a negative range is empty")
	_eq(w.query_targets_in_range(1, 1, 150.0, 100.0, 50.0, 0.0), [ids[2]], "in_range: camp 1 sees camp 0")
	_eq(w.query_targets_all(1, 1), [ids[0], ids[1], ids[5], plain_id], "all: the hittable targets of camp 1")
	_eq(w.query_targets_all(0, 1), [ids[2]], "all: camp 0")
	_eq(w.query_targets_all(1, 2), [ids[3]], "all: another mask")
	_eq(w.query_metallic_armor_targets(0), [ids[3], ids[5], ids[9]], "metallic: asks every live enemy that is not dying")
	_eq(nodes[4].asked + nodes[2].asked, 0, "metallic: dying targets and the own camp are not asked")
	_eq(w.query_metallic_armor_targets(1), [], "metallic: camp 1 asks camp 0")
	_eq(nodes[2].asked, 1, "metallic: the camp 0 target was asked once")
	for result in [w.query_targets_in_line(0, 2, 1, true, 2), w.query_targets_in_range(0, 1, 0, 0, 1, 1),
			w.query_targets_all(1, 1), w.query_metallic_armor_targets(0)]:
		_eq(result.get_typed_builtin(), TYPE_INT, "results are arrays typed to int")

	w.unregister_target(0)
	_eq(w.query_targets_in_line(0, 2, 1, false, 2), [], "an unregistered target is gone at once")
	_eq(w.query_targets_in_range(0, 1, 150.0, 100.0, 50.0, 0.0), [ids[1]], "from every query")
	w.set_target_mask_flags(3, 1)
	_eq(w.query_targets_all(1, 1), [ids[1], ids[3], ids[5], plain_id], "a changed mask counts at once")
	w.set_target_grid_y(1, 2)
	_eq(w.query_targets_in_line(0, 2, 1, true, 2), [ids[3], ids[5], plain_id],
			"a changed row waits for the next frame's index")
	await _frames(2)
	_eq(w.query_targets_in_line(0, 2, 1, true, 2), [ids[1], ids[3], ids[5], plain_id], "and is indexed after it")
	nodes[5].free()
	_eq(w.query_metallic_armor_targets(0), [ids[3], ids[9]], "metallic: a freed node is skipped")
	_drop(w)


# Announces the errors the next calls print on purpose, so that whoever reads
# the engine's output (scripts/test-engines.sh) can tell them from faults.
func _provokes(errors: Array) -> void:
	for error in errors:
		print("engine-expects: ERROR: %s" % error)


func _check_demo() -> void:
	_tally.group = "demo"
	var shot: Node = load("res://projectile.tscn").instantiate()
	for path in ["ProjectileBodyNode", "ProjectileBodyNode/ProjectileSprite", "ShadowSprite", "HitBox"]:
		_check(shot.get_node_or_null(path) is Node2D, "projectile.tscn has a Node2D at %s" % path)
	for method in ["update_grid_pos", "check_shooter_height", "over_from_extension", "land_from_extension",
			"enable_monitoring", "disable_monitoring", "hit_target_from_extension", "target_died_from_extension",
			"find_track_target"]:
		_check(shot.has_method(method), "projectile.gd has %s" % method)
	shot.free()
	var enemy: Node = load("res://target.tscn").instantiate()
	_check(enemy.has_method("has_metallic_armor"), "target.gd has has_metallic_armor")
	enemy.free()

	var viewport := SubViewport.new()
	viewport.size = VIEW
	root.add_child(viewport)
	var main: Node = load("res://main.tscn").instantiate()
	viewport.add_child(main)
	var w: Node = main.get_node("Warfield")
	_eq(w.get_active_character_count(), 3, "three turrets registered")
	_eq(w.get_active_target_count(), 6, "six enemies registered")
	await _frames(150)
	_check(main._shots >= 7, "the turrets kept firing (%d shots)" % main._shots)
	_check(w.get_active_target_count() >= 1, "enemies are still registered")
	viewport.queue_free()
