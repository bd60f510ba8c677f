extends RefCounted
## What the registration helpers shot.gd and target.gd share: setting their
## fields by name, and the checked call that registers a node.

# The value types the engine converts into a typed field of each type; a
# value of any other type it drops without a word.
const CONVERTS_TO := {
	TYPE_INT: [TYPE_FLOAT, TYPE_BOOL, TYPE_STRING, TYPE_STRING_NAME],
	TYPE_FLOAT: [TYPE_INT, TYPE_BOOL, TYPE_STRING, TYPE_STRING_NAME],
	TYPE_BOOL: [TYPE_INT, TYPE_FLOAT],
	TYPE_VECTOR2: [TYPE_VECTOR2I],
}


## Sets helper's fields from values by name. Only the public fields its script
## declares are set (never Object's own properties, such as script); a name
## that is none of them, or a value the field cannot hold, is reported as an
## error of what and skipped.
static func assign(helper: Object, values: Dictionary, what: String) -> void:
	var types := {}
	for p in helper.get_script().get_script_property_list():
		if p.usage & PROPERTY_USAGE_SCRIPT_VARIABLE and not p.name.begins_with("_"):
			types[p.name] = p.type
	for key in values:
		var field := String(key) if key is String or key is StringName else ""
		if not types.has(field):
			push_error("%s has no field %s" % [what, key])
		elif not _fits(values[key], types[field]):
			push_error("%s.%s cannot hold %s" % [what, field, var_to_str(values[key])])
		else:
			helper.set(field, values[key])


## Whether a helper can register node with warfield; reports message as an
## error when not.
static func can_register(warfield: Node, node: Node, message: String) -> bool:
	if is_instance_valid(warfield) and warfield.is_class("Warfield") and is_instance_valid(node):
		return true
	push_error(message)
	return false


## Calls warfield's register method with args and returns the slot id, or -1
## when args is empty (the helper found nothing to register).
static func register(warfield: Node, method: StringName, args: Array) -> int:
	return -1 if args.is_empty() else warfield.callv(method, args)


static func _fits(value: Variant, type: int) -> bool:
	return type == TYPE_NIL or typeof(value) == type or typeof(value) in CONVERTS_TO.get(type, [])
