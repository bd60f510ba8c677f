extends RefCounted
## WarfieldGroundItem: one ground item registration with named fields, so that
## a game need not pass register_ground_item's 8 values:
##
##     const WarfieldGroundItem := preload("res://addons/warfield/ground_item.gd")
##     var slot := WarfieldGroundItem.falling_from(40.0).register(warfield, coin)
##
## WarfieldGroundItem.new() is an item lying on the ground. register() returns
## the slot id (-1 when there is no node).
##
## The node stores every field for the game and only counts the records
## (get_active_ground_item_count): it never moves a ground item, nothing it
## does reads the records back, and it has no getter for them. The game moves
## its items itself and may keep z_val, ground_height and y_speed current with
## set_ground_item_z, set_ground_item_ground_height and set_ground_item_y_speed.

const WarfieldGroundItem := preload("ground_item.gd")
const Registration := preload("registration.gd")

## The default of the gravity field (a projectile's default too).
const DEFAULT_GRAVITY := 980.0

# The fields, in register_ground_item's order. The node stores each for the
# game and reads none.
var z_val := 0.0  ## stored for the game: height above the ground
var ground_height := 0.0  ## stored for the game
var y_speed := 0.0  ## stored for the game
var gravity := DEFAULT_GRAVITY  ## stored for the game
var gravity_scale := 1.0  ## stored for the game
var is_ground := true  ## stored for the game: whether it lies on the ground
var gravity_use := true  ## stored for the game: whether gravity pulls it


## An item at height z above the ground, not on it yet, under gravity.
static func falling_from(z: float) -> WarfieldGroundItem:
	var item := WarfieldGroundItem.new()
	item.z_val = z
	item.is_ground = false
	return item


## An item lying on the ground (the defaults).
static func on_ground() -> WarfieldGroundItem:
	return WarfieldGroundItem.new()


## Sets fields by name; an unknown name, or a value its field cannot hold, is
## reported and skipped.
func with(fields: Dictionary) -> WarfieldGroundItem:
	Registration.assign(self, fields, "WarfieldGroundItem")
	return self


## Registers node with warfield, the Warfield node, as this ground item and
## returns its slot id, or -1 (with an error) when node is no live node or
## warfield no live Warfield node.
func register(warfield: Variant, node: Variant) -> int:
	return Registration.register(warfield, &"register_ground_item", arguments_for(warfield, node))


## register_ground_item's 8 arguments for node, as register() passes them;
## empty (with an error) when there is no node.
func arguments_for(warfield: Variant, node: Variant) -> Array:
	if not Registration.can_register(warfield, node, &"Node",
			"WarfieldGroundItem.register needs a Warfield node and a ground item node"):
		return []
	return [node.get_instance_id(), z_val, ground_height, y_speed, gravity, gravity_scale, is_ground, gravity_use]
