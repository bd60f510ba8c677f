extends Node2D
## A projectile script that declares its landing callback with an argument:
## the Warfield node calls it with none, so the engine refuses every call.

var landings := 0


func land_from_extension(_slot: int) -> void:
	landings += 1
