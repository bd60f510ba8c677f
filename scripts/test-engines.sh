#!/usr/bin/env bash
# Runs the project's GDScript suites inside real Godot 4.5 export templates,
# every one named in WARFIELD_ENGINES (paths separated by spaces; a .exe runs
# under Wine, with the Windows libraries, in a prefix of its own). For each:
#   - the self test with the library of the template's own build, then with
#     the other build's library under the own build's file name;
#   - in a debug template, the soak (1500 frames; seeds 1 and 2 on Linux,
#     seed 1 under Wine);
#   - the demo scene for 600 frames;
#   - the addon zip installed into a fresh project as the editor installs it,
#     downloaded from the Asset Library and imported from a local file, and
#     once more moved to res://plugins/wf/: a lob shot fired through the
#     helpers must land.
# With WARFIELD_EDITOR naming a Godot 4.5 editor (its wrapper), the editor
# suite: in copies of the project with the debug library, the editor imports
# it (--import), opens it (-e) with a checking plugin that finds the node's
# icon in the scene dock and its class reference in the help, and its doc
# tool (--doctool --gdextension-docs) regenerates doc_classes/Warfield.xml
# from the library, which must describe the same API, in the same file.
# Every run has a time limit and is judged on its whole output
# (scripts/engine-verdict.awk): an engine error, warning, crash or leak report
# that the suite did not announce fails it. A template is told debug from
# release by asking it (OS.is_debug_build()). The last line is
# "engine: N passed, M failed", counting the suites' checks and the runner's.
#   WARFIELD_ENGINES="path/to/godot ..." [WARFIELD_EDITOR=path/to/editor] scripts/test-engines.sh [--lib-dir DIR] [--suites "self soak demo install editor"]
# --lib-dir takes the libraries from DIR instead of project/bin (the runner's
# own test plants a fault that way); --suites runs only those named.
set -euo pipefail
# Paths given relative to where the command was run from.
from=$PWD
absolute() { case $1 in /*) echo "$1" ;; *) echo "$from/$1" ;; esac; }
cd "$(dirname "$0")/.."
. scripts/addon-layout.sh

lib_dir=project/bin
suites="self soak demo install editor"
while [ $# -gt 0 ]; do
  case "$1" in
    --lib-dir) lib_dir=$(absolute "${2:?}"); shift 2 ;;
    --suites) suites=${2:?}; shift 2 ;;
    *) echo "usage: scripts/test-engines.sh [--lib-dir DIR] [--suites \"self soak demo install editor\"]" >&2; exit 2 ;;
  esac
done

read -r -a engines <<<"${WARFIELD_ENGINES:-}"
editor=${WARFIELD_EDITOR:-}
if [ ${#engines[@]} -eq 0 ] && [ -z "$editor" ]; then
  echo "engine: real-engine suites skipped: no engine named (set WARFIELD_ENGINES to Godot 4.5 binaries, separated by spaces)"
  exit 0
fi

root=$PWD
# Logs and projects of each run; WARFIELD_ENGINE_WORK moves them (the
# runner's own test keeps its planted-fault runs apart).
work=${WARFIELD_ENGINE_WORK:-$root/build/engine-runs}
zip=$root/dist/warfield-$(addon_version).zip
# Seconds an engine run may take. The suites need a few; the limit only turns
# a hang into a failure. Wine's first start builds its prefix (about a minute),
# which is done before any suite runs.
limit=${WARFIELD_ENGINE_TIME_LIMIT:-180}
passed=0
failed=0

fail() { echo "FAIL $1"; failed=$((failed + 1)); }
wants() { [[ " $suites " == *" $1 "* ]]; }

# Runs ENGINE headless in project DIR with ARGS, output to LOG; returns its
# exit code (124 on timeout).
run_engine() {  # engine dir log args...
  local engine=$1 dir=$2 log=$3
  shift 3
  local rc=0
  if [[ $engine == *.exe ]]; then
    (cd "$dir" && timeout -k 10 "$limit" wine "$engine" --headless --fixed-fps 60 --path . "$@") >"$log" 2>&1 || rc=$?
  else
    timeout -k 10 "$limit" "$engine" --headless --fixed-fps 60 --path "$dir" "$@" >"$log" 2>&1 || rc=$?
  fi
  return $rc
}

# Judges one run from its exit code RC and its LOG: the suite's own failures
# first, then the runner's verdict on every line.
judge() {  # name log rc
  local name=$1 log=$2 rc=$3 verdict p f
  grep -a '^FAIL' "$log" | head -n 10 | sed "s/^/  $name: /" || true
  verdict=$(awk -v run="$name" -f "$root/scripts/engine-verdict.awk" "$log")
  grep -v '^verdict: ' <<<"$verdict" || true
  p=$(sed -n 's/^verdict: \([0-9]*\) passed, \([0-9]*\) failed$/\1/p' <<<"$verdict")
  f=$(sed -n 's/^verdict: \([0-9]*\) passed, \([0-9]*\) failed$/\2/p' <<<"$verdict")
  passed=$((passed + p))
  failed=$((failed + f))
  case $rc in
    0) passed=$((passed + 1)) ;;
    124 | 137) fail "$name: no end within $limit s (log: ${log#"$root"/})" ;;
    *) fail "$name: exited with code $rc (log: ${log#"$root"/})" ;;
  esac
  [ "$f" -eq 0 ] && [ "$rc" -eq 0 ] && echo "ok   $name: $p checks"
  return 0
}

# Runs one suite and judges it: its exit code, its summary and every line of
# its output.
suite() {  # name engine dir args...
  local name=$1 engine=$2 dir=$3
  shift 3
  local log rc=0
  log=$(dirname "$dir")/${name//[^a-zA-Z0-9]/_}.log
  run_engine "$engine" "$dir" "$log" "$@" || rc=$?
  judge "$name" "$log" "$rc"
}

# A fresh project: project.godot, and the two cache files the editor writes
# when it first opens a project: the extension list (templates load only the
# extensions listed there) and an empty script class list.
fresh_project() {  # dir
  rm -rf "$1"
  mkdir -p "$1/.godot"
  # 2D only, as the demo project: an engine built without 3D physics then
  # has no reason to warn that it falls back to none.
  printf 'config_version=5\n\n[application]\n\nconfig/name="Warfield engine check"\n\n[physics]\n\n3d/physics_engine="Dummy"\n' \
    >"$1/project.godot"
  printf 'list=Array[Dictionary]([])\n' >"$1/.godot/global_script_class_cache.cfg"
}

# What the editor's filesystem scan lists: every descriptor in the project.
list_extensions() {  # dir
  (cd "$1" && find . -name '*.gdextension' -not -path './.godot/*' | LC_ALL=C sort | sed 's#^\./#res://#') \
    >"$1/.godot/extension_list.cfg"
}

# The demo project with one library in bin/, under the name the engine looks
# for.
project_with() {  # dir library name
  rm -rf "$1"
  mkdir -p "$1/bin" "$1/.godot"
  tar -C project --exclude=./bin --exclude=./.godot -cf - . | tar -C "$1" -xf -
  cp project/.godot/extension_list.cfg project/.godot/global_script_class_cache.cfg "$1/.godot/"
  cp "$2" "$1/bin/$3"
}

# Installs a zip into a project as the editor's asset installer does
# (scripts/addon-layout.sh); files already there are conflicts, left as they
# are.
addon_install() {  # zip strip dir
  local entry path
  while IFS=$'\t' read -r entry path; do
    [ -e "$3/$path" ] && continue
    mkdir -p "$3/$(dirname "$path")"
    unzip -p "$1" "$entry" >"$3/$path"
  done < <(editor_install_map "$1" "$2")
}

# Asks the engine which build and platform it is; prints "debug linux" etc.
engine_kind() {  # engine dir
  fresh_project "$2"
  printf 'extends SceneTree\nfunc _initialize() -> void:\n\tprint("engine-build: %%s %%s" %% ["debug" if OS.is_debug_build() else "release", OS.get_name()])\n\tquit()\n' \
    >"$2/kind.gd"
  run_engine "$1" "$2" "$2/kind.log" --script res://kind.gd || true
  tr -d '\r' <"$2/kind.log" | sed -n 's/^engine-build: \(debug\|release\) \(Linux\|Windows\)$/\1 \L\2/p' | head -n 1
}

if [[ " ${engines[*]} " == *.exe\ * ]]; then
  export WINEPREFIX=$work/wine-prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  if ! command -v wine >/dev/null; then
    fail "wine is not installed (scripts/install-deps.sh): the Windows engines cannot run"
  else
    mkdir -p "$WINEPREFIX"
    timeout 300 wineboot --init >/dev/null 2>&1 || fail "Wine could not create its prefix in $WINEPREFIX"
  fi
fi

for engine in "${engines[@]}"; do
  name=$(basename "$engine")
  name=${name%.exe}
  base=$work/$name
  rm -rf "$base"
  mkdir -p "$base"
  engine=$(absolute "$engine")
  if [ ! -x "$engine" ] && [[ $engine != *.exe || ! -f $engine ]]; then
    fail "$name: no engine at $engine"
    continue
  fi
  build="" platform=""
  read -r build platform <<<"$(engine_kind "$engine" "$base/kind")" || true
  if [ -z "$platform" ]; then
    fail "$name: the engine did not say which build it is (log: ${base#"$root"/}/kind/kind.log)"
    continue
  fi
  case $platform in
    linux) ext=so ;;
    windows) ext=dll ;;
  esac
  other=$([ "$build" = debug ] && echo release || echo debug)
  own_file=libWarfield.$platform.template_$build.x86_64.$ext
  echo "engine: $name is a $platform $build build"

  if wants self; then
    for lib in "$build" "$other"; do
      file=libWarfield.$platform.template_$lib.x86_64.$ext
      if [ ! -f "$lib_dir/$file" ]; then
        fail "$name: no $lib_dir/$file to test"
        continue
      fi
      project_with "$base/self-$lib/project" "$lib_dir/$file" "$own_file"
      suite "$name self test, $lib library" "$engine" "$base/self-$lib/project" --script res://tests/self_test.gd \
        -- library="$lib"
    done
  fi

  # The remaining suites run on the template's own library.
  if [ -f "$lib_dir/$own_file" ]; then
    project_with "$base/run/project" "$lib_dir/$own_file" "$own_file"
  elif wants soak || wants demo; then
    fail "$name: no $lib_dir/$own_file to test"
  fi
  if wants soak && [ "$build" = debug ] && [ -f "$lib_dir/$own_file" ]; then
    seeds="1 2"
    [ "$platform" = windows ] && seeds=1
    for seed in $seeds; do
      suite "$name soak, seed $seed" "$engine" "$base/run/project" --script res://tests/soak.gd -- frames=1500 seed="$seed"
    done
  fi
  if wants demo && [ -f "$lib_dir/$own_file" ]; then
    suite "$name demo, 600 frames" "$engine" "$base/run/project" --script res://tests/demo_run.gd -- frames=600
  fi

  if wants install; then
    if [ ! -f "$zip" ]; then
      fail "$name: no addon zip ${zip#"$root"/} to install (scripts/package.sh)"
    else
      for flow in asset-library local-file moved; do
        game=$base/install-$flow/game
        fresh_project "$game"
        # The Asset Library's download strips a single top-level folder; a
        # local file is installed as it is. The moved one is the download,
        # moved whole to another folder.
        strip=1
        [ "$flow" != local-file ] || strip=0
        addon_install "$zip" "$strip" "$game"
        addon=res://addons/warfield
        if [ "$flow" = moved ]; then
          mkdir -p "$game/plugins"
          mv "$game/addons/warfield" "$game/plugins/wf"
          addon=res://plugins/wf
        fi
        list_extensions "$game"
        mkdir -p "$game/tests" "$game/support"
        cp project/tests/install_check.gd "$game/tests/"
        cp project/support/tally.gd project/support/projectile_layout.gd "$game/support/"
        suite "$name addon zip, $flow" "$engine" "$game" --script res://tests/install_check.gd -- addon="$addon"
      done
    fi
  fi
done

# ---- The editor ----

# What the editor prints about its own build (no fontconfig, locales its text
# server lacks, no 3D physics or occlusion culling), whatever the project:
# not the project's.
editor_noise='^(ERROR: Godot was compiled without fontconfig|WARNING: Some locales are not properly supported|WARNING: Falling back to dummy PhysicsServer3D|WARNING: Occlusion culling is disabled at build-time)'

# Runs the editor in project DIR with ARGS and judges its output as suite()
# does, less the editor's own lines. A run without checks of its own (an
# import, the doc tool) has no summary line; CHECKS=0 says so.
editor_suite() {  # name dir checks args...
  local name=$1 dir=$2 checks=$3
  shift 3
  local log rc=0
  log=$(dirname "$dir")/${name//[^a-zA-Z0-9]/_}.log
  (cd "$dir" && timeout -k 10 "$limit" "$editor" --headless --path . "$@") >"$log.raw" 2>&1 || rc=$?
  tr -d '\r' <"$log.raw" | sed 's/\x1b\[[0-9;]*m//g' | grep -Ev "$editor_noise" >"$log" || true
  [ "$checks" = 1 ] || echo "0 passed, 0 failed" >>"$log"
  judge "$name" "$log" "$rc"
}

# The API lines of a class reference: the class, methods with their returns
# and parameters, members and constants, without their descriptions.
api_lines() {  # xml
  grep -E '^[[:space:]]*<(class|method|return|param|member|constant) ' "$1" | sed 's/^[[:space:]]*//'
}

if [ -n "$editor" ] && wants editor; then
  editor=$(absolute "$editor")
  debug_lib=libWarfield.linux.template_debug.x86_64.so
  base=$work/editor
  rm -rf "$base"
  if [ ! -x "$editor" ]; then
    fail "editor: no editor at $editor"
  elif [ ! -f "$lib_dir/$debug_lib" ]; then
    fail "editor: no $lib_dir/$debug_lib to test"
  else
    echo "engine: the editor is $editor"
    # Import, then open it with the checking plugin enabled.
    project_with "$base/open/project" "$lib_dir/$debug_lib" "$debug_lib"
    plugin=$base/open/project/addons/warfield_editor_check
    mkdir -p "$plugin"
    cp project/tests/editor/plugin.cfg project/tests/editor/editor_check.gd "$plugin/"
    printf '\n[editor_plugins]\n\nenabled=PackedStringArray("res://addons/warfield_editor_check/plugin.cfg")\n' \
      >>"$base/open/project/project.godot"
    editor_suite "editor import" "$base/open/project" 0 --import
    editor_suite "editor open" "$base/open/project" 1 -e -- reference="$root/doc_classes/Warfield.xml"

    # The doc tool merges the descriptions of what it finds in its output
    # folder into what the library registers, and writes it back.
    project_with "$base/doctool/project" "$lib_dir/$debug_lib" "$debug_lib"
    out=$base/doctool/out
    mkdir -p "$out/doc_classes"
    cp doc_classes/Warfield.xml "$out/doc_classes/"
    editor_suite "editor doc tool" "$base/doctool/project" 0 --doctool "$out" --gdextension-docs
    generated=$out/doc_classes/Warfield.xml
    if [ ! -f "$generated" ]; then
      fail "editor doc tool: wrote no doc_classes/Warfield.xml"
    elif ! diff <(api_lines doc_classes/Warfield.xml) <(api_lines "$generated") >"$base/doctool/api.diff"; then
      fail "editor doc tool: the library's API differs from doc_classes/Warfield.xml (${base#"$root"/}/doctool/api.diff):"
      head -n 20 "$base/doctool/api.diff" | sed 's/^/  /'
    elif ! cmp -s doc_classes/Warfield.xml "$generated"; then
      fail "editor doc tool: same API, but doc_classes/Warfield.xml is not as the doc tool writes it (diff it with ${generated#"$root"/})"
    else
      passed=$((passed + 2))
      echo "ok   editor doc tool: doc_classes/Warfield.xml describes the library's API as the doc tool writes it"
    fi
  fi
fi

echo "engine: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
