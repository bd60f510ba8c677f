# What the addon zip holds, for scripts/package.sh and scripts/check-package.sh
# (sourced, run from the repository root).

# The version, from project(Warfield VERSION x.y.z ...) in the top CMakeLists.txt.
addon_version() {
  sed -n 's/^project(Warfield VERSION \([0-9][0-9.]*\)[ )].*/\1/p' CMakeLists.txt
}

# Where the addon lands in a game, from both of the editor's install flows and
# from unzipping at the project root.
ADDON_DIR=addons/warfield
ADDON_DESCRIPTOR=$ADDON_DIR/warfield.gdextension

# The one file at the zip's root, beside addons/. Without it the zip would
# have the single top-level folder addons/, which the editor strips when it
# installs from the Asset Library, leaving the addon in res://warfield/.
ADDON_ROOT_FILE=LICENSE

# The libraries the descriptor names, all taken from project/bin.
ADDON_LIBS=(
  libWarfield.linux.template_debug.x86_64.so
  libWarfield.linux.template_release.x86_64.so
  libWarfield.windows.template_debug.x86_64.dll
  libWarfield.windows.template_release.x86_64.dll
  libWarfield.macos.template_debug.universal.dylib
  libWarfield.macos.template_release.universal.dylib
)

# What the addon folder carries from project/addons/warfield/: the helpers,
# the README written for game developers, and the example scene.
ADDON_SOURCES=(
  README.md
  registration.gd
  shot.gd
  target.gd
  character.gd
  ground_item.gd
  example/example.tscn
  example/example.gd
  example/projectile.tscn
  example/projectile.gd
)

# "path in the zip<TAB>source in the repository", one line per file. The
# descriptor is the project's own: its library paths are relative to its
# folder, so it works unchanged in the addon.
addon_files() {
  local f
  printf '%s\t%s\n' "$ADDON_ROOT_FILE" LICENSE
  printf '%s\t%s\n' "$ADDON_DESCRIPTOR" project/warfield.gdextension
  for f in "${ADDON_LIBS[@]}"; do
    printf '%s/bin/%s\tproject/bin/%s\n' "$ADDON_DIR" "$f" "$f"
  done
  for f in LICENSE CHANGELOG.md; do
    printf '%s/%s\t%s\n' "$ADDON_DIR" "$f" "$f"
  done
  printf '%s/docs/usage.md\tdocs/usage.md\n' "$ADDON_DIR"
  # The node's icon, where the descriptor names it (relative to itself).
  printf '%s/icons/warfield.svg\tproject/icons/warfield.svg\n' "$ADDON_DIR"
  for f in "${ADDON_SOURCES[@]}"; do
    printf '%s/%s\tproject/addons/warfield/%s\n' "$ADDON_DIR" "$f" "$f"
  done
}

# The editor's asset installer, emulated on a zip: it collects the entries in
# zip order, each file's folders ("a/", "a/b/") before the file. When the
# first of them is a folder that begins every other one, that folder is the
# asset's root: a download from the Asset Library skips it and installs the
# rest without its prefix (strip 1); a local zip keeps it by default (strip
# 0). Prints "entry<TAB>path under res://" for each file.
editor_install_map() {  # zip strip
  unzip -Z1 "$1" | awk -v strip="$2" '
    function add(e) { if (!(e in seen)) { seen[e] = 1; order[++n] = e } }
    {
      for (i = 2; i <= length($0); i++) if (substr($0, i, 1) == "/") add(substr($0, 1, i))
      add($0)
    }
    END {
      top = ""
      if (strip && n > 0 && order[1] ~ /\/$/) {
        top = order[1]
        for (i = 2; i <= n; i++) if (index(order[i], top) != 1) { top = ""; break }
      }
      for (i = 1; i <= n; i++) if (order[i] !~ /\/$/) print order[i] "\t" substr(order[i], length(top) + 1)
    }'
}
