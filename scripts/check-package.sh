#!/usr/bin/env bash
# Checks an addon zip (default: the one scripts/package.sh makes for this
# version): it holds exactly the files of scripts/addon-layout.sh, each equal
# to its source in the repository, and a descriptor whose every library path
# names a library inside the zip.
#   scripts/check-package.sh [zip]
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/addon-layout.sh

zip=${1:-dist/warfield-$(addon_version).zip}
[ -f "$zip" ] || { echo "FAIL $zip: missing (run scripts/package.sh)"; exit 1; }
status=0
fail() { echo "FAIL $zip: $1"; status=1; }

unzip -tqq "$zip" >/dev/null || fail "damaged archive"

want=$( { addon_files | cut -f1; echo "$ADDON_DESCRIPTOR"; } | LC_ALL=C sort)
got=$(unzip -Z1 "$zip" | LC_ALL=C sort)
[ "$want" = "$got" ] || fail "entries differ from the layout:
$(diff <(echo "$want") <(echo "$got") | grep '^[<>]' | sed 's/^</  missing/; s/^>/  extra  /')"

while IFS=$'\t' read -r dest src; do
  if [ -f "$src" ] && grep -qxF "$dest" <<<"$got"; then
    unzip -p "$zip" "$dest" | cmp -s - "$src" || fail "$dest differs from $src"
  fi
done < <(addon_files)

if grep -qxF "$ADDON_DESCRIPTOR" <<<"$got"; then
  descriptor=$(unzip -p "$zip" "$ADDON_DESCRIPTOR")
  [ "$descriptor" = "$(addon_descriptor)" ] || fail "$ADDON_DESCRIPTOR differs from project/warfield.gdextension with addon paths"
  grep -q '^entry_symbol = "warfield_init"' <<<"$descriptor" || fail "descriptor has no entry_symbol warfield_init"
  # Every library path in the descriptor, and every library in bin/, once.
  paths=$(awk '/^\[/ {section = $0} section == "[libraries]"' <<<"$descriptor" |
    sed -n 's#^[a-z0-9_.]* *= *"res://\(.*\)"$#\1#p' | LC_ALL=C sort)
  libs=$(grep '^addons/warfield/bin/' <<<"$got" || true)
  [ "$paths" = "$libs" ] || fail "descriptor paths do not match the libraries in the zip:
$(diff <(echo "$paths") <(echo "$libs") | grep '^[<>]' | sed 's/^</  named, not in zip/; s/^>/  in zip, not named/')"
fi

[ "$status" -eq 0 ] && echo "check-package: $zip holds the $(wc -l <<<"$got") files of the addon"
exit "$status"
