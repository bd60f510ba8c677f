# What the addon zip holds, for scripts/package.sh and scripts/check-package.sh
# (sourced, run from the repository root).

# The version, from project(Warfield VERSION x.y.z ...) in the top CMakeLists.txt.
addon_version() {
  sed -n 's/^project(Warfield VERSION \([0-9][0-9.]*\)[ )].*/\1/p' CMakeLists.txt
}

# The libraries the descriptor names, all taken from project/bin.
ADDON_LIBS=(
  libWarfield.linux.template_debug.x86_64.so
  libWarfield.linux.template_release.x86_64.so
  libWarfield.windows.template_debug.x86_64.dll
  libWarfield.windows.template_release.x86_64.dll
  libWarfield.macos.template_debug.universal.dylib
  libWarfield.macos.template_release.universal.dylib
)

# "path in the zip<TAB>source in the repository", one line per file, except
# the descriptor, which package.sh writes from project/warfield.gdextension.
addon_files() {
  local lib f
  for lib in "${ADDON_LIBS[@]}"; do
    printf 'addons/warfield/bin/%s\tproject/bin/%s\n' "$lib" "$lib"
  done
  for f in README.md LICENSE CHANGELOG.md; do
    printf 'addons/warfield/%s\t%s\n' "$f" "$f"
  done
  for f in shot.gd target.gd registration.gd; do
    printf 'addons/warfield/%s\tproject/addons/warfield/%s\n' "$f" "$f"
  done
}

ADDON_DESCRIPTOR=addons/warfield/warfield.gdextension

# The addon's descriptor: the project's, its res://bin/ paths moved under the
# addon folder.
addon_descriptor() {
  sed 's#"res://bin/#"res://addons/warfield/bin/#' project/warfield.gdextension
}
