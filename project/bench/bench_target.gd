extends Node2D
## A target for the query benchmark: it answers the metallic-armour question.

var metallic := false


func has_metallic_armor() -> bool:
	return metallic
