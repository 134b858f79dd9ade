#!/usr/bin/env bash
# Build time and peak memory of qel-cli build on a large generated source: ENTRIES lines of one
# word and a definition of about fifty bytes each (5,000,000 lines are about 320 MB of text). The
# builder reads the source once per pass, so its peak should follow the entries, not the text.
#
# Usage: bench/build-memory.sh [BUILD_DIR] [ENTRIES]
set -euo pipefail
build=${1:-build}
entries=${2:-1000000}
cli="$build/qel-cli"
[ -x "$cli" ] || { echo "build qel-cli first ($cli)" >&2; exit 2; }
[ -x /usr/bin/time ] || { echo "/usr/bin/time (Debian package time) is needed" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Words of 4 to 12 random letters; each definition is nine words of a 50,000-word vocabulary, so
# the full-text index is realistic too. Fixed seed: every run builds the same source.
awk -v n="$entries" 'BEGIN {
  srand(1)
  for (v = 0; v < 50000; v++) {
    w = ""; len = 3 + int(rand() * 8)
    for (k = 0; k < len; k++) w = w sprintf("%c", 97 + int(rand() * 26))
    vocabulary[v] = w
  }
  for (i = 0; i < n; i++) {
    w = ""; len = 4 + int(rand() * 9)
    for (k = 0; k < len; k++) w = w sprintf("%c", 97 + int(rand() * 26))
    d = vocabulary[int(rand() * 50000)]
    for (k = 1; k < 9; k++) d = d " " vocabulary[int(rand() * 50000)]
    print w "|" d "."
  }
}' > "$work/source.txt"

/usr/bin/time -v "$cli" build "$work/source.txt" "$work/out.qcd" > /dev/null 2> "$work/time.txt" || {
  cat "$work/time.txt" >&2
  exit 2
}
source_mb=$(( $(stat -c %s "$work/source.txt") / 1000000 ))
dict_mb=$(( $(stat -c %s "$work/out.qcd") / 1000000 ))
seconds=$(awk -F': ' '/Elapsed \(wall clock\)/ { n = split($2, t, ":"); s = 0; for (i = 1; i <= n; i++) s = s * 60 + t[i]; print s }' "$work/time.txt")
peak_mb=$(awk -F': ' '/Maximum resident set size/ { printf "%d", $2 / 1024 }' "$work/time.txt")
printf 'entries %d  source %d MB  dictionary %d MB  build %.1f s  peak memory %d MB\n' \
  "$entries" "$source_mb" "$dict_mb" "$seconds" "$peak_mb"
