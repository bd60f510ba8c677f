#!/usr/bin/env bash
# Cross-builds the 64-bit Windows extension with MinGW-w64 into project/bin:
#   libWarfield.windows.template_release.x86_64.dll
#   libWarfield.windows.template_debug.x86_64.dll
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

jobs=$(nproc)
for preset in windows-release windows-debug; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done
