extends Node
## Calls tick once every physics frame. bracket() puts one clock ahead of and
## one behind every other node's _physics_process, so that their two calls
## frame the work of each physics frame.

const FrameClock := preload("frame_clock.gd")
# Beyond any priority the scripts that use the clocks give their nodes.
const FIRST := -1000000
const LAST := 1000000

var tick: Callable


func _physics_process(_delta: float) -> void:
	tick.call()


## Adds the two clocks to parent: before runs first in every physics frame,
## after runs last.
static func bracket(parent: Node, before: Callable, after: Callable) -> void:
	for pair in [[FIRST, before], [LAST, after]]:
		var clock := FrameClock.new()
		clock.process_physics_priority = pair[0]
		clock.tick = pair[1]
		parent.add_child(clock)
