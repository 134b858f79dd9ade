#!/usr/bin/env bash
# Time and peak memory of merging a list of ENTRIES lines (random words, a quarter of them with a
# definition) with a second list of half as many lines, half of which repeat words of the first in
# capitals: once into a source text and once into a dictionary.
#
# Usage: bench/merge-memory.sh [BUILD_DIR] [ENTRIES]
set -euo pipefail
build=${1:-build}
entries=${2:-1000000}
merger="$build/bench/qel-merge-bench"
[ -x "$merger" ] || { echo "configure with -DQEL_BENCH=ON and build qel-merge-bench first" >&2; exit 2; }
[ -x /usr/bin/time ] || { echo "/usr/bin/time (Debian package time) is needed" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Fixed seed: every run merges the same lists.
awk -v n="$entries" -v first="$work/first.txt" -v second="$work/second.txt" 'BEGIN {
  srand(1)
  for (i = 0; i < n; i++) {
    w = ""; len = 4 + int(rand() * 9)
    for (k = 0; k < len; k++) w = w sprintf("%c", 97 + int(rand() * 26))
    if (i % 4 == 0) print w "|a definition of the word " w " in a few words" > first
    else print w > first
    if (i % 4 == 1) print toupper(w) > second
    if (i % 4 == 2) print w "x" > second
  }
}'

for out in merged.txt merged.qcd; do
  /usr/bin/time -v "$merger" "$work/first.txt" "$work/second.txt" "$work/$out" > "$work/report.txt" \
    2> "$work/time.txt" || { cat "$work/time.txt" >&2; exit 2; }
  peak_mb=$(awk '/Maximum resident set size/ { print int($NF / 1024) }' "$work/time.txt")
  elapsed=$(awk -F': ' '/Elapsed \(wall clock\)/ { print $2 }' "$work/time.txt")
  echo "== $entries + $((entries / 2)) lines into $out: $elapsed wall clock, peak ${peak_mb} MB"
  cat "$work/report.txt"
done
