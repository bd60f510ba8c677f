extends "res://tests/refusing_projectile.gd"
## The same refused callback, from another script: reported on its own.
