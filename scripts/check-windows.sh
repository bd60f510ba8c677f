#!/usr/bin/env bash
# Builds the Windows DLLs (unless --no-build) and checks them with objdump:
# a 64-bit PE whose export table holds warfield_init alone and whose imports
# are all system DLLs, so that Godot can load the file copied on its own.
# Then, under Wine, loads each with an empty interface, and runs the boundary
# and robustness suites built as Windows programs (build/windows-test). The
# last line is `windows: N passed, M failed`: N counts the suites' passing
# tests, M their failing ones plus every failed check, build or crash.
#   scripts/check-windows.sh [--no-build]   (--no-build: use what is built)
set -euo pipefail
cd "$(dirname "$0")/.."
build=1
[ "${1:-}" = "--no-build" ] && build=0
[ $build -eq 0 ] || scripts/build-windows.sh

objdump=x86_64-w64-mingw32-objdump
command -v "$objdump" >/dev/null || objdump=objdump

# DLLs every Windows 10+ system has. The C++ runtime (libstdc++, libgcc,
# winpthread) must not appear: it is linked statically.
system_dll='^(kernel32|user32|advapi32|ntdll|msvcrt|ucrtbase|bcrypt|ws2_32|api-ms-win-[a-z0-9-]+)\.dll$'

status=0
passed=0
failed=0
fail() { echo "FAIL $1"; status=1; failed=$((failed + 1)); }

for kind in template_release template_debug; do
  dll=project/bin/libWarfield.windows.$kind.x86_64.dll
  if [ ! -f "$dll" ]; then
    fail "$dll: missing"
    continue
  fi
  dump=$("$objdump" -p "$dll")

  grep -q 'file format pei-x86-64' <<<"$dump" || fail "$dll: not a 64-bit PE file"

  # Names listed after "[Ordinal/Name Pointer] Table", up to the blank line.
  exports=$(awk '/^\[Ordinal\/Name Pointer\] Table/ {on=1; next}
                 on && NF == 0 {on=0}
                 on {print $NF}' <<<"$dump")
  if [ "$exports" != "warfield_init" ]; then
    fail "$dll: exports $(wc -l <<<"$exports") names [$(head -n 8 <<<"$exports" | tr '\n' ' ')...], want warfield_init alone"
  fi

  imports=$(awk '/DLL Name:/ {print $3}' <<<"$dump")
  [ -n "$imports" ] || fail "$dll: no import table"
  while read -r name; do
    [ -z "$name" ] && continue
    if ! tr '[:upper:]' '[:lower:]' <<<"$name" | grep -Eq "$system_dll"; then
      fail "$dll: imports $name, which is not a system DLL"
    fi
  done <<<"$imports"

  [ $status -eq 0 ] && echo "ok   $dll ($(stat -c %s "$dll") bytes): exports warfield_init; imports $(tr '\n' ' ' <<<"$imports")"
done

# Under Wine, Windows' own loader must map each DLL, find warfield_init and
# run it: with no engine interface to work with, it has to refuse (return
# false) without crashing.
# Wine runs headless and quiet, in a prefix of its own; no Mono or Gecko.
export WINEPREFIX="$PWD/build/windows-check/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if ! command -v wine >/dev/null; then
  fail "wine is not installed (scripts/install-deps.sh): nothing ran under Windows"
elif [ $status -eq 0 ]; then
  work=build/windows-check
  mkdir -p "$work"
  cat >"$work/load_check.cpp" <<'CPP'
#include <windows.h>

#include <cstdint>
#include <cstdio>

using Proc = void (*)();
struct Initialization {
    int minimum_level;
    void* userdata;
    void* initialize;
    void* deinitialize;
};
using Entry = uint8_t (*)(Proc (*)(const char*), void*, Initialization*);

static int lookups = 0;
static Proc no_such_function(const char*) {
    ++lookups;
    return nullptr;
}

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    HMODULE dll = LoadLibraryA(argv[1]);
    if (!dll) {
        std::printf("LoadLibrary failed: error %lu\n", GetLastError());
        return 1;
    }
    auto entry = reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(dll, "warfield_init")));
    if (!entry) {
        std::printf("warfield_init not found\n");
        return 1;
    }
    Initialization init{-1, nullptr, nullptr, nullptr};
    const uint8_t accepted = entry(no_such_function, nullptr, &init);
    std::printf("warfield_init returned %d after %d lookups\n", accepted, lookups);
    FreeLibrary(dll);
    return accepted == 0 && lookups > 0 ? 0 : 1;
}
CPP
  x86_64-w64-mingw32-g++ -std=c++20 -Wall -Wextra -Werror -O1 -static -o "$work/load_check.exe" "$work/load_check.cpp"
  for kind in template_release template_debug; do
    dll=project/bin/libWarfield.windows.$kind.x86_64.dll
    if out=$(timeout 120 wine "$work/load_check.exe" "$(winepath -w "$dll" 2>/dev/null)" 2>/dev/null); then
      echo "ok   $dll under Wine: $out"
    else
      fail "$dll under Wine: ${out:-no output}"
    fi
  done
fi

# The stand-in host and the suites as Windows programs. The boundary suite
# runs against each shipped DLL; the robustness suites against the test
# build's own, made by the same toolchain in release mode. GoogleTest needs
# the posix thread flavour of MinGW-w64.
tests=build/windows-test
if [ $build -eq 1 ]; then
  mkdir -p "$tests"
  if ! { cmake -S . -B "$tests" -G Ninja --toolchain cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
           -DWARFIELD_TESTS=ON -DWARFIELD_WERROR=ON -DWARFIELD_MINGW_THREADS=posix &&
         cmake --build "$tests" -j "${JOBS:-$(nproc)}"; } >"$tests/build.log" 2>&1; then
    tail -n 30 "$tests/build.log"
    fail "the Windows test build (log: $tests/build.log)"
    tests=""
  fi
fi

# One suite under Wine; its test cases join the counts.
run_suite() {  # label exe [VAR=value...]
  local label=$1 exe=$tests/$2 log=$tests/$1.log rc=0 ok bad
  shift 2
  if [ -z "$tests" ] || [ ! -f "$exe" ]; then
    fail "$label: not built"
    return
  fi
  env "$@" timeout 600 wine "$exe" --gtest_color=no >"$log" 2>&1 || rc=$?
  sed -i 's/\r$//' "$log"
  ok=$(grep -c '^\[       OK \]' "$log" || true)
  bad=$(grep -cE '^\[  FAILED  \] .*\([0-9]+ ms\)$' "$log" || true)
  grep -E '^\[  FAILED  \] .*\([0-9]+ ms\)$' "$log" | sed "s/^\[  FAILED  \] /FAIL $label: /" || true
  passed=$((passed + ok))
  failed=$((failed + bad))
  if [ "$bad" -eq 0 ] && { [ "$rc" -ne 0 ] || [ "$ok" -eq 0 ]; }; then
    tail -n 5 "$log"
    fail "$label: exit status $rc after $ok passing tests (crash, hang or nothing run; log: $log)"
  elif [ "$bad" -eq 0 ]; then
    echo "ok   $label under Wine: $ok tests passed"
  else
    status=1
  fi
}

if command -v wine >/dev/null && [ -n "$tests" ]; then
  for kind in template_release template_debug; do
    run_suite "boundary-$kind" tests/boundary/boundary_tests.exe \
      WARFIELD_LIBRARY="project/bin/libWarfield.windows.$kind.x86_64.dll"
  done
  run_suite robustness tests/robustness/robustness_tests.exe
  run_suite robustness-dynamic-call tests/robustness/robustness_dynamic_call_tests.exe
fi

[ $status -eq 0 ] || echo "Windows library check failed"
echo "windows: $passed passed, $failed failed"
exit $status
