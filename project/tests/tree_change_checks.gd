extends RefCounted
## Changes to a projectile's nodes between frames, inside its callbacks and
## inside the engine's own setters: the Warfield node must write exactly the
## nodes a lookup by path finds at that moment, and never touch a freed one.
## Run by the self test, whose helpers it uses.

const Reactor := preload("res://tests/transform_reactor.gd")

var _t  # the self test


func _init(self_test) -> void:
	_t = self_test


func run() -> void:
	var w: Node = _t._make_warfield()
	await _renamed_and_replaced_between_frames(w)
	await _changed_inside_a_callback(w)
	await _root_out_of_the_tree_and_back(w)
	await _changed_inside_a_setter(w)
	_t._drop(w)


# A straight shot with a spinning sprite: only the node at
# "ProjectileBodyNode/ProjectileSprite" turns.
func _spinning(w: Node) -> Node2D:
	var p: Node2D = _t._probe(w, Vector2(200, 200))
	_t._shoot(w, p, 0, {velocity = Vector2(1, 0), rotate_scale = 6.0})
	return p


func _sprite(p: Node2D) -> Node2D:
	return p.get_node_or_null("ProjectileBodyNode/ProjectileSprite")


func _renamed_and_replaced_between_frames(w: Node) -> void:
	var p := _spinning(w)
	await _t._frames(2)
	var old_body: Node2D = p.get_node("ProjectileBodyNode")
	var old_sprite := _sprite(p)
	_t._check(old_sprite.rotation > 0.0, "tree: the sprite spins")
	old_body.name = "Elsewhere"
	var turned := old_sprite.rotation
	await _t._frames(2)
	_t._eq(old_sprite.rotation, turned, "tree: a sprite whose body was renamed no longer spins")
	var body := Node2D.new()
	body.name = "ProjectileBodyNode"
	var sprite := Node2D.new()
	sprite.name = "ProjectileSprite"
	body.add_child(sprite)
	p.add_child(body)
	await _t._frames(2)
	_t._check(sprite.rotation > 0.0, "tree: a sprite added at the path spins")
	sprite.reparent(p)
	turned = sprite.rotation
	await _t._frames(2)
	_t._eq(sprite.rotation, turned, "tree: a sprite moved off its path no longer spins")
	p.queue_free()


func _changed_inside_a_callback(w: Node) -> void:
	var p := _spinning(w)
	var fresh := Node2D.new()
	fresh.name = "ProjectileSprite"
	var replaced := [false]
	# The sprite spins before the callback; the next frame finds the new one.
	p.hook = func(node: Node2D, method: String) -> void:
		if method == "check_shooter_height" and not replaced[0]:
			replaced[0] = true
			var body := node.get_node("ProjectileBodyNode")
			body.get_node("ProjectileSprite").free()
			body.add_child(fresh)
	await _t._frames(3)
	_t._check(replaced[0] and fresh.rotation > 0.0, "tree: a sprite replaced in a callback spins from the next frame")
	# Deferred: freed and replaced when the frame's queue is flushed.
	var deferred := Node2D.new()
	deferred.name = "ProjectileSprite"
	var held := [fresh, false]  # captured through an Array: a freed capture is an error
	p.hook = func(node: Node2D, method: String) -> void:
		if method != "check_shooter_height":
			return
		if is_instance_valid(held[0]):
			if not held[0].is_queued_for_deletion():
				held[0].queue_free()
		elif not held[1]:
			held[1] = true
			node.get_node("ProjectileBodyNode").add_child.call_deferred(deferred)
	await _t._frames(4)
	_t._check(not is_instance_valid(fresh) and deferred.rotation > 0.0,
			"tree: a sprite freed and replaced by deferred calls spins once they have run")
	p.queue_free()


func _root_out_of_the_tree_and_back(w: Node) -> void:
	var p := _spinning(w)
	await _t._frames(2)  # the shots freed before are found gone by now
	var active: int = w.get_active_projectile_count()
	var parent := p.get_parent()
	parent.remove_child(p)
	var turned := _sprite(p).rotation
	var calls: int = p.count("check_shooter_height")
	await _t._frames(2)
	_t._eq(_sprite(p).rotation, turned, "tree: a projectile outside the tree is left alone")
	_t._eq(p.count("check_shooter_height"), calls, "tree: and its scripts are not called")
	_t._eq(w.get_active_projectile_count(), active - 1, "tree: and its record is no longer active")
	parent.add_child(p)
	await _t._frames(2)
	_t._eq(_sprite(p).rotation, turned, "tree: back in the tree, it stays ended")
	p.queue_free()


# A catapult whose shadow reacts to being scaled by freeing the body (lifted
# just before) and putting a new one in its place: later in the same step the
# node turns the new body, as a lookup by path would, and never touches the
# freed one.
func _changed_inside_a_setter(w: Node) -> void:
	var p: Node2D = _t._probe(w, Vector2(300, 600))
	var shadow: Node2D = p.get_node("ShadowSprite")
	shadow.set_script(Reactor)
	shadow.set_notify_local_transform(true)
	_t._shoot(w, p, 4, {velocity = Vector2(100, 0), y_speed = -600.0, rotate_follow_velocity = true})
	await _t._frames(2)
	_t._check(shadow.replaced >= 2, "tree: the shadow's reaction ran inside the frame's writes")
	var body: Node2D = shadow.latest
	_t._check(body != null and body.rotation != 0.0,
			"tree: a body put in place inside a setter is turned in the same step")
	p.queue_free()
