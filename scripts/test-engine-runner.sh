#!/usr/bin/env bash
# Tests the real-engine runner itself (scripts/test-engines.sh):
#   1. its judge of an engine's output (scripts/engine-verdict.awk) on made-up
#      logs: what must pass and what must fail;
#   2. with a Linux engine in WARFIELD_ENGINES, a library with a planted
#      behaviour fault (sprites no longer spin) must fail the suites,
#      and the check that catches it must say so.
# The last line is "engine runner: N passed, M failed".
#   scripts/test-engine-runner.sh
set -euo pipefail
cd "$(dirname "$0")/.."

passed=0
failed=0
check() {  # what, then the command that must succeed
  local what=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL engine runner: $what"
  fi
}

# The verdict's last line for a log given on stdin.
verdict() { awk -v run=test -f scripts/engine-verdict.awk | tail -n 1; }
judged() {  # want, log text
  [ "$(printf '%s\n' "$2" | verdict)" = "verdict: $1" ]
}

check "a clean run passes with its own checks" \
  judged "12 passed, 0 failed" $'Godot Engine v4.5\n12 passed, 0 failed'
check "a soak summary counts its checks" \
  judged "40 passed, 0 failed" 'soak: 10 frames, 40 checks, 0 failures'
check "failed checks fail" \
  judged "9 passed, 1 failed" $'FAIL [x] y\n9 passed, 3 failed'
check "an unannounced engine error fails" \
  judged "1 passed, 1 failed" $'ERROR: Condition "p_node" is true.\n   at: add_child (scene/main/node.cpp:1)\n1 passed, 0 failed'
check "an unannounced warning or script error fails" \
  judged "1 passed, 2 failed" $'WARNING: something\nSCRIPT ERROR: Invalid call.\n1 passed, 0 failed'
check "an announced error passes as a check, whatever the order of stdout and stderr" \
  judged "3 passed, 0 failed" $'ERROR: Shot has no field x\nengine-expects: ERROR: Shot has no field x\nengine-expects: ERROR: Shot has no field y\nERROR: Shot has no field y\n1 passed, 0 failed'
check "an error announced once is excused once" \
  judged "2 passed, 1 failed" $'engine-expects: ERROR: e\nERROR: e\nERROR: e\n1 passed, 0 failed'
check "an announced error that never comes fails" \
  judged "1 passed, 1 failed" $'engine-expects: ERROR: e\n1 passed, 0 failed'
check "a crash fails" \
  judged "0 passed, 2 failed" $'handle_crash: Program crashed with signal 11'
check "a leak report at exit fails" \
  judged "1 passed, 2 failed" $'1 passed, 0 failed\nWARNING: ObjectDB instances leaked at exit (run with --verbose for details).\nERROR: 2 resources still in use at exit.'
check "a run without a summary fails" \
  judged "0 passed, 1 failed" 'Godot Engine v4.5'
check "Windows line ends and colours are read through" \
  judged "1 passed, 1 failed" $'\033[1;31mERROR:\033[0;91m boom\033[0m\r\n1 passed, 0 failed\r'

# The editor's install rule as the suites emulate it: a zip with one
# top-level folder loses it when downloaded from the Asset Library, and keeps
# it from a local file; the addon's zip (a LICENSE beside addons/) keeps it
# either way.
. scripts/addon-layout.sh
zips=$(mktemp -d)
trap 'rm -rf "$zips"' EXIT
mkdir -p "$zips/one/addons/warfield" "$zips/two/addons/warfield"
touch "$zips/one/addons/warfield/shot.gd" "$zips/two/addons/warfield/shot.gd" "$zips/two/LICENSE"
(cd "$zips/one" && zip -q -r ../one.zip addons)
(cd "$zips/two" && zip -q -r ../two.zip LICENSE addons)
check "a single top-level folder is stripped from an Asset Library download" \
  [ "$(editor_install_map "$zips/one.zip" 1 | cut -f2)" = "warfield/shot.gd" ]
check "and kept from a local file" \
  [ "$(editor_install_map "$zips/one.zip" 0 | cut -f2)" = "addons/warfield/shot.gd" ]
check "a file beside the folder keeps it in a download" \
  [ "$(editor_install_map "$zips/two.zip" 1 | cut -f2 | tr '\n' ' ')" = "LICENSE addons/warfield/shot.gd " ]

# A stand-in engine that says it is a Linux debug build, then hangs or
# crashes in every suite: the runner must stop it and fail the run.
cat >"$zips/engine" <<'SH'
#!/bin/sh
case "$*" in *res://kind.gd*) echo "engine-build: debug Linux"; exit 0 ;; esac
[ "$FAKE_ENGINE" = crash ] && kill -SEGV $$
exec sleep 60
SH
chmod +x "$zips/engine"
mkdir -p "$zips/lib"
touch "$zips/lib/libWarfield.linux.template_debug.x86_64.so"
for how in hang crash; do
  out=$(FAKE_ENGINE=$how WARFIELD_ENGINES=$zips/engine WARFIELD_ENGINE_WORK=$zips/runs WARFIELD_ENGINE_TIME_LIMIT=2 \
    scripts/test-engines.sh --lib-dir "$zips/lib" --suites demo 2>&1) && rc=0 || rc=$?
  want=$([ $how = hang ] && echo "no end within 2 s" || echo "exited with code 139")
  check "an engine that ${how}s fails the run ($want)" \
    bash -c '[ "$1" -ne 0 ] && grep -q "$2" <<<"$3"' _ "$rc" "$want" "$out"
done

# A planted fault: a copy of the sources with one change, built into a debug
# library that stands in for both builds.
engine=""
for e in ${WARFIELD_ENGINES:-}; do
  if [[ $e != *.exe ]]; then
    engine=$e
    break
  fi
done
if [ -z "$engine" ]; then
  echo "engine runner: the planted-fault run skipped: no Linux engine in WARFIELD_ENGINES"
else
  tree=$PWD/build/planted-fault
  rm -rf "$tree"
  mkdir -p "$tree/project/bin" "$tree/lib"
  cp -r CMakeLists.txt cmake src doc_classes tools tests bench fuzz "$tree/"
  fault=src/simulation/step_ops.cpp
  sed -i 's/get_rotation(sprite) + turn)/get_rotation(sprite))/' "$tree/$fault"
  check "the fault is planted in $fault" bash -c "! cmp -s $fault $tree/$fault"
  cmake -S "$tree" -B "$tree/build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DWARFIELD_DEMO=OFF >/dev/null
  cmake --build "$tree/build" --target warfield_extension -j "$(nproc)" >/dev/null
  for kind in debug release; do
    cp "$tree/project/bin/libWarfield.linux.template_debug.x86_64.so" "$tree/lib/libWarfield.linux.template_$kind.x86_64.so"
  done
  out=$(WARFIELD_ENGINES=$engine WARFIELD_ENGINE_WORK=$tree/runs scripts/test-engines.sh --lib-dir "$tree/lib" --suites "self" 2>&1) && rc=0 || rc=$?
  check "the runner fails a library whose sprites do not spin" [ "$rc" -ne 0 ]
  check "its last line counts the failures" grep -Eq '^engine: [0-9]+ passed, [1-9][0-9]* failed$' <<<"$(tail -n 1 <<<"$out")"
  check "the self test names the check that caught it" grep -q 'FAIL \[kind 7\] its sprite spins' <<<"$out"
  [ $failed -eq 0 ] || echo "$out" | tail -n 20
fi

echo "engine runner: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
