extends RefCounted
## Reads the engine's user arguments (those after --) of the form key=value.


## defaults with each key given on the command line replaced by its value,
## converted to an int where the default is one. Other arguments are skipped.
static func read(defaults: Dictionary) -> Dictionary:
	var values := defaults.duplicate()
	for arg in OS.get_cmdline_user_args():
		var kv := arg.split("=")
		if kv.size() == 2 and values.has(kv[0]):
			values[kv[0]] = kv[1].to_int() if defaults[kv[0]] is int else kv[1]
	return values
