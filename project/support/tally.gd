extends RefCounted
## A suite's checks: one line per failure, tagged with the group being
## checked, and at the end the line "N passed, M failed" that
## scripts/test-engines.sh reads.

var group := ""
var passed := 0
var failed := 0


func check(ok: bool, what: String) -> void:
	if ok:
		passed += 1
	else:
		failed += 1
		print("FAIL [%s] %s" % [group, what])


## Prints the summary and ends the run, with exit code 1 on any failure.
func finish(tree: SceneTree) -> void:
	print("%d passed, %d failed" % [passed, failed])
	tree.quit(1 if failed > 0 else 0)
