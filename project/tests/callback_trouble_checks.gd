extends RefCounted
## A script method the Warfield node calls but cannot call as declared
## (land_from_extension(slot)) is reported by the debug library once per
## script and method, in its own words; the release library says nothing,
## and a method a script does not have is never reported. Run by the self
## test, which says which library it loaded (-- library=debug|release).

const UserArgs := preload("res://support/user_args.gd")
const ProjectileLayout := preload("res://support/projectile_layout.gd")
const Refusing := preload("res://tests/refusing_projectile.gd")
const RefusingToo := preload("res://tests/refusing_projectile_too.gd")

## Long enough for every lob below to land, and then some.
const FRAMES := 100

var _t  # the self test


func _init(self_test) -> void:
	_t = self_test


func run() -> void:
	var library: String = UserArgs.read({"library": ""}).library
	_t._check(library in ["debug", "release"], "the runner says which library this is (library=%s)" % library)
	var w: Node = _t._make_warfield()
	# Two shots of one script, one of another that inherits the method, one
	# with no script at all (every callback absent).
	var shots: Array[Node2D] = [_lobbed(w, Refusing, 100), _lobbed(w, Refusing, 140),
			_lobbed(w, RefusingToo, 180), _lobbed(w, null, 220)]
	if library == "debug":
		for i in [0, 2]:
			_provokes_warning(shots[i])
	await _t._frames(FRAMES)
	_t._eq(w.get_active_projectile_count(), 0, "every lob landed (its refused callback did not stop the frame)")
	_t._eq([shots[0].landings, shots[1].landings, shots[2].landings], [0, 0, 0],
			"a refused land_from_extension never ran")
	_t._drop(w)


func _lobbed(w: Node, script: Script, x: float) -> Node2D:
	var shot := Node2D.new()
	if script:
		shot.set_script(script)
	shot.position = Vector2(x, 200)
	ProjectileLayout.add_children(shot)
	w.get_parent().add_child(shot)
	_t._shoot(w, shot, Warfield.LOB, {"velocity": Vector2(60, 0), "y_speed": -300.0, "gravity_val": 1000.0})
	return shot


# The warning the debug library prints for shot's script, word for word.
func _provokes_warning(shot: Node2D) -> void:
	print("engine-expects: WARNING: Warfield: the node could not call land_from_extension() on \"%s\" (script \"%s\"): it expects 1 argument(s) and the node passes none. It carries on without it; this is reported once per script and method."
			% [shot.get_path(), shot.get_script().resource_path])
