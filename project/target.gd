extends Node2D
## An enemy that walks left along its lane. It is registered with the Warfield
## node as a target, so that projectiles and queries can find it.

signal died(target: Node2D)

const WarfieldTarget := preload("res://addons/warfield/target.gd")
const MASK := 1  # shares a bit with the projectiles' collision_flags

@export var armored := false
@export var hitpoints := 3
@export var speed := 25.0

var warfield: Warfield
var slot := -1
var camp := 1


func _ready() -> void:
	if armored:
		$Body.color = Color(0.55, 0.6, 0.68)


## Registers the target where it stands; add it to the tree first.
func spawn(p_warfield: Warfield, p_camp: int) -> void:
	warfield = p_warfield
	camp = p_camp
	# A hittable unit of its camp, in the row it stands in.
	slot = WarfieldTarget.of_camp(camp).with({mask_flags = MASK}).register(warfield, self)


func _physics_process(delta: float) -> void:
	if slot < 0:
		return
	position.x -= speed * delta
	if position.x < 200.0:
		position.x = 1200.0
	# Queries read positions from the record, so keep it current.
	warfield.set_target_position(slot, global_position.x, global_position.y)


## Called by the Warfield node from query_metallic_armor_targets.
func has_metallic_armor() -> bool:
	return armored


func take_damage(amount: int) -> void:
	if slot < 0:
		return
	hitpoints -= amount
	if hitpoints > 0:
		return
	# A dying target is skipped by every query at once; the slot goes back
	# to the pool when it is unregistered.
	warfield.set_target_die(slot, true)
	warfield.unregister_target(slot)
	slot = -1
	died.emit(self)
	queue_free()
