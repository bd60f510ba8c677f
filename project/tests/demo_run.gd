extends SceneTree
## Runs the demo scene (main.tscn) in a 1280 x 720 root, as its window shows it,
## and checks that the battle goes on: turrets keep firing, every kind of shot
## ends by its own rule and is released, enemies die and come back, and the
## coins they drop are registered as ground items and released.
##
##     godot --headless --fixed-fps 60 --path project --script res://tests/demo_run.gd [-- frames=600]
##
## Prints one line per failed check, then "N passed, M failed"; exits with 1 on
## failure.

const Tally := preload("res://support/tally.gd")
const UserArgs := preload("res://support/user_args.gd")
const VIEW := Vector2i(1280, 720)  # project.godot's window
const KIND_NAMES := ["straight", "lob", "arc", "tracking", "catapult"]
# Shots leave every 20 frames and end within about two seconds, so a handful
# are in flight at once; finished shots that were never released would pile up.
const MAX_IN_FLIGHT := 16

var _tally := Tally.new()
var _ended := [0, 0, 0, 0, 0]  # shots of each kind that ended and were released
var _deaths := 0
var _coins := 0  # coins dropped
var _coins_gone := 0  # coins that released their slot and left
var _most_in_flight := 0


func _initialize() -> void:
	_run.call_deferred()


func _run() -> void:
	_tally.group = "demo"
	var frames: int = UserArgs.read({frames = 600}).frames
	# A headless engine starts with a 64x64 root; the node reads the play area
	# from it when it becomes ready.
	root.size = VIEW
	node_added.connect(_on_node_added)
	var main: Node = load("res://main.tscn").instantiate()
	root.add_child(main)
	var w: Node = main.get_node("Warfield")
	_tally.check(w.get_active_character_count() == 3, "three turrets registered")
	_tally.check(w.get_active_target_count() == 6, "six enemies registered")
	for i in frames:
		await physics_frame
		_most_in_flight = maxi(_most_in_flight, w.get_active_projectile_count())
	_tally.check(main._shots >= frames / main.FIRE_EVERY - 1, "the turrets kept firing (%d shots)" % main._shots)
	for kind in KIND_NAMES.size():
		_tally.check(_ended[kind] > 0, "a %s shot ended and was released" % KIND_NAMES[kind])
	_tally.check(_most_in_flight <= MAX_IN_FLIGHT, "at most %d shots in flight (%d)" % [MAX_IN_FLIGHT, _most_in_flight])
	_tally.check(_deaths > 0, "enemies died")
	_tally.check(_coins > 0 and _coins_gone > 0, "coins were dropped (%d) and released (%d)" % [_coins, _coins_gone])
	_tally.check(w.get_active_ground_item_count() == _coins - _coins_gone,
			"every coin on the field is a ground item (%d registered, %d coins)" % [
			w.get_active_ground_item_count(), _coins - _coins_gone])
	_tally.check(w.get_active_target_count() >= 1, "enemies are still registered")
	print("demo: %d frames, %d shots, ended by kind %s, %d enemies died, %d coins dropped" % [
			frames, main._shots, _ended, _deaths, _coins])
	main.queue_free()
	await process_frame
	_tally.finish(self)


func _on_node_added(node: Node) -> void:
	if node.has_method("launch"):
		node.tree_exiting.connect(_on_shot_leaving.bind(node))
	elif node.has_method("drop"):
		_coins += 1
		node.tree_exiting.connect(func() -> void: _coins_gone += 1 if node.slot < 0 else 0)
	elif node.has_signal("died"):
		node.died.connect(func(_t: Node2D) -> void: _deaths += 1)


# A shot frees itself once it ended and released its slot (counted before the
# scene is freed).
func _on_shot_leaving(shot: Node) -> void:
	if shot.slot < 0:
		_ended[shot.kind] += 1
