#!/usr/bin/env bash
# Builds everything and runs every test: once as built, once under
# AddressSanitizer and UndefinedBehaviorSanitizer, with a minute of each fuzzer
# between the two so that the last lines are the test summary.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

jobs=$(nproc)
# The Windows DLLs: cross-built, exports and imports checked, loaded under Wine.
scripts/check-windows.sh
# The universal macOS libraries: cross-built with Zig, architectures, exports
# and linked libraries checked (they cannot run here).
scripts/build-macos.sh
# The addon zip from all six libraries (--build also makes the Linux shipping
# ones; Windows and macOS are up to date by now), its contents checked.
scripts/package.sh --build
# The GDScript suites inside the real engines named in WARFIELD_ENGINES (the
# self test, soak, demo and the installed addon zip), then the runner's own
# test: a library with a planted fault must fail them. Without engines, one
# line says they were skipped.
scripts/test-engines.sh
scripts/test-engine-runner.sh
# The benchmarks are built here so that CI keeps them compiling; they are run
# by hand (docs/performance.md).
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DWARFIELD_TESTS=ON -DWARFIELD_BENCH=ON \
  -DWARFIELD_WERROR=ON
cmake --build build/test -j "$jobs"
ctest --test-dir build/test --output-on-failure -j "$jobs"

# A minute for each fuzzer (clang, libFuzzer): the core, and the library
# through the stand-in engine.
JOBS=$jobs scripts/fuzz.sh 60

# The same suite again, sanitized. g++ links the sanitizer runtimes as shared
# libraries, so the sanitized extension library the stand-in host loads needs
# no runtime of its own; it is kept in build/sanitize/bin.
CXX=g++ cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DWARFIELD_TESTS=ON -DWARFIELD_SANITIZE=address,undefined -DWARFIELD_WERROR=ON
cmake --build build/sanitize -j "$jobs"
ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1 \
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ctest --test-dir build/sanitize --output-on-failure -j "$jobs"
