#!/usr/bin/env bash
# Builds the Windows DLLs (unless --no-build) and checks them with objdump:
# a 64-bit PE whose export table holds warfield_init alone and whose imports
# are all system DLLs, so that Godot can load the file copied on its own.
set -euo pipefail
cd "$(dirname "$0")/.."
[ "${1:-}" = "--no-build" ] || scripts/build-windows.sh

objdump=x86_64-w64-mingw32-objdump
command -v "$objdump" >/dev/null || objdump=objdump

# DLLs every Windows 10+ system has. The C++ runtime (libstdc++, libgcc,
# winpthread) must not appear: it is linked statically.
system_dll='^(kernel32|user32|advapi32|ntdll|msvcrt|ucrtbase|bcrypt|ws2_32|api-ms-win-[a-z0-9-]+)\.dll$'

status=0
fail() { echo "FAIL $1"; status=1; }

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

[ $status -eq 0 ] || echo "Windows library check failed"
exit $status
