extends Node2D
## A projectile root for the self test: records every call the Warfield node
## makes on it, with the physics frame it came in.

var events: Array[String] = []
var frames := {}  # method name -> Array of Engine.get_physics_frames()
var hook := Callable()  # optional: called as hook.call(self, method_name)


func count(method: String) -> int:
	return frames.get(method, []).size()


func frames_of(method: String) -> Array:
	return frames.get(method, [])


func _record(method: String) -> void:
	events.append(method)
	if not frames.has(method):
		frames[method] = []
	frames[method].append(Engine.get_physics_frames())
	if hook.is_valid():
		hook.call(self, method)


func update_grid_pos() -> void: _record("update_grid_pos")
func check_shooter_height() -> void: _record("check_shooter_height")
func over_from_extension() -> void: _record("over_from_extension")
func land_from_extension() -> void: _record("land_from_extension")
func enable_monitoring() -> void: _record("enable_monitoring")
func disable_monitoring() -> void: _record("disable_monitoring")
func hit_target_from_extension() -> void: _record("hit_target_from_extension")
func target_died_from_extension() -> void: _record("target_died_from_extension")
func find_track_target() -> void: _record("find_track_target")
