#!/usr/bin/env bash
# Checks an addon zip (default: the one scripts/package.sh makes for this
# version):
# - it holds exactly the files of scripts/addon-layout.sh, in sorted order,
#   each equal to its source in the repository;
# - the descriptor's library (and any icon) paths are relative to its folder
#   and name files of the addon, every library in the zip once;
# - both of the editor's install flows (a local zip; an Asset Library
#   download, which strips a single top-level folder) put every addon file at
#   its own path under addons/warfield/;
# - every relative link in every Markdown file names a file of the addon;
# - no library carries the core's invariant checks (test builds only).
#   scripts/check-package.sh [zip]
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/addon-layout.sh

zip=${1:-dist/warfield-$(addon_version).zip}
[ -f "$zip" ] || { echo "FAIL $zip: missing (run scripts/package.sh)"; exit 1; }
status=0
fail() { echo "FAIL $zip: $1"; status=1; }

# A path relative to a folder of the zip, with . and .. resolved, as an entry
# name; fails when it climbs out of the zip.
resolve() {
  local dir=$1 rel=$2 p
  local -a parts out=()
  IFS=/ read -ra parts <<<"$dir/$rel"
  for p in "${parts[@]}"; do
    case $p in
      "" | .) ;;
      ..) [ ${#out[@]} -gt 0 ] || return 1; unset 'out[-1]' ;;
      *) out+=("$p") ;;
    esac
  done
  (IFS=/; echo "${out[*]}")
}

dir_of() { case $1 in */*) echo "${1%/*}" ;; *) echo "" ;; esac; }

unzip -tqq "$zip" >/dev/null || fail "damaged archive"

entries=$(unzip -Z1 "$zip")  # in zip order
got=$(LC_ALL=C sort <<<"$entries")
want=$(addon_files | cut -f1 | LC_ALL=C sort)
[ "$want" = "$got" ] || fail "entries differ from the layout:
$(diff <(echo "$want") <(echo "$got") | grep '^[<>]' | sed 's/^</  missing/; s/^>/  extra  /')"
[ "$entries" = "$got" ] || fail "entries are not in sorted order"
has() { grep -qxF "$1" <<<"$got"; }

while IFS=$'\t' read -r dest src; do
  if [ -f "$src" ] && has "$dest"; then
    unzip -p "$zip" "$dest" | cmp -s - "$src" || fail "$dest differs from $src"
  fi
done < <(addon_files)

# The invariant checks are for test, sanitizer and fuzz builds; a shipped
# library built with them would pay for them every frame.
for f in "${ADDON_LIBS[@]}"; do
  if has "$ADDON_DIR/bin/$f" && unzip -p "$zip" "$ADDON_DIR/bin/$f" | grep -aq 'invariant broken'; then
    fail "$ADDON_DIR/bin/$f was built with the invariant checks (a test build's library)"
  fi
done

if has "$ADDON_DESCRIPTOR"; then
  descriptor=$(unzip -p "$zip" "$ADDON_DESCRIPTOR")
  grep -q '^entry_symbol = "warfield_init"' <<<"$descriptor" || fail "descriptor has no entry_symbol warfield_init"
  # Godot resolves a relative path against the descriptor's folder, which is
  # what lets the addon folder be moved or renamed; a res:// path, or one
  # that climbs out through .., would tie it to one place.
  named=""
  while IFS=$'\t' read -r section path; do
    case /$path/ in
      // | /res://* | //* | *:* | */../*) fail "descriptor [$section] path \"$path\" is not inside its folder"; continue ;;
    esac
    resolved=$(resolve "$(dir_of "$ADDON_DESCRIPTOR")" "$path") && [[ $resolved == "$ADDON_DIR"/* ]] &&
      has "$resolved" || fail "descriptor [$section] path \"$path\" names no file of the addon"
    if [ "$section" = libraries ]; then named+="$resolved"$'\n'; fi
  done < <(awk '/^\[/ {section = substr($0, 2, length($0) - 2); next}
                (section == "libraries" || section == "icons") && match($0, /= *".*"$/) {
                  value = substr($0, RSTART, RLENGTH); sub(/^= *"/, "", value); sub(/"$/, "", value)
                  print section "\t" value }' <<<"$descriptor")
  named=$(printf '%s' "$named" | LC_ALL=C sort)
  libs=$(grep "^$ADDON_DIR/bin/" <<<"$got" || true)
  [ "$named" = "$libs" ] || fail "descriptor libraries do not match the libraries in the zip:
$(diff <(echo "$named") <(echo "$libs") | grep '^[<>]' | sed 's/^</  named, not in zip/; s/^>/  in zip, not named/')"
fi

# Both of the editor's install flows (scripts/addon-layout.sh) must put every
# addon file at its own path.
for flow in "local zip:0" "Asset Library:1"; do
  misplaced=$(editor_install_map "$zip" "${flow#*:}" | awk -F'\t' -v dir="$ADDON_DIR/" \
    'index($1, dir) == 1 && $2 != $1 {print $1 " at res://" $2}')
  [ -z "$misplaced" ] || fail "the editor's ${flow%:*} install puts $(wc -l <<<"$misplaced") addon files elsewhere, such as $(head -1 <<<"$misplaced")"
done

# Relative Markdown links (inline and reference style, outside code) must
# name a file of the addon folder, relative to the file that links: the
# root LICENSE may be left out of an install or be the game's own.
while read -r md; do
  while read -r target; do
    target=${target#<}; target=${target%>}
    target=${target%%#*}
    case $target in
      "") continue ;;                               # a link within the page
      [a-zA-Z]*:*) continue ;;                      # a URL (http:, mailto:, ...)
    esac
    resolved=$(resolve "$(dir_of "$md")" "$target") && [[ $target != /* && $resolved == "$ADDON_DIR"/* ]] &&
      has "$resolved" || fail "$md links to $target, which is no file of the addon"
  done < <(unzip -p "$zip" "$md" | awk '
    /^ *(```|~~~)/ { fenced = !fenced; next }
    fenced { next }
    {
      line = $0
      gsub(/`[^`]*`/, "", line)
      if (match(line, /^ ? ? ?\[[^]]+\]: *[^ ]+/)) {
        ref = substr(line, RSTART, RLENGTH); sub(/^[^]]*\]: */, "", ref); print ref
        next
      }
      while (match(line, /\]\([^)]*\)/)) {
        t = substr(line, RSTART + 2, RLENGTH - 3)
        sub(/^ +/, "", t); sub(/ .*/, "", t)
        print t
        line = substr(line, RSTART + RLENGTH)
      }
    }')
done < <(grep '\.md$' <<<"$got")

[ "$status" -eq 0 ] && echo "check-package: $zip holds the $(wc -l <<<"$got") files of the addon"
exit "$status"
