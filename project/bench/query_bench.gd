extends SceneTree
## One run of the query benchmark, in one engine process:
##
##     godot --headless --path project --script res://bench/query_bench.gd \
##         -- impl=warfield|gdscript [count=1000] [reps=300]
##
## Registers the same targets with a Warfield node and in GDScript arrays, lets
## one physics frame build the node's index, checks once that both answer every
## query alike, then times the queries of one implementation. Prints one line
## per query:
##     RESULT impl=... query=line|range|all|metallic count=... us=<per call> found=...

const Target := preload("res://bench/bench_target.gd")
const UserArgs := preload("res://support/user_args.gd")

var _impl := "warfield"
var _count := 1000
var _reps := 300
var _warfield: Node
var _nodes: Array[Node2D] = []
var _ids := PackedInt64Array()
var _camps := PackedInt32Array()
var _rows := PackedInt32Array()
var _masks := PackedInt32Array()
var _xs := PackedFloat32Array()
var _ys := PackedFloat32Array()
var _line_all := PackedByteArray()
var _hittable := PackedByteArray()  # every flag of the hittable test but the mask
var _die := PackedByteArray()


func _initialize() -> void:
	var args := UserArgs.read({impl = _impl, count = _count, reps = _reps})
	_impl = args.impl
	_count = args.count
	_reps = args.reps
	_warfield = ClassDB.instantiate("Warfield")
	root.add_child(_warfield)
	for i in _count:
		var t := Target.new()
		t.metallic = i % 3 == 0
		root.add_child(t)
		var camp := i % 2
		var row := i % 5
		var mask := 1 | (2 if i % 3 == 0 else 0)
		var die := i % 17 == 0
		var near_die := i % 19 == 0
		var invincible := i % 23 == 0
		var collectable := i % 29 != 0
		var crater := i % 31 == 0
		var line_all := i % 7 == 0
		var x := float((i * 37) % 1280)
		var y := float((i * 53) % 720)
		_warfield.register_target(t.get_instance_id(), camp, row, 0, mask, invincible, collectable, die,
			near_die, line_all, 0, x, y, false, crater, false, false, true, true, false)
		_nodes.append(t)
		_ids.append(t.get_instance_id())
		_camps.append(camp)
		_rows.append(row)
		_masks.append(mask)
		_xs.append(x)
		_ys.append(y)
		_line_all.append(1 if line_all else 0)
		_hittable.append(1 if not (die or near_die or invincible or crater) and collectable else 0)
		_die.append(1 if die else 0)
	_run.call_deferred()


func _run() -> void:
	await physics_frame
	await physics_frame  # the node has rebuilt its index
	var ok := true
	for q in ["line", "range", "all", "metallic"]:
		var mine: Array = _query(q, "warfield")
		var theirs: Array = _query(q, "gdscript")
		if mine != theirs:
			printerr("query_bench: %s answers differ (%d and %d ids)" % [q, mine.size(), theirs.size()])
			ok = false
		for w in 10:
			_query(q, _impl)
		var start := Time.get_ticks_usec()
		for r in _reps:
			_query(q, _impl)
		var us := float(Time.get_ticks_usec() - start) / _reps
		print("RESULT impl=%s query=%s count=%d us=%.3f found=%d" % [_impl, q, _count, us, mine.size()])
	quit(0 if ok else 1)


func _query(q: String, impl: String) -> Array:
	if impl == "warfield":
		match q:
			"line": return _warfield.query_targets_in_line(0, 2, 1, false, 2)
			"range": return _warfield.query_targets_in_range(0, 1, 640.0, 360.0, 300.0, 200.0)
			"all": return _warfield.query_targets_all(1, 1)
			_: return _warfield.query_metallic_armor_targets(0)
	match q:
		"line": return _line(0, 2, 1, false, 2)
		"range": return _range(0, 1, 640.0, 360.0, 300.0, 200.0)
		"all": return _all(1, 1)
		_: return _metallic(0)


# --- The GDScript scans -------------------------------------------------------

func _line(camp: int, grid_y: int, flags: int, check_all: bool, self_grid_y: int) -> Array[int]:
	var found: Array[int] = []
	for i in _count:
		if _rows[i] == grid_y and _hittable[i] != 0 and _masks[i] & flags != 0 and _camps[i] != camp \
				and (check_all or _rows[i] == self_grid_y or _line_all[i] != 0):
			found.append(_ids[i])
	if check_all:
		for i in _count:
			if _rows[i] != grid_y and _hittable[i] != 0 and _masks[i] & flags != 0 and _camps[i] != camp:
				found.append(_ids[i])
	return found


func _range(camp: int, flags: int, cx: float, cy: float, rx: float, ry: float) -> Array[int]:
	var found: Array[int] = []
	var left := cx - rx
	var right := cx + rx
	var top := cy - ry
	var bottom := cy + ry
	for i in _count:
		if _hittable[i] != 0 and _masks[i] & flags != 0 and _camps[i] != camp \
				and _xs[i] >= left and _xs[i] <= right and _ys[i] >= top and _ys[i] <= bottom:
			found.append(_ids[i])
	return found


func _all(camp: int, flags: int) -> Array[int]:
	var found: Array[int] = []
	for i in _count:
		if _camps[i] == camp and _hittable[i] != 0 and _masks[i] & flags != 0:
			found.append(_ids[i])
	return found


func _metallic(camp: int) -> Array[int]:
	var found: Array[int] = []
	for i in _count:
		if _camps[i] != camp and _die[i] == 0:
			var node := _nodes[i]
			if is_instance_valid(node) and node.has_metallic_armor():
				found.append(_ids[i])
	return found
