extends RefCounted
## WarfieldTarget: one target registration with named fields and the
## defaults of a plain, hittable unit, so that a game need not pass
## register_target's 20 values:
##
##     const WarfieldTarget := preload("res://addons/warfield/target.gd")
##     var slot := WarfieldTarget.of_camp(1).register(warfield, enemy)
##
## register() reads the node's row and position unless they were set, and
## returns the slot id (-1 when there is no node). Queries read the record,
## not the node: keep it current with set_target_position and the other
## setters. The hit queries (by row, by range, by camp) skip a target that is
## invincible, dying, nearly dying, a crater or no collection; the metallic
## query skips only a dying one. The fields marked "stored for the game" no
## query reads.

const WarfieldTarget := preload("target.gd")
const Registration := preload("registration.gd")

# The fields, in register_target's order. null ones are worked out by register().
var camp := 0  ## the row, range and metallic queries find other camps' targets; query_targets_all the camp it names
var grid_y: Variant = null  ## the row query_targets_in_line finds it in; null: the row the node stands in, from grid_size.y
var collision_flags := 0  ## stored for the game
var mask_flags := 1  ## must share a bit with a query's collision_flags
var invincible := false  ## true hides it from the hit queries
var can_be_collection := true  ## false hides it from the hit queries
var die := false  ## true hides it from every query
var near_die := false  ## true hides it from the hit queries
var all_line_check := false  ## seen from every row
var height := 0  ## stored for the game
var position: Variant = null  ## what query_targets_in_range tests; null: the node's global position (a Node2D's), else (0, 0)
var is_item := false  ## stored for the game
var is_crater := false  ## true hides it from the hit queries
var is_gravestone := false  ## stored for the game
var is_vase := false  ## stored for the game
var can_check := true  ## stored for the game
var can_projectile_check := true  ## stored for the game
var is_bowling_base := false  ## stored for the game


## A hittable target of camp (queries from every other camp find it).
static func of_camp(p_camp: int) -> WarfieldTarget:
	var t := WarfieldTarget.new()
	t.camp = p_camp
	return t


## Sets fields by name; an unknown name, or a value its field cannot hold, is
## reported and skipped.
func with(fields: Dictionary) -> WarfieldTarget:
	Registration.assign(self, fields, "WarfieldTarget", {grid_y = TYPE_INT, position = TYPE_VECTOR2})
	return self


## Registers node with warfield, the Warfield node, as this target and returns
## its slot id, or -1 (with an error) when node is no live node or warfield no
## live Warfield node.
func register(warfield: Variant, node: Variant) -> int:
	return Registration.register(warfield, &"register_target", arguments_for(warfield, node))


## register_target's 20 arguments for node, as register() passes them; empty
## (with an error) when there is no node.
func arguments_for(warfield: Variant, node: Variant) -> Array:
	if not Registration.can_register(warfield, node, &"Node",
			"WarfieldTarget.register needs a Warfield node and a target node"):
		return []
	var at: Vector2 = position if position != null else Registration.node_position(node)
	return [node.get_instance_id(), camp, grid_y if grid_y != null else Registration.cell(warfield, at).y,
			collision_flags, mask_flags, invincible, can_be_collection, die, near_die, all_line_check,
			height, at.x, at.y, is_item, is_crater, is_gravestone, is_vase, can_check,
			can_projectile_check, is_bowling_base]

