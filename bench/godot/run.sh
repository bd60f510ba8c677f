#!/usr/bin/env bash
# Real-engine benchmark: the Warfield node against GDScript peers doing the
# same flight on the same scene, and its queries against a GDScript scan. The
# peers: pernode (a script on every projectile) and manager (one node looping
# over arrays), each written once for every kind, and leannode and leanmanager,
# the same two written for one kind each (project/bench/lean/).
#
#   bench/godot/run.sh GODOT [--rounds N] [--counts "1000 10000"] [--kinds "..."]
#                      [--frames F] [--baseline LIB] [--no-queries]
#
# GODOT is any Godot 4.5 binary (an export template or an editor build) run
# headless; it loads the project's library for its own template (release or
# debug), so build that first. --baseline LIB adds the implementation
# "baseline": the same runs with LIB in place of the project's library (for
# comparing two builds of the library in one interleaved series).
#
# Every run is its own engine process; within a round the implementations
# alternate run by run. The table gives the median over the rounds of each
# run's median physics-frame time (the median resists the stalls a shared
# machine puts into single frames; the RESULT lines also carry the mean).
set -euo pipefail
cd "$(dirname "$0")/../.."

godot=${1:?usage: bench/godot/run.sh GODOT [options]}
shift
rounds=3
counts="1000 10000"
kinds="straight lob arc tracking catapult mixed"
frames=240
baseline=""
queries=1
while [ $# -gt 0 ]; do
  case "$1" in
    --rounds) rounds=$2; shift 2 ;;
    --counts) counts=$2; shift 2 ;;
    --kinds) kinds=$2; shift 2 ;;
    --frames) frames=$2; shift 2 ;;
    --baseline) baseline=$2; shift 2 ;;
    --no-queries) queries=0; shift ;;
    *) echo "unknown option $1" >&2; exit 2 ;;
  esac
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Each library gets its own copy of the project, so the engine's cache and the
# library it loads never mix between implementations.
copy_project() {
  mkdir -p "$work/$1"
  cp -r project/. "$work/$1/"
}
copy_project current
impls="warfield"
if [ -n "$baseline" ]; then
  copy_project baseline
  for lib in "$work"/baseline/bin/libWarfield.linux.*.so; do cp "$baseline" "$lib"; done
  impls="$impls baseline"
fi
impls="$impls pernode manager leannode leanmanager"
# The first start of a copy writes its .godot cache; keep that out of the runs.
for dir in "$work"/current "$work"/baseline; do
  [ -d "$dir" ] && "$godot" --headless --path "$dir" --quit >/dev/null 2>&1 || true
done

results="$work/results.txt"
: > "$results"
run_frame() {  # impl kind count
  local dir=current impl=$1
  [ "$impl" = baseline ] && { dir=baseline; impl=warfield; }
  local line
  line=$("$godot" --headless --fixed-fps 60 --path "$work/$dir" --script res://bench/frame_bench.gd \
           -- "impl=$impl" "kind=$2" "count=$3" "frames=$frames" 2>&1 | grep '^RESULT' || true)
  if [ -z "$line" ]; then
    echo "run failed: $1 $2 $3" >&2
    return
  fi
  echo "$line" | sed "s/impl=warfield/impl=$1/" >> "$results"
  echo "  $1 $2 $3: $(echo "$line" | sed 's/.* ms=\([^ ]*\).*flying=\(.*\)/\1 ms, \2 flying/')" >&2
}
run_query() {  # impl
  "$godot" --headless --path "$work/current" --script res://bench/query_bench.gd -- "impl=$1" 2>&1 \
    | grep '^RESULT' >> "$results" || echo "query run failed: $1" >&2
}

for round in $(seq "$rounds"); do
  echo "round $round of $rounds" >&2
  for count in $counts; do
    for kind in $kinds; do
      # Rotate the order each round so no implementation always runs first.
      set -- $impls
      for _ in $(seq $(( (round - 1) % $# ))); do set -- "${@:2}" "$1"; done
      for impl in "$@"; do run_frame "$impl" "$kind" "$count"; done
    done
  done
  if [ "$queries" = 1 ]; then
    run_query warfield
    run_query gdscript
  fi
done

"$(dirname "$0")/table.awk" "$results" 2>/dev/null || awk -f bench/godot/table.awk "$results"
