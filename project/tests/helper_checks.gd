extends RefCounted
## The GDScript helpers in addons/warfield (WarfieldShot, WarfieldTarget,
## WarfieldCharacter, WarfieldGroundItem), run by the self test, whose checks
## and nodes it uses. The helpers name the class's constants, so the self test
## loads this file only once it has seen the class.
##
## Each helper's list must be the one its register method declares: every
## field in the argument of its name, with the argument's type; the values
## worked out from nodes must be the nodes'; each kind must fly as it needs.

const WarfieldShot := preload("res://addons/warfield/shot.gd")
const WarfieldTarget := preload("res://addons/warfield/target.gd")
const WarfieldCharacter := preload("res://addons/warfield/character.gd")
const WarfieldGroundItem := preload("res://addons/warfield/ground_item.gd")
const ProbeTarget := preload("res://tests/probe_target.gd")
const DELTA := 1.0 / 60.0

var _t  # the self test


func _init(self_test) -> void:
	_t = self_test


func run() -> void:
	var w: Node = _t._make_warfield()
	w.grid_size = Vector2(80, 100)
	_arguments(w)
	_from_nodes(w)
	_defaults(w)
	_registered(w)
	_t._drop(w)
	await _flights()
	_fields()
	_refusals()


func _check(ok: bool, what: String) -> void:
	_t._check(ok, what)


func _eq(got: Variant, want: Variant, what: String) -> void:
	_t._eq(got, want, what)


# The register methods' arguments as the node declares them, by method name.
func _declared(w: Node) -> Dictionary:
	var out := {}
	for m in w.get_method_list():
		if m.name.begins_with("register_"):
			out[m.name] = m.args
	return out


# Where args differs in number or type from the declared arguments; "" when
# it does not.
func _type_mismatch(args: Array, declared: Array) -> String:
	if args.size() != declared.size():
		return "%d arguments, want %d" % [args.size(), declared.size()]
	for i in args.size():
		if typeof(args[i]) != declared[i].type:
			return "%s is %s, want %s" % [declared[i].name, type_string(typeof(args[i])), type_string(declared[i].type)]
	return ""


# Sets each field of helper that feeds an argument after node_instance_id to
# a value of the argument's type that differs from its neighbours'; returns
# the values the arguments must then hold. An argument named after no field
# (sprite_group_id, target_instance_id) takes a node field of its name without
# the id suffix: it gets a node of its own, and the argument that node's id.
func _distinct_fields(w: Node, helper: RefCounted, declared: Array) -> Array:
	var values := []
	for i in range(1, declared.size()):
		var name: String = declared[i].name
		var value: Variant = {TYPE_INT: 10 + i, TYPE_FLOAT: 0.5 + i, TYPE_BOOL: i % 2 == 0,
				TYPE_VECTOR2: Vector2(i, -i), TYPE_VECTOR2I: Vector2i(i, -i)}.get(declared[i].type)
		if name == "global_position_x":  # with global_position_y after it
			helper.position = Vector2(0.5 + i, 1.5 + i)
			value = helper.position.x
		elif name == "global_position_y":
			value = helper.position.y
		elif name in helper:
			helper.with({name: value})
		else:
			var part := Node.new()
			w.get_parent().add_child(part)
			helper.with({name.trim_suffix("_instance_id").trim_suffix("_id"): part})
			value = part.get_instance_id()
		values.append(value)
	return values


# Each field reaches the argument of its name, in the type the method declares.
func _arguments(w: Node) -> void:
	_t._tally.group = "helpers: arguments"
	var declared := _declared(w)
	var node: Node2D = _t._probe(w, Vector2(320, 250))
	var helpers := {
		"register_projectile": ["WarfieldShot", WarfieldShot.straight(Vector2(3, 4))],
		"register_target": ["WarfieldTarget", WarfieldTarget.of_camp(3)],
		"register_character": ["WarfieldCharacter", WarfieldCharacter.new()],
		"register_ground_item": ["WarfieldGroundItem", WarfieldGroundItem.new()],
	}
	for method in helpers:
		var what: String = helpers[method][0]
		var helper: RefCounted = helpers[method][1]
		var args: Array = declared.get(method, [])
		_eq(_type_mismatch(helper.arguments_for(w, node), args), "", "%s: its defaults have the types of %s's arguments" % [what, method])
		var wanted := _distinct_fields(w, helper, args)
		var got: Array = helper.arguments_for(w, node)
		_eq(got, [node.get_instance_id()] + wanted, "%s: every field in its argument" % what)
		_eq(_type_mismatch(got, args), "", "%s: and in its type" % what)


# The values worked out from nodes when a field is left null.
func _from_nodes(w: Node) -> void:
	_t._tally.group = "helpers: values from nodes"
	var node: Node2D = _t._probe(w, Vector2(320, 250))
	var derived := WarfieldShot.straight(Vector2(3, 4)).arguments_for(w, node)
	_eq([derived[3], derived[6], derived[13]], [5.0, 2, Vector2(320, 250)],
			"WarfieldShot: speed, grid_y and save_pos from the velocity and the node")
	derived = WarfieldTarget.of_camp(1).arguments_for(w, node)
	_eq([derived[2], derived[11], derived[12]], [2, 320.0, 250.0], "WarfieldTarget: grid_y and position from the node")

	# grid_pos: the cell holding the node's global position, in grid_size cells.
	var character := WarfieldCharacter.new()
	_eq(character.arguments_for(w, node)[10], Vector2i(4, 2), "WarfieldCharacter: grid_pos is the node's cell")
	var above: Node2D = _t._node2d(w, Vector2(-10, -1))
	_eq(character.arguments_for(w, above)[10], Vector2i(-1, -1), "left of and above the origin: the cells at -1")
	var child := Node2D.new()
	child.position = Vector2(70, 50)
	var parent: Node2D = _t._node2d(w, Vector2(100, 100))
	parent.add_child(child)
	_eq(character.arguments_for(w, child)[10], Vector2i(2, 1), "from the global position, not the position in its parent")
	var loose := Node2D.new()
	loose.position = Vector2(170, 420)
	_eq(character.arguments_for(w, loose)[10], Vector2i(2, 4), "outside the tree: from its position")
	loose.free()
	var plain := Node.new()
	_eq(character.arguments_for(w, plain)[10], Vector2i.ZERO, "a node without a position: cell (0, 0)")
	character.grid_pos = Vector2i(7, 8)
	_eq(character.arguments_for(w, node)[10], Vector2i(7, 8), "a grid_pos given is kept")

	# The shadow's scale and position, and the parts' ids.
	var shadow := Node2D.new()
	shadow.scale = Vector2(2, 0.5)
	shadow.position = Vector2(3, -4)
	node.add_child(shadow)
	var group := Node.new()
	var args := WarfieldCharacter.with_parts(group, shadow).arguments_for(w, node)
	_eq(args.slice(1, 7), [group.get_instance_id(), shadow.get_instance_id(), 0, 0, Vector2(2, 0.5), Vector2(3, -4)],
			"WarfieldCharacter: parts' ids, and the shadow sprite's scale and position")
	args = WarfieldCharacter.with_parts(null, shadow).with({save_shadow_scale = Vector2(5, 5),
			save_shadow_position = Vector2.ZERO}).arguments_for(w, node)
	_eq(args.slice(5, 7), [Vector2(5, 5), Vector2.ZERO], "a shadow scale and position given are kept")
	args = WarfieldCharacter.with_parts(null, plain).arguments_for(w, node)
	_eq(args.slice(2, 7), [plain.get_instance_id(), 0, 0, Vector2.ONE, Vector2.ZERO],
			"a shadow without a transform: scale (1, 1), position (0, 0)")
	var gone := WarfieldCharacter.with_parts(group, shadow)
	shadow.free()
	args = gone.arguments_for(w, node)
	_eq(args.slice(1, 7), [group.get_instance_id(), 0, 0, 0, Vector2.ONE, Vector2.ZERO],
			"a shadow freed before registering: id 0, scale (1, 1), position (0, 0)")
	args = WarfieldCharacter.with_parts(plain, shadow).arguments_for(w, node)
	_eq(args.slice(1, 3), [plain.get_instance_id(), 0], "a part already freed is none")
	group.free()
	plain.free()

	# A tracking shot's target, given as a node.
	var mark: Node2D = _t._node2d(w, Vector2(900, 100))
	var shot := WarfieldShot.tracking(300.0, mark)
	_eq(shot.arguments_for(w, node)[21], mark.get_instance_id(), "WarfieldShot.tracking: the target's instance id")
	mark.free()
	_eq(shot.arguments_for(w, node)[21], 0, "a target freed before firing: 0")
	_eq(WarfieldShot.tracking(300.0, mark).arguments_for(w, node)[21], 0, "a target already freed: 0")
	_eq(WarfieldShot.tracking(300.0).arguments_for(w, node)[21], 0, "no target: 0")


func _defaults(w: Node) -> void:
	_t._tally.group = "helpers: defaults"
	var node: Node2D = _t._node2d(w, Vector2(100, 150))
	var id := node.get_instance_id()
	_eq(WarfieldCharacter.new().arguments_for(w, node), [id, 0, 0, 0, 0, Vector2.ONE, Vector2.ZERO, false, 0.0, 0.0,
			Vector2i(1, 1), 0, true, 0.0, 1.0, 0.0, 0.0], "WarfieldCharacter.new()")
	var parts: Array[Node] = [Node.new(), Node.new(), Node.new(), Node.new()]
	var args := WarfieldCharacter.with_parts(parts[0], parts[1], parts[2], parts[3]).arguments_for(w, node)
	_eq(args.slice(1, 5), parts.map(func(n: Node) -> int: return n.get_instance_id()),
			"with_parts(sprite_group, shadow_sprite, transform_point, hitbox) in that order")
	for part in parts:
		part.free()
	var lying := [id, 0.0, 0.0, 0.0, 980.0, 1.0, true, true]
	_eq(WarfieldGroundItem.new().arguments_for(w, node), lying, "WarfieldGroundItem.new(): lying on the ground")
	_eq(WarfieldGroundItem.on_ground().arguments_for(w, node), lying, "WarfieldGroundItem.on_ground()")
	_eq(WarfieldGroundItem.falling_from(25.0).arguments_for(w, node), [id, 25.0, 0.0, 0.0, 980.0, 1.0, false, true],
			"WarfieldGroundItem.falling_from(25): at 25, not on the ground, under gravity")


# What register() passes, the node takes: a slot id back, counted as active.
func _registered(w: Node) -> void:
	_t._tally.group = "helpers: registration"
	var a: Node2D = _t._node2d(w, Vector2(100, 150))
	var b: Node2D = _t._node2d(w, Vector2(300, 450))
	var shadow := Node2D.new()
	b.add_child(shadow)
	_eq([WarfieldCharacter.new().register(w, a), WarfieldCharacter.with_parts(b, shadow, b, b).register(w, b)], [0, 1],
			"WarfieldCharacter.register returns the slot ids")
	_eq(w.get_active_character_count(), 2, "and the node counts both")
	_eq([WarfieldGroundItem.falling_from(10.0).register(w, a), WarfieldGroundItem.on_ground().register(w, b)], [0, 1],
			"WarfieldGroundItem.register returns the slot ids")
	_eq(w.get_active_ground_item_count(), 2, "and the node counts both")
	_eq(WarfieldTarget.of_camp(1).register(w, a), 0, "WarfieldTarget.register returns the slot id")
	_eq(w.get_active_target_count(), 1, "and the node counts it")


# Each kind's defaults fly as the kind needs.
func _flights() -> void:
	_t._tally.group = "helpers: flights"
	var w: Node = _t._make_warfield()
	w.grid_size = Vector2(80, 100)
	var landing := {Warfield.LOB: Vector2(700, 300), Warfield.ARC: Vector2(500, 450),
			Warfield.CATAPULT: Vector2(900, 600)}
	var throws := {Warfield.LOB: WarfieldShot.lob, Warfield.ARC: WarfieldShot.arc,
			Warfield.CATAPULT: WarfieldShot.catapult}
	var probes := {}
	var flight_frames := {}
	var fired_at := Engine.get_physics_frames()
	for kind in landing:
		var s: WarfieldShot = throws[kind].call(Vector2.ZERO, 120.0)
		probes[kind] = _t._probe(w, Vector2(200, 400))
		_check(s.aim_at(landing[kind]).fire(w, probes[kind]) >= 0, "kind %d registers" % kind)
		flight_frames[kind] = roundi(s.flight_time() / DELTA)
	var mark: Node2D = _t._node2d(w, Vector2(1000, 100))
	var tracker: Node2D = _t._probe(w, Vector2(200, 100))
	WarfieldShot.tracking(900.0, mark).fire(w, tracker)
	var straight: Node2D = _t._probe(w, Vector2(100, 650))
	WarfieldShot.straight(Vector2(600, 0)).with_range(300.0).fire(w, straight)
	var enemy: Node2D = _t._node2d(w, Vector2(640, 180), ProbeTarget)
	WarfieldTarget.of_camp(1).register(w, enemy)
	var peak := 0.0
	for _i in 90:
		await _t.physics_frame
		peak = maxf(peak, -probes[Warfield.LOB].get_node("ProjectileBodyNode").position.y)
	_t._near(peak, 120.0, 6.0, "a lob rises to its peak height")
	for kind in landing:
		var p: Node2D = probes[kind]
		_eq(p.events.back(), "land_from_extension", "kind %d lands" % kind)
		_check(p.position.distance_to(landing[kind]) < 1.0, "kind %d comes down at its aim point (%s)" % [kind, p.position])
		# flight_time() counts the frames that move the shot, the first being
		# this frame's; a lob or a catapult lands in its last one, an arc in
		# the frame after it.
		var last_move: int = fired_at + flight_frames[kind] - 1
		_eq(_t._first_frame(p, "land_from_extension"), last_move + (1 if kind == Warfield.ARC else 0),
				"kind %d lands in the frame flight_time() predicts" % kind)
	_eq(tracker.events.back(), "hit_target_from_extension", "a tracking shot given its target node hits it")
	_eq(straight.events.back(), "over_from_extension", "a straight shot ends by range")
	_t._near(straight.position.x, 410.0, 10.1, "at its range")
	_eq(w.query_targets_in_line(0, 1, 1, false, 1), [enemy.get_instance_id()], "a target is found in its row")
	_t._drop(w)


# with() sets the helper's own public fields, with values they can hold, and
# nothing else. Each refusal prints an error.
func _fields() -> void:
	_t._tally.group = "helpers: fields"
	var freed := Node.new()
	freed.free()
	var node := Node2D.new()
	_t._provokes(["WarfieldShot has no field script", "WarfieldShot.velocity cannot hold 3",
			"WarfieldShot has no field _aim", "WarfieldShot.speed cannot hold Vector2(1, 1)",
			"WarfieldShot.target cannot hold 5", "WarfieldShot.target cannot hold 12345",
			"WarfieldTarget has no field script", "WarfieldTarget.mask_flags cannot hold Vector2(1, 1)",
			"WarfieldTarget.position cannot hold 4",
			"WarfieldCharacter.hitbox cannot hold a Resource", "WarfieldCharacter.grid_pos cannot hold \"x\"",
			"WarfieldCharacter.save_shadow_scale cannot hold true",
			"WarfieldGroundItem.gravity cannot hold Vector2(1, 1)", "WarfieldGroundItem has no field node"])
	var shot := WarfieldShot.straight(Vector2(3, 4)).with({"script": null, "velocity": 3, "_aim": Vector2.ONE,
			"catapult_target_pos": Vector2i(5, 6), "camp": 2.0, "speed": Vector2.ONE, "grid_y": 4.0,
			"type": Warfield.ARC})
	shot.with({"target": node}).with({"target": 5})
	_check(shot.target == node, "a node field takes a node, and no instance id")
	shot.with({"target": freed})
	_check(shot.target == null, "a freed node clears it")
	_eq(WarfieldShot.tracking(300.0, 12345).target, null, "WarfieldShot.tracking takes no instance id")
	var target := WarfieldTarget.of_camp(1).with({"script": null, "mask_flags": Vector2.ONE, "die": 1,
			"position": 4, "grid_y": 3})
	_check(shot.get_script() == WarfieldShot and target.get_script() == WarfieldTarget, "the script is no field")
	_eq([shot.velocity, shot.get("_aim"), target.mask_flags, shot.speed, target.position], [Vector2(3, 4), null, 1, null, null],
			"a private field or a value the field cannot hold is skipped")
	_eq([shot.catapult_target_pos, shot.camp, target.die, shot.grid_y, shot.type], [Vector2(5, 6), 2, true, 4, 2],
			"values the engine converts are set, converted")
	var character := WarfieldCharacter.new().with({"hitbox": Resource.new(), "grid_pos": "x",
			"save_shadow_scale": true, "sprite_group": node})
	character.with({"grid_pos": Vector2(1.5, -2.5), "save_shadow_position": Vector2i(3, 4)})
	_eq([character.hitbox, character.sprite_group, character.save_shadow_scale], [null, node, null],
			"WarfieldCharacter: only nodes in the part fields, only vectors in the shadow's")
	_eq([character.grid_pos, character.save_shadow_position], [Vector2i(1, -2), Vector2(3, 4)],
			"WarfieldCharacter: a Vector2 grid_pos is held as the Vector2i the engine would pass, and the other way")
	var item := WarfieldGroundItem.new().with({"gravity": Vector2.ONE, "node": node, "y_speed": -3})
	_eq([item.gravity, item.y_speed], [980.0, -3.0], "WarfieldGroundItem: a vector is no gravity; an int speed is a float")
	node.free()


# Registering needs a Warfield node and a live node; each refusal returns -1
# and prints an error.
func _refusals() -> void:
	_t._tally.group = "helpers: refusals"
	var w: Node = _t._make_warfield()
	var node := Node2D.new()
	var plain := Node.new()
	var freed := Node2D.new()
	freed.free()
	var gone: Node = ClassDB.instantiate("Warfield")
	gone.free()
	var messages := ["WarfieldShot.fire needs a Warfield node and a projectile Node2D",
			"WarfieldTarget.register needs a Warfield node and a target node",
			"WarfieldCharacter.register needs a Warfield node and a character node",
			"WarfieldGroundItem.register needs a Warfield node and a ground item node"]
	_t._provokes(messages + messages + messages + messages + [messages[0]])
	var refused := func(warfield: Variant, what: Variant) -> Array:
		return [WarfieldShot.straight(Vector2.ONE).fire(warfield, what),
				WarfieldTarget.of_camp(1).register(warfield, what),
				WarfieldCharacter.new().register(warfield, what),
				WarfieldGroundItem.new().register(warfield, what)]
	_eq(refused.call(plain, node), [-1, -1, -1, -1], "a node that is not a Warfield is refused")
	_eq(refused.call(gone, node), [-1, -1, -1, -1], "a freed Warfield is refused")
	_eq(refused.call(w, null), [-1, -1, -1, -1], "no node to register is refused")
	_eq(refused.call(w, freed), [-1, -1, -1, -1], "a freed node is refused, in release builds too")
	_eq(WarfieldShot.straight(Vector2.ONE).fire(w, plain), -1, "a projectile that is no Node2D is refused")
	_eq([w.get_active_projectile_count(), w.get_active_target_count(), w.get_active_character_count(),
			w.get_active_ground_item_count()], [0, 0, 0, 0], "and nothing is registered")
	node.free()
	plain.free()
	_t._drop(w)
