extends RefCounted
## WarfieldCharacter: one character registration with named fields, so that a
## game need not pass register_character's 17 values:
##
##     const WarfieldCharacter := preload("res://addons/warfield/character.gd")
##     var slot := WarfieldCharacter.with_parts($Sprites, $Shadow, $Center, $HitBox).register(warfield, self)
##
## WarfieldCharacter.new() is a character without parts. register() reads the
## shadow's scale and position and the node's grid cell unless they were set,
## and returns the slot id (-1 when there is no node).
##
## The node stores every field for the game and only counts the records
## (get_active_character_count): nothing it does reads them back, and it has
## no getter for them. The set_character_* setters change the stored values.

const WarfieldCharacter := preload("character.gd")
const Registration := preload("registration.gd")

# The fields, in register_character's order. The node stores each for the
# game and reads none. The four parts are nodes, passed as their instance ids
# (0 for none or a freed one); null values are worked out by register().
var sprite_group: Node = null  ## stored for the game
var shadow_sprite: Node = null  ## stored for the game
var transform_point: Node = null  ## stored for the game
var hitbox: Node = null  ## stored for the game
var save_shadow_scale: Variant = null  ## stored for the game; null: shadow_sprite's scale (a Node2D's), else (1, 1)
var save_shadow_position: Variant = null  ## stored for the game; null: shadow_sprite's position (a Node2D's), else (0, 0)
var shadow_follow_height := false  ## stored for the game
var ground_height := 0.0  ## stored for the game
var ground_right := 0.0  ## stored for the game
var grid_pos: Variant = null  ## stored for the game; (column, row), null: the cell the node stands in, from grid_size
var rand_fresh_index := 0  ## stored for the game
var should_update_grid_pos := true  ## stored for the game
var z_val := 0.0  ## stored for the game
var time_scale_init := 1.0  ## stored for the game
var hitpoints_near_death := 0.0  ## stored for the game
var config_hitpoints_near_death := 0.0  ## stored for the game


## A character with its four parts, nodes (null, or a node freed before
## register(), for none).
static func with_parts(p_sprite_group: Variant, p_shadow_sprite: Variant = null, p_transform_point: Variant = null,
		p_hitbox: Variant = null) -> WarfieldCharacter:
	return WarfieldCharacter.new().with({sprite_group = p_sprite_group, shadow_sprite = p_shadow_sprite,
			transform_point = p_transform_point, hitbox = p_hitbox})


## Sets fields by name; an unknown name, or a value its field cannot hold, is
## reported and skipped.
func with(fields: Dictionary) -> WarfieldCharacter:
	Registration.assign(self, fields, "WarfieldCharacter", {save_shadow_scale = TYPE_VECTOR2,
			save_shadow_position = TYPE_VECTOR2, grid_pos = TYPE_VECTOR2I})
	return self


## Registers node with warfield, the Warfield node, as this character and
## returns its slot id, or -1 (with an error) when node is no live node or
## warfield no live Warfield node.
func register(warfield: Variant, node: Variant) -> int:
	return Registration.register(warfield, &"register_character", arguments_for(warfield, node))


## register_character's 17 arguments for node, as register() passes them;
## empty (with an error) when there is no node.
func arguments_for(warfield: Variant, node: Variant) -> Array:
	if not Registration.can_register(warfield, node, &"Node",
			"WarfieldCharacter.register needs a Warfield node and a character node"):
		return []
	var shadow := shadow_sprite as Node2D if is_instance_valid(shadow_sprite) else null
	var shadow_scale: Vector2 = save_shadow_scale if save_shadow_scale != null else (
			shadow.scale if shadow else Vector2.ONE)
	var shadow_position: Vector2 = save_shadow_position if save_shadow_position != null else (
			shadow.position if shadow else Vector2.ZERO)
	var cell: Vector2i = grid_pos if grid_pos != null else Registration.cell(warfield, Registration.node_position(node))
	return [node.get_instance_id(), Registration.instance_id(sprite_group), Registration.instance_id(shadow_sprite),
			Registration.instance_id(transform_point), Registration.instance_id(hitbox), shadow_scale,
			shadow_position, shadow_follow_height, ground_height, ground_right, cell, rand_fresh_index,
			should_update_grid_pos, z_val, time_scale_init, hitpoints_near_death, config_hitpoints_near_death]
