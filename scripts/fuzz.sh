#!/usr/bin/env bash
# Builds the fuzzers and runs them.
#   scripts/fuzz.sh [seconds] [core|binding|all]   (default: 60 all)
# core drives the node's state, frame and queries through a scene host of its
# own; binding drives the real library through the stand-in engine. With all,
# each runs for the given seconds. New inputs go to fuzz/corpus-work and
# build/fuzz/corpus-binding-work (not checked in); a failing input is written
# to build/fuzz/artifacts/ and the script fails.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
which=${2:-all}

CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DWARFIELD_FUZZ=ON -DWARFIELD_TESTS=OFF -DWARFIELD_WERROR=ON >/dev/null

export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
mkdir -p build/fuzz/artifacts
run() {  # target work-dir seed-dir
  cmake --build build/fuzz --target "$1" -j "${JOBS:-2}"
  mkdir -p "$2"
  "build/fuzz/fuzz/$1" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
    -print_final_stats=1 -artifact_prefix=build/fuzz/artifacts/ "$2" "$3"
}
if [ "$which" = core ] || [ "$which" = all ]; then
  run warfield_fuzz fuzz/corpus-work fuzz/corpus
fi
if [ "$which" = binding ] || [ "$which" = all ]; then
  run warfield_binding_fuzz build/fuzz/corpus-binding-work fuzz/corpus-binding
fi
