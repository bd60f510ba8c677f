extends RefCounted
## The children the Warfield node drives on a projectile, under the names it
## looks them up by: ProjectileBodyNode with ProjectileSprite inside it,
## ShadowSprite and HitBox.


## Adds them to root in that order, plain Node2Ds unless shadow or sprite is
## given, and returns root.
static func add_children(root: Node2D, shadow: Node2D = null, sprite: Node2D = null) -> Node2D:
	var body := _named(Node2D.new(), "ProjectileBodyNode")
	root.add_child(body)
	body.add_child(_named(sprite if sprite else Node2D.new(), "ProjectileSprite"))
	root.add_child(_named(shadow if shadow else Node2D.new(), "ShadowSprite"))
	root.add_child(_named(Node2D.new(), "HitBox"))
	return root


static func _named(node: Node2D, node_name: String) -> Node2D:
	node.name = node_name
	return node
