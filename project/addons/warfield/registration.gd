extends RefCounted
## What the registration helpers (WarfieldShot, WarfieldTarget,
## WarfieldCharacter, WarfieldGroundItem) share: setting their fields by name,
## the values they work out from a node, and the checked call that registers
## a node.

# The value types the engine converts into a typed field of each type; a
# value of any other type it drops without a word.
const CONVERTS_TO := {
	TYPE_INT: [TYPE_FLOAT, TYPE_BOOL, TYPE_STRING, TYPE_STRING_NAME],
	TYPE_FLOAT: [TYPE_INT, TYPE_BOOL, TYPE_STRING, TYPE_STRING_NAME],
	TYPE_BOOL: [TYPE_INT, TYPE_FLOAT],
	TYPE_VECTOR2: [TYPE_VECTOR2I],
	TYPE_VECTOR2I: [TYPE_VECTOR2],
}


## Sets helper's fields from values by name. Only the public fields its script
## declares are set (never Object's own properties, such as script); a name
## that is none of them, or a value the field cannot hold, is reported as an
## error of what and skipped. nullable maps the untyped fields that hold null
## until the helper works them out to the type they hold otherwise: such a
## field takes null, or a value of that type (converted to it).
## A field typed to a node class takes a live node of that class, or null; a
## freed node sets it to null, as the node counts a part freed later as none.
static func assign(helper: Object, values: Dictionary, what: String, nullable := {}) -> void:
	var fields := {}
	for p in helper.get_script().get_script_property_list():
		if p.usage & PROPERTY_USAGE_SCRIPT_VARIABLE and not p.name.begins_with("_"):
			fields[p.name] = p
	for key in values:
		var field := String(key) if key is String or key is StringName else ""
		var value: Variant = values[key]
		if not fields.has(field):
			push_error("%s has no field %s" % [what, key])
		elif nullable.has(field):
			if typeof(value) == TYPE_NIL:
				helper.set(field, null)
			elif _fits(value, nullable[field]):
				helper.set(field, type_convert(value, nullable[field]))
			else:
				push_error("%s.%s cannot hold %s" % [what, field, _describe(value)])
		elif fields[field].type == TYPE_OBJECT:
			if typeof(value) == TYPE_NIL or (typeof(value) == TYPE_OBJECT and not is_instance_valid(value)):
				helper.set(field, null)
			elif _is_live(value, fields[field].class_name):
				helper.set(field, value)
			else:
				push_error("%s.%s cannot hold %s" % [what, field, _describe(value)])
		elif not _fits(value, fields[field].type):
			push_error("%s.%s cannot hold %s" % [what, field, _describe(value)])
		else:
			helper.set(field, value)


## Whether a helper can register node, a live node of node_class, with
## warfield, a live Warfield node; reports message as an error when not. Both
## are untyped so that a freed node or a wrong value is refused here: a typed
## parameter would stop the script in a debug build and let the call go on
## with a default in a release one.
static func can_register(warfield: Variant, node: Variant, node_class: StringName, message: String) -> bool:
	if _is_live(warfield, &"Warfield") and _is_live(node, node_class):
		return true
	push_error(message)
	return false


## Calls warfield's register method with args and returns the slot id, or -1
## when args is empty (the helper found nothing to register).
static func register(warfield: Variant, method: StringName, args: Array) -> int:
	return -1 if args.is_empty() else warfield.callv(method, args)


## The instance id of node, as the register methods take it: 0 for null or a
## freed node.
static func instance_id(node: Variant) -> int:
	return node.get_instance_id() if is_instance_valid(node) else 0


## Where node stands: a Node2D's global position, or its position while it is
## outside the tree (it has no global one yet); (0, 0) for any other node.
static func node_position(node: Node) -> Vector2:
	if not node is Node2D:
		return Vector2.ZERO
	return node.global_position if node.is_inside_tree() else node.position


## The grid cell (column, row) holding point, in warfield's grid_size cells.
static func cell(warfield: Node, point: Vector2) -> Vector2i:
	var size: Vector2 = warfield.grid_size
	return Vector2i(int(floor(point.x / size.x)), int(floor(point.y / size.y)))


static func _fits(value: Variant, type: int) -> bool:
	return type == TYPE_NIL or typeof(value) == type or typeof(value) in CONVERTS_TO.get(type, [])


static func _is_live(value: Variant, node_class: StringName) -> bool:
	return typeof(value) == TYPE_OBJECT and is_instance_valid(value) and (
			node_class.is_empty() or value.is_class(node_class))


static func _describe(value: Variant) -> String:
	if typeof(value) == TYPE_OBJECT:
		return "a freed object" if not is_instance_valid(value) else "a %s" % value.get_class()
	return var_to_str(value)
