#!/usr/bin/env bash
# Builds the fuzzer and runs it over the script surface.
#   scripts/fuzz.sh [seconds]   (default 60)
# New inputs go to fuzz/corpus-work (not checked in); a crashing input is
# written to build/fuzz/artifacts/ and the script fails.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DWARFIELD_FUZZ=ON -DWARFIELD_TESTS=OFF >/dev/null
cmake --build build/fuzz --target warfield_fuzz -j "${JOBS:-2}"

mkdir -p fuzz/corpus-work build/fuzz/artifacts
export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
build/fuzz/fuzz/warfield_fuzz -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
  -print_final_stats=1 -artifact_prefix=build/fuzz/artifacts/ fuzz/corpus-work fuzz/corpus
