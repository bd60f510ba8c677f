#!/usr/bin/env bash
# Builds the extension into project/bin (release, and the debug library that
# the Godot editor and debug exports load), then runs the headless lane battle
# against the release library (the real library in the stand-in engine) and
# prints its summary.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

jobs=$(nproc)
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DWARFIELD_TESTS=OFF -DWARFIELD_DEMO=ON \
  -DWARFIELD_WERROR=ON
cmake --build build/release -j "$jobs"
cmake -S . -B build/debug -G Ninja -DCMAKE_BUILD_TYPE=Debug -DWARFIELD_TESTS=OFF -DWARFIELD_DEMO=OFF \
  -DWARFIELD_WERROR=ON
cmake --build build/debug -j "$jobs" --target warfield_extension

build/release/tools/demo/warfield_lane_battle
