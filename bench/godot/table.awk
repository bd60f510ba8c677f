#!/usr/bin/awk -f
# Turns the RESULT lines of bench/godot/run.sh into Markdown tables: the median
# over rounds of each run's median physics-frame time, and ratios (a peer's time
# divided by the Warfield node's: above 1 means the node is faster). A peer gets
# its columns when the results hold its runs.
function field(name,   i, kv) {
  for (i = 2; i <= NF; i++) { split($i, kv, "="); if (kv[1] == name) return kv[2] }
  return ""
}
function median(key,   n, i, j, t, v) {
  n = split(samples[key], v, " ")
  for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (v[j] + 0 < v[i] + 0) { t = v[i]; v[i] = v[j]; v[j] = t }
  return n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
}
/^RESULT/ {
  impl = field("impl"); count = field("count")
  if (field("query") != "") {
    key = "q|" field("query") "|" count "|" impl
    samples[key] = samples[key] " " field("us")
    queries[field("query") "|" count] = 1
  } else {
    key = "f|" field("kind") "|" count "|" impl
    samples[key] = samples[key] " " field("median")
    if (!((field("kind") "|" count) in rows)) { rows[field("kind") "|" count] = 1; order[++nrows] = field("kind") "|" count }
    impls[impl] = 1
  }
}
END {
  # The peers present, in column order, and baseline last among the ratios.
  np = split("pernode manager leannode leanmanager", known, " ")
  split("per-node|manager|lean per-node|lean manager", label, "|")
  npeers = 0
  for (k = 1; k <= np; k++) if (known[k] in impls) { npeers++; peer[npeers] = known[k]; name[npeers] = label[k] }
  has_base = ("baseline" in impls)
  head = "| kind | projectiles | Warfield ms | " (has_base ? "baseline ms | " : "")
  rule = "|---|---|---|" (has_base ? "---|" : "")
  for (k = 1; k <= npeers; k++) { head = head name[k] " ms | "; rule = rule "---|" }
  head = head "Warfield µs per projectile-frame |"; rule = rule "---|"
  for (k = 1; k <= npeers; k++) { head = head " " name[k] " ÷ Warfield |"; rule = rule "---|" }
  if (has_base) { head = head " baseline ÷ Warfield |"; rule = rule "---|" }
  print head
  print rule
  for (r = 1; r <= nrows; r++) {
    split(order[r], kc, "|")
    w = median("f|" order[r] "|warfield")
    line = sprintf("| %s | %s | %.2f | ", kc[1], kc[2], w)
    if (has_base) { b = median("f|" order[r] "|baseline"); line = line sprintf("%.2f | ", b) }
    for (k = 1; k <= npeers; k++) { t[k] = median("f|" order[r] "|" peer[k]); line = line sprintf("%.2f | ", t[k]) }
    line = line sprintf("%.3f |", w * 1000 / kc[2])
    for (k = 1; k <= npeers; k++) line = line sprintf(" %.2f |", w > 0 ? t[k] / w : 0)
    if (has_base) line = line sprintf(" %.2f |", w > 0 ? b / w : 0)
    print line
  }
  n = 0
  for (q in queries) n++
  if (n > 0) {
    print ""
    print "| query | targets | Warfield µs per call | GDScript µs per call | GDScript ÷ Warfield |"
    print "|---|---|---|---|---|"
    split("line range all metallic", names, " ")
    for (k = 1; k <= 4; k++) {
      for (q in queries) {
        split(q, qc, "|")
        if (qc[1] != names[k]) continue
        w = median("q|" q "|warfield"); g = median("q|" q "|gdscript")
        printf "| %s | %s | %.2f | %.2f | %.2f |\n", qc[1], qc[2], w, g, (w > 0 ? g / w : 0)
      }
    }
  }
}
