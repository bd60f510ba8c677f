@tool
extends EditorPlugin
## Checks, inside a running editor, what a game developer sees of the node:
## its icon in the scene dock and its page in the help. The engine suites
## enable this plugin in a copy of the project (scripts/test-engines.sh) and
## pass the class reference's path: -- reference=/path/to/Warfield.xml

const Tally := preload("res://support/tally.gd")
const UserArgs := preload("res://support/user_args.gd")

## Frames for the editor to open the scene and lay out the help page.
const SETTLE_FRAMES := 120
## Godot's colour for 2D node icons, which the node's icon is drawn in.
const ICON_COLOUR := Color("#8da5f3")

var _tally := Tally.new()
var _frames := 0


func _enter_tree() -> void:
	set_process(true)


func _ready() -> void:
	EditorInterface.open_scene_from_path("res://main.tscn")
	EditorInterface.get_script_editor().goto_help("class_name:Warfield")


func _process(_delta: float) -> void:
	_frames += 1
	if _frames != SETTLE_FRAMES:
		return
	_check_icon()
	_check_help()
	_tally.finish(get_tree())


func _check_icon() -> void:
	_tally.group = "icon"
	# The icon the descriptor names, resolved as the editor resolves it:
	# relative to the descriptor.
	var descriptor := ConfigFile.new()
	_tally.check(descriptor.load("res://warfield.gdextension") == OK, "the descriptor loads")
	var path: String = descriptor.get_value("icons", "Warfield", "")
	_tally.check(path.is_relative_path(), "the descriptor names the icon relative to itself (%s)" % path)
	var icon: Texture2D = load("res://".path_join(path)) if not path.is_empty() else null
	_tally.check(icon != null, "the editor imported the icon as a texture")
	if icon == null:
		return
	var image := icon.get_image()
	_tally.check(image != null and image.get_size() == Vector2i(16, 16),
			"a 16x16 icon (%s)" % [image.get_size() if image != null else "no image"])
	_tally.check(image != null and _has_colour(image, ICON_COLOUR), "drawn in the 2D nodes' colour")
	var item := _scene_dock_item("Warfield")
	_tally.check(item != null, "the scene dock lists the Warfield node of main.tscn")
	_tally.check(item != null and item.get_icon(0) == icon, "the scene dock shows the node with this icon")


func _check_help() -> void:
	_tally.group = "help"
	var reference: String = UserArgs.read({"reference": ""}).reference
	var brief := _brief_description(reference)
	_tally.check(not brief.is_empty(), "the class reference's brief description, read from %s" % reference)
	var page := ""
	for help in EditorInterface.get_script_editor().find_children("*", "EditorHelp", true, false):
		for label in help.find_children("*", "RichTextLabel", true, false):
			page += (label as RichTextLabel).get_parsed_text()
	_tally.check(not page.is_empty(), "the help shows a page for Warfield")
	_tally.check(not brief.is_empty() and page.contains(brief), "the page shows the class reference's description")
	for text in ["register_projectile", "ProjectileKind", "CATAPULT", "grid_size"]:
		_tally.check(page.contains(text), "the page names %s" % text)


func _scene_dock_item(node_name: String) -> TreeItem:
	for dock in EditorInterface.get_base_control().find_children("*", "SceneTreeDock", true, false):
		for tree in dock.find_children("*", "Tree", true, false):
			var root := (tree as Tree).get_root()
			var found := _find_item(root, node_name) if root != null else null
			if found != null:
				return found
	return null


func _find_item(item: TreeItem, text: String) -> TreeItem:
	if item.get_text(0) == text:
		return item
	for child in item.get_children():
		var found := _find_item(child, text)
		if found != null:
			return found
	return null


static func _has_colour(image: Image, colour: Color) -> bool:
	for y in image.get_height():
		for x in image.get_width():
			var c := image.get_pixel(x, y)
			if c.a > 0.9 and absf(c.r - colour.r) < 0.05 and absf(c.g - colour.g) < 0.05 \
					and absf(c.b - colour.b) < 0.05:
				return true
	return false


static func _brief_description(path: String) -> String:
	var parser := XMLParser.new()
	if path.is_empty() or parser.open(path) != OK:
		return ""
	while parser.read() == OK:
		if parser.get_node_type() == XMLParser.NODE_ELEMENT and parser.get_node_name() == "brief_description":
			parser.read()
			return parser.get_node_data().strip_edges()
	return ""
