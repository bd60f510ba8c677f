#!/usr/bin/env bash
# Builds the release extension into project/bin.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

jobs=$(nproc)
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DWARFIELD_TESTS=OFF
cmake --build build/release -j "$jobs"
