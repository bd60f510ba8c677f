# Judges one engine run from its whole output (scripts/test-engines.sh).
#   awk -v run="name" -f scripts/engine-verdict.awk LOG
# The suite's own summary gives its checks: "N passed, M failed", or the
# soak's "soak: F frames, N checks, M failures" (each failure counted once).
# Then every line the engine prints about trouble (errors, warnings, script
# errors, crashes, leaks at exit) is a failure, unless the suite announced it
# first with a line "engine-expects: <the exact line>"; each announced line
# must then appear, and counts as a passed check.
# Prints "FAIL <run>: ..." per failure, then "verdict: P passed, F failed".

function trouble(line) {
  return line ~ /^(USER |SCRIPT |SHADER )*(ERROR|WARNING)[: ]/ ||
         line ~ /handle_crash|Program crashed|CrashHandlerException|Segmentation fault|core dumped|^Aborted/ ||
         line ~ /leaked at exit|still in use at exit|Leaked instance|Orphan StringName|unclaimed string names|ObjectDB instances leaked/
}

function fail(what) {
  failed++
  if (shown++ < 20) print "FAIL " run ": " what
}

{
  sub(/\r$/, "")
  gsub(/\033\[[0-9;]*m/, "")
}

/^engine-expects: / {
  expected[substr($0, 17)]++
  next
}

/^[0-9]+ passed, [0-9]+ failed$/ {
  passed += $1
  if ($3 > 0) fail("the suite failed " $3 " of its checks (its FAIL lines are above)")
  summaries++
  next
}

/^soak: [0-9]+ frames, [0-9]+ checks, [0-9]+ failures$/ {
  passed += $4 - $6
  if ($6 > 0) fail("the soak failed " $6 " of its checks")
  summaries++
  next
}

# Judged at the end: an engine prints errors on stderr and scripts on stdout,
# so an announcement may reach the log after the line it announces.
trouble($0) {
  troubles[++n_troubles] = $0
}

END {
  for (i = 1; i <= n_troubles; i++) {
    if (expected[troubles[i]] > 0) {
      expected[troubles[i]]--
      passed++
    } else {
      fail("the engine printed: " troubles[i])
    }
  }
  if (summaries != 1) fail(summaries == 0 ? "no summary line: the suite did not finish" : "more than one summary line")
  for (line in expected)
    for (i = 0; i < expected[line]; i++) fail("announced but never printed: " line)
  print "verdict: " passed + 0 " passed, " failed + 0 " failed"
}
