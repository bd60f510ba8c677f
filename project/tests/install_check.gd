extends SceneTree
## Checks an installed addon in a project of its own: copied there as
## res://tests/install_check.gd, with the two res://support/ scripts it uses, by
## scripts/test-engines.sh, after the addon zip was installed the way the
## editor installs it.
##
##     godot --headless --fixed-fps 60 --path GAME --script res://tests/install_check.gd -- addon=res://addons/warfield
##
## The class must be there, a lob shot fired through the addon's helpers must
## spin, come down at its aim point and land, the other helpers must load
## where the addon is and register through it, and the addon's example scene
## must land its shot on its target. Prints one line per failed
## check, then "N passed, M failed"; exits with 1 on failure.

const ProjectileLayout := preload("res://support/projectile_layout.gd")
const Tally := preload("res://support/tally.gd")
const VIEW := Vector2i(1280, 720)
const START := Vector2(200, 300)
const AIM := Vector2(520, 300)
const MAX_FRAMES := 300  # the throw below is up for about 60


## A projectile root: counts landings and where they happened.
class Landing:
	extends Node2D
	var landed_at: Array[Vector2] = []

	func land_from_extension() -> void:
		landed_at.append(position)

	func enable_monitoring() -> void:
		pass


var _tally := Tally.new()
var _addon := ""


func _initialize() -> void:
	for arg in OS.get_cmdline_user_args():
		if arg.begins_with("addon="):
			_addon = arg.trim_prefix("addon=")
	_tally.group = "install %s" % _addon
	_run.call_deferred()


func _run() -> void:
	_tally.check(_addon != "", "the addon folder is given (addon=res://...)")
	_tally.check(ClassDB.class_exists("Warfield"), "the Warfield class is loaded from %s/warfield.gdextension" % _addon)
	var shot_script: Script = load(_addon.path_join("shot.gd")) if _addon != "" else null
	_tally.check(shot_script != null, "%s/shot.gd loads" % _addon)
	if _tally.failed > 0:
		_tally.finish(self)
		return
	root.size = VIEW
	var w: Node = ClassDB.instantiate("Warfield")
	root.add_child(w)
	var shot := Landing.new()
	shot.position = START
	ProjectileLayout.add_children(shot)
	var body: Node2D = shot.get_node("ProjectileBodyNode")
	var sprite: Node2D = shot.get_node("ProjectileBodyNode/ProjectileSprite")
	root.add_child(shot)
	var slot: int = shot_script.lob(Vector2.ZERO, 120.0).aim_at(AIM).fire(w, shot)
	_tally.check(slot >= 0, "the helper registers the shot (slot %d)" % slot)
	var frames := 0
	var peak := 0.0
	while shot.landed_at.is_empty() and frames < MAX_FRAMES:
		await physics_frame
		frames += 1
		peak = maxf(peak, -body.position.y)
	_tally.check(shot.landed_at.size() == 1, "the shot lands once (after %d frames)" % frames)
	if not shot.landed_at.is_empty():
		_tally.check(shot.landed_at[0].distance_to(AIM) < 1.0, "it lands at its aim point (%s)" % shot.landed_at[0])
	_tally.check(absf(peak - 120.0) < 6.0, "it rises to its peak height (%.1f)" % peak)
	_tally.check(sprite.rotation != 0.0, "its sprite spins")
	_tally.check(w.get_active_projectile_count() == 0, "a landed shot is no longer active")
	w.unregister_projectile(slot)
	shot.free()
	w.free()
	_check_helpers()
	await _check_example()
	_tally.finish(self)


# The other helpers, loaded from the addon folder wherever it is: each one's
# arguments have the types its register method declares, and it registers.
func _check_helpers() -> void:
	var w: Node = ClassDB.instantiate("Warfield")
	root.add_child(w)
	var declared := {}
	for m in w.get_method_list():
		declared[m.name] = m.args
	var unit := Node2D.new()
	unit.position = Vector2(170, 250)
	var shadow := Node2D.new()
	shadow.scale = Vector2(2, 2)
	unit.add_child(shadow)
	root.add_child(unit)
	var mark := Node2D.new()
	root.add_child(mark)
	var helpers := [
		["shot.gd", "register_projectile", func(h: Script) -> Object: return h.tracking(300.0, mark)],
		["target.gd", "register_target", func(h: Script) -> Object: return h.of_camp(1)],
		["character.gd", "register_character", func(h: Script) -> Object: return h.with_parts(null, shadow)],
		["ground_item.gd", "register_ground_item", func(h: Script) -> Object: return h.falling_from(20.0)],
	]
	var slots := []
	for entry in helpers:
		var helper_script: Script = load(_addon.path_join(entry[0]))
		_tally.check(helper_script != null, "%s/%s loads" % [_addon, entry[0]])
		if helper_script == null:
			continue
		var helper: Object = entry[2].call(helper_script)
		var args: Array = helper.arguments_for(w, unit)
		var types := args.map(func(a: Variant) -> int: return typeof(a))
		var want: Array = declared[entry[1]].map(func(a: Dictionary) -> int: return a.type)
		_tally.check(types == want, "%s gives %s's arguments in their types" % [entry[0], entry[1]])
		if entry[0] == "shot.gd":
			_tally.check(args[1] == ClassDB.class_get_integer_constant("Warfield", "TRACKING") and
					args[21] == mark.get_instance_id(), "a tracking shot with its target node")
			slots.append(helper.fire(w, unit))
		else:
			slots.append(helper.register(w, unit))
	_tally.check(slots == [0, 0, 0, 0], "each registers (slots %s)" % [slots])
	_tally.check([w.get_active_projectile_count(), w.get_active_target_count(), w.get_active_character_count(),
			w.get_active_ground_item_count()] == [1, 1, 1, 1], "and is counted")
	w.free()
	unit.free()
	mark.free()


func _check_example() -> void:
	var scene: PackedScene = load(_addon.path_join("example/example.tscn"))
	_tally.check(scene != null, "%s/example/example.tscn loads" % _addon)
	if scene == null:
		return
	var example := scene.instantiate()
	var hits := []
	example.shot_landed.connect(func(ids: Array[int]) -> void: hits.append_array(ids))
	root.add_child(example)
	for _i in MAX_FRAMES:
		await physics_frame
		if example.landed_count > 0:
			break
	_tally.check(example.landed_count == 1, "the example's shot lands")
	_tally.check(example.get_node("Target").get_instance_id() in hits, "on the example's target")
	example.free()
