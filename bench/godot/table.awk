#!/usr/bin/awk -f
# Turns the RESULT lines of bench/godot/run.sh into Markdown tables: the median
# over rounds of each run's median physics-frame time, and ratios (a peer's time
# divided by the Warfield node's: above 1 means the node is faster).
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
  has_base = ("baseline" in impls)
  printf "| kind | projectiles | Warfield ms | %sper-node ms | manager ms | Warfield µs per projectile-frame | per-node ÷ Warfield | manager ÷ Warfield |%s\n", \
    has_base ? "baseline ms | " : "", has_base ? " baseline ÷ Warfield |" : ""
  printf "|---|---|---|%s---|---|---|---|---|%s\n", has_base ? "---|" : "", has_base ? "---|" : ""
  for (r = 1; r <= nrows; r++) {
    split(order[r], kc, "|")
    w = median("f|" order[r] "|warfield"); p = median("f|" order[r] "|pernode"); m = median("f|" order[r] "|manager")
    line = sprintf("| %s | %s | %.2f | ", kc[1], kc[2], w)
    if (has_base) { b = median("f|" order[r] "|baseline"); line = line sprintf("%.2f | ", b) }
    line = line sprintf("%.2f | %.2f | %.3f | %.2f | %.2f |", p, m, w * 1000 / kc[2], w > 0 ? p / w : 0, w > 0 ? m / w : 0)
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
