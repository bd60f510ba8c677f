extends RefCounted
## One target registration with named fields and the defaults of a plain,
## hittable unit, so that a game need not pass register_target's 20 values:
##
##     const Target := preload("res://addons/warfield/target.gd")
##     var slot := Target.of_camp(1).register(warfield, enemy)
##
## register() reads the node's row and position unless they were set, and
## returns the slot id (-1 when there is no node). Queries read the record,
## not the node: keep it current with set_target_position and the other setters.

const Target := preload("target.gd")
const Registration := preload("registration.gd")

# The fields, in register_target's order. null ones are worked out by register().
var camp := 0
var grid_y: Variant = null  ## null: the row the node stands in, from grid_size.y
var collision_flags := 0  ## stored for the game
var mask_flags := 1  ## must share a bit with a query's collision_flags
var invincible := false
var can_be_collection := true  ## false hides it from the hit queries
var die := false
var near_die := false
var all_line_check := false  ## seen from every row
var height := 0
var position: Variant = null  ## null: the node's global position (a Node2D's), else (0, 0)
var is_item := false
var is_crater := false
var is_gravestone := false
var is_vase := false
var can_check := true
var can_projectile_check := true
var is_bowling_base := false


## A hittable target of camp (queries from every other camp find it).
static func of_camp(p_camp: int) -> Target:
	var t := Target.new()
	t.camp = p_camp
	return t


## Sets fields by name; an unknown name, or a value its field cannot hold, is
## reported and skipped.
func with(fields: Dictionary) -> Target:
	Registration.assign(self, fields, "Target")
	return self


## Registers node with warfield as this target and returns its slot id, or -1
## (with an error) when there is no node or warfield is no Warfield node.
func register(warfield: Node, node: Node) -> int:
	return Registration.register(warfield, &"register_target", arguments_for(warfield, node))


## register_target's 20 arguments for node, as register() passes them; empty
## (with an error) when there is no node.
func arguments_for(warfield: Node, node: Node) -> Array:
	if not Registration.can_register(warfield, node, "Target.register needs a Warfield node and a target node"):
		return []
	var at: Vector2 = position if position != null else _node_position(node)
	return [node.get_instance_id(), camp, grid_y if grid_y != null else int(floor(at.y / warfield.grid_size.y)),
			collision_flags, mask_flags, invincible, can_be_collection, die, near_die, all_line_check,
			height, at.x, at.y, is_item, is_crater, is_gravestone, is_vase, can_check,
			can_projectile_check, is_bowling_base]


# A Node2D outside the tree has no global position yet: its position stands in.
static func _node_position(node: Node) -> Vector2:
	if not node is Node2D:
		return Vector2.ZERO
	return node.global_position if node.is_inside_tree() else node.position
