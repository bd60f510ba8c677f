extends Node2D
## The script of a projectile flown by a lean manager: only the game's
## callbacks, empty, since the benchmark measures the calls alone.

func update_grid_pos() -> void: pass
func check_shooter_height() -> void: pass
func over_from_extension() -> void: pass
func land_from_extension() -> void: pass
func enable_monitoring() -> void: pass
func disable_monitoring() -> void: pass
func hit_target_from_extension() -> void: pass
func target_died_from_extension() -> void: pass
func find_track_target() -> void: pass
