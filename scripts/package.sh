#!/usr/bin/env bash
# Packs the Godot addon dist/warfield-<version>.zip: installed from the
# editor (Asset Library or a local zip) or unzipped at a game's root, it puts
# the descriptor, the six libraries (Linux, Windows, macOS; debug and
# release), the GDScript helpers, the example scene, README, docs/usage.md,
# LICENSE and CHANGELOG in addons/warfield/ (scripts/addon-layout.sh lists
# them). The libraries come from project/bin; then scripts/check-package.sh
# checks the zip.
#   scripts/package.sh [--build]
# --build first builds every library (scripts/build.sh, build-windows.sh,
# build-macos.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/addon-layout.sh

case "${1:-}" in
  "") ;;
  --build)
    # One command a line: set -e does not stop inside an && list.
    scripts/build.sh
    scripts/build-windows.sh
    scripts/build-macos.sh
    ;;
  *) echo "usage: scripts/package.sh [--build]" >&2; exit 2 ;;
esac

version=$(addon_version)
[ -n "$version" ] || { echo "package: no project(Warfield VERSION x.y.z) in CMakeLists.txt" >&2; exit 1; }

missing=0
while IFS=$'\t' read -r _ src; do
  [ -f "$src" ] || { echo "package: missing $src" >&2; missing=1; }
done < <(addon_files)
[ "$missing" -eq 0 ] || { echo "package: build the missing files first (or pass --build)" >&2; exit 1; }

zip=dist/warfield-$version.zip
part=dist/.warfield-$version.zip.part
stage=$(mktemp -d)
trap 'rm -rf "$stage" "$part"' EXIT
while IFS=$'\t' read -r dest src; do
  mkdir -p "$stage/$(dirname "$dest")"
  cp "$src" "$stage/$dest"
done < <(addon_files)

# Same inputs, same zip: fixed times and modes, entries in sorted order (which
# also puts the root LICENSE first, before addons/).
stamp=$(git log -1 --format=%ct 2>/dev/null || date +%s)
find "$stage" -type f -exec chmod 644 {} + -exec touch -d "@$stamp" {} +
# Written aside and moved into place only once checked, so that a failed run
# leaves no zip that looks finished.
mkdir -p dist
rm -f "$zip" "$part"
(cd "$stage" && find . -type f | sed 's#^\./##' | LC_ALL=C sort | TZ=UTC zip -X -D -q -@ "$OLDPWD/$part")
scripts/check-package.sh "$part"
mv "$part" "$zip"
echo "package: $zip"
