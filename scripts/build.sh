#!/usr/bin/env bash
# Builds the release extension into project/bin, then runs the headless lane
# battle against it (the real library in the stand-in engine) and prints its
# summary.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

jobs=$(nproc)
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DWARFIELD_TESTS=OFF -DWARFIELD_DEMO=ON
cmake --build build/release -j "$jobs"

build/release/tools/demo/warfield_lane_battle
