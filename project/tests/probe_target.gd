extends Node2D
## A target node for the self test: answers has_metallic_armor and counts the
## questions.

var armored := false
var asked := 0


func has_metallic_armor() -> bool:
	asked += 1
	return armored
