extends Node2D
## A lobbed projectile. The Warfield node moves this root, lifts
## ProjectileBodyNode, spins ProjectileBodyNode/ProjectileSprite and shrinks
## ShadowSprite, and calls the methods below; the children keep these names.

## It came down; hit_ids are the targets inside its splash.
signal landed(hit_ids: Array[int])

const CAMP := 0  # the shooter's camp: queries return targets of the others
const HIT_MASK := 1  # shares a bit with the targets' mask_flags
const SPLASH := Vector2(40.0, 30.0)  # half size of the area the landing hits

var warfield: Warfield
var slot := -1


## Lob: touched down; it lands on the next frame. A game arms its hit box here.
func enable_monitoring() -> void:
	pass


## Lob, arc, catapult: came down to the ground. The finished projectile keeps
## its slot until it is unregistered.
func land_from_extension() -> void:
	var hit_ids := warfield.query_targets_in_range(CAMP, HIT_MASK, global_position.x, global_position.y,
			SPLASH.x, SPLASH.y)
	warfield.unregister_projectile(slot)
	slot = -1
	landed.emit(hit_ids)
	queue_free()
