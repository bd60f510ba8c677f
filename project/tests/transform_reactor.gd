extends Node2D
## A shadow that, whenever its transform is set, frees one of its
## projectile's children and puts a new node of that name in its place: a
## script reacting inside the engine's setter, while the Warfield node is in
## the middle of a step.

var victim := "ProjectileBodyNode"
var replaced := 0
var latest: Node2D


func _notification(what: int) -> void:
	if what != NOTIFICATION_LOCAL_TRANSFORM_CHANGED:
		return
	var p := get_parent()
	var old := p.get_node_or_null(victim)
	if old:
		old.free()
	latest = Node2D.new()
	latest.name = victim
	p.add_child(latest)
	replaced += 1
