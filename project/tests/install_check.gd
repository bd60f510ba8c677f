extends SceneTree
## Checks an installed addon in a project of its own: copied there as
## res://tests/install_check.gd, with the two res://support/ scripts it uses, by
## scripts/test-engines.sh, after the addon zip was installed the way the
## editor installs it.
##
##     godot --headless --fixed-fps 60 --path GAME --script res://tests/install_check.gd -- addon=res://addons/warfield
##
## The class must be there, a lob shot fired through the addon's helpers must
## spin, come down at its aim point and land, and the addon's example scene
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
	await _check_example()
	_tally.finish(self)


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
